#pragma once

#include <optional>
#include <string>

#include "Component.h"
#include "Form.h"
#include "PlacementText.h"
#include "SettingsIO.h"
#include "Set.h"
#include "Strings.h"

namespace retrove {

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;

// Keeps the owning form's window placement in the registry below
// HKEY_CURRENT_USER: written when the form is closed or destroyed, read back
// when it is shown, before the form's own show handler runs. The form's
// handlers are taken over at Loaded and given back when the store goes.
class TPlacementStore : public TComponent {
public:
  explicit TPlacementStore(TComponent* owner);
  ~TPlacementStore() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool Active() const { return FActive; }
  void SetActive(bool active) { FActive = active; }
  // The key below HKEY_CURRENT_USER; empty: "Software\" + the program's name.
  const std::string& IniFileName() const { return FIniFileName; }
  void SetIniFileName(const std::string& name) { FIniFileName = name; }
  // The section below that key; empty: the form's class name.
  const std::string& IniSection() const { return FIniSection; }
  void SetIniSection(const std::string& section) { FIniSection = section; }
  TPlacementOptions Options() const { return FOptions; }
  void SetOptions(TPlacementOptions options) { FOptions = options; }

  void StoreFormPlacement();
  void LoadFormPlacement();

  void Loaded() override;

  TNotifyEvent OnSavePlacement;
  TNotifyEvent OnRestorePlacement;

protected:
  virtual void WritePlacementData(TSettingsStorage& storage);
  virtual void ReadPlacementData(TSettingsStorage& storage);

  TForm* Form() const;
  std::string Section() const;
  void SetPlacementRestored() { FPlacementRestored = true; }

private:
  std::string KeyPath() const;
  void FormShow(TObject& sender);
  void FormCloseQuery(TObject& sender, bool& canClose);
  void FormDestroy(TObject& sender);
  void WriteWindowPlacement(TSettingsStorage& storage);
  void ReadWindowPlacement(const TSettingsStorage& storage);
  void ReadPosition(const TSettingsStorage& storage, WINDOWPLACEMENT& placement);
  void ReadState(const TSettingsStorage& storage);

  bool FActive = true;
  std::string FIniFileName;
  std::string FIniSection;
  TPlacementOptions FOptions;
  bool FPlacementSaved = false;
  bool FPlacementRestored = false;
  bool FHooked = false;
  // The state read back, kept for a save while the window was never shown.
  std::optional<TWindowState> FRestoredState;
  TNotifyEvent FFormShow;
  TCloseQueryEvent FFormCloseQuery;
  TNotifyEvent FFormDestroy;
};

// A placement store that also keeps listed published properties of the
// form's components ("Component.Property" lines) in the same section.
class TSettingsStore : public TPlacementStore {
public:
  explicit TSettingsStore(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TStringList& StoredProps() { return FStoredProps; }

protected:
  void WritePlacementData(TSettingsStorage& storage) override;
  void ReadPlacementData(TSettingsStorage& storage) override;

private:
  TStringList FStoredProps;
};

}  // namespace retrove
