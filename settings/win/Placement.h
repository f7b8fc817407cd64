#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Component.h"
#include "Form.h"
#include "PlacementText.h"
#include "SettingsIO.h"
#include "Set.h"
#include "SizeLimits.h"
#include "Strings.h"
#include "WndHook.h"

namespace retrove {

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = TSet<TPlacementOption>;

// Keeps the owning form's window placement in the registry below
// HKEY_CURRENT_USER: written when the form is closed or destroyed, read back
// when it is shown, before the form's own show handler runs. The form's
// handlers are taken over at Loaded and given back when the store goes.
// Size limits and PreventResize work through a window hook on the form,
// attached only while either is in use.
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
  TSizeLimits& MinMaxInfo() { return FMinMaxInfo; }
  void SetMinMaxInfo(const TSizeLimits& limits) { FMinMaxInfo.Assign(limits); }
  // The user can neither resize nor maximise the form.
  bool PreventResize() const { return FPreventResize; }
  void SetPreventResize(bool prevent);

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
  void SizeLimitsChanged();
  void UpdateWindowHook();
  void UpdateBorderIcons();
  // Puts the maximised position where the frame just leaves the screen, so
  // that no stored or earlier position carries over.
  void ResetMaximizedPosition();
  void PlacementWindowMessage(TMessage& msg);
  void FixedSizeMessage(TMessage& msg);

  bool FActive = true;
  std::string FIniFileName;
  std::string FIniSection;
  TPlacementOptions FOptions;
  TSizeLimits FMinMaxInfo;
  bool FPreventResize = false;
  bool FHadMaximizeIcon = false;
  std::unique_ptr<TWindowHook> FWinHook;
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

  // "Component.Property" lines; once loaded, each is bound to its
  // component and follows its renaming, and goes when the component does.
  TStringList& StoredProps() { return FStoredProps; }

  void Loaded() override;

protected:
  void Notification(TComponent* component, TOperation operation) override;
  void WritePlacementData(TSettingsStorage& storage) override;
  void ReadPlacementData(TSettingsStorage& storage) override;

private:
  TStringList FStoredProps;
};

}  // namespace retrove
