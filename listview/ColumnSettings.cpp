#include "ColumnSettings.h"

#include "ColumnSettingsText.h"
#include "PropertyTable.h"

namespace retrove {

namespace {

constexpr const char* kSection = "Columns";

}  // namespace

const TClassInfo& TSortLVSaveSettings::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TSortLVSaveSettings>("TSortLVSaveSettings", TPersistent::StaticClassInfo())
          .Boolean("AutoSave", &TSortLVSaveSettings::AutoSave, &TSortLVSaveSettings::SetAutoSave, false)
          .String("RegistryKey", &TSortLVSaveSettings::RegistryKey, &TSortLVSaveSettings::SetRegistryKey)
          .Boolean("SaveColumnSizes", &TSortLVSaveSettings::SaveColumnSizes,
                   &TSortLVSaveSettings::SetSaveColumnSizes, true)
          .Build();
  return info;
}

void TSortLVSaveSettings::WriteColumnSizes(TSettingsStorage& storage, const std::vector<int>& widths) const {
  storage.WriteString(kSection, "Sizes", ColumnListText(widths));
}

std::optional<std::vector<int>> TSortLVSaveSettings::ReadColumnSizes(const TSettingsStorage& storage,
                                                                     std::vector<int> currentWidths) const {
  const std::optional<std::string> text = storage.ReadString(kSection, "Sizes");
  if (!text || text->empty()) return std::nullopt;
  return RepairedColumnWidths(*text, std::move(currentWidths));
}

const TClassInfo& TListViewExSaveSettings::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TListViewExSaveSettings>("TListViewExSaveSettings", TSortLVSaveSettings::StaticClassInfo())
          .Boolean("SaveColumnOrder", &TListViewExSaveSettings::SaveColumnOrder,
                   &TListViewExSaveSettings::SetSaveColumnOrder, true)
          .Build();
  return info;
}

void TListViewExSaveSettings::WriteColumnOrder(TSettingsStorage& storage, const std::vector<int>& order) const {
  storage.WriteString(kSection, "Order", ColumnListText(order));
}

std::vector<int> TListViewExSaveSettings::ReadColumnOrder(const TSettingsStorage& storage, int columnCount) const {
  return RepairedColumnOrder(storage.ReadString(kSection, "Order").value_or(""), columnCount);
}

}  // namespace retrove
