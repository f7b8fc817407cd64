#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Persistent.h"
#include "SettingsIO.h"

namespace retrove {

// What a sorting list view keeps of its columns between runs, and where:
// the widths as "Columns\Sizes" below RegistryKey.
class TSortLVSaveSettings : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool AutoSave() const { return FAutoSave; }
  void SetAutoSave(bool autoSave) { FAutoSave = autoSave; }
  const std::string& RegistryKey() const { return FRegistryKey; }
  void SetRegistryKey(const std::string& key) { FRegistryKey = key; }
  bool SaveColumnSizes() const { return FSaveColumnSizes; }
  void SetSaveColumnSizes(bool save) { FSaveColumnSizes = save; }


  void WriteColumnSizes(TSettingsStorage& storage, const std::vector<int>& widths) const;
  // The current widths with the stored ones put in; nothing when no widths
  // are stored.
  std::optional<std::vector<int>> ReadColumnSizes(const TSettingsStorage& storage,
                                                  std::vector<int> currentWidths) const;

private:
  bool FAutoSave = false;
  std::string FRegistryKey;
  bool FSaveColumnSizes = true;
};

// Adds the order the user dragged the column headers into, as
// "Columns\Order".
class TListViewExSaveSettings : public TSortLVSaveSettings {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool SaveColumnOrder() const { return FSaveColumnOrder; }
  void SetSaveColumnOrder(bool save) { FSaveColumnOrder = save; }


  void WriteColumnOrder(TSettingsStorage& storage, const std::vector<int>& order) const;
  // Always an order of all `columnCount` columns; 0, 1, ... when nothing
  // usable is stored.
  std::vector<int> ReadColumnOrder(const TSettingsStorage& storage, int columnCount) const;

private:
  bool FSaveColumnOrder = true;
};

}  // namespace retrove
