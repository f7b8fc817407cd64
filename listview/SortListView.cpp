#include "SortListView.h"

#include <algorithm>
#include <numeric>

#include "FormatSettings.h"
#include "PropertyTable.h"
#include "RegistrySettings.h"
#include "SortKeys.h"
#include "UserCollation.h"

namespace retrove {

const TClassInfo& TCustomSortListView::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TCustomSortListView>("TCustomSortListView", TCustomListView::StaticClassInfo())
          .Enumeration("AutoColumnSort", &TCustomSortListView::AutoColumnSort, &TCustomSortListView::SetAutoColumnSort,
                       {"acsNoSort", "acsSort", "acsSortToggle"}, acsNoSort)
          .Boolean("AutoSortAscending", &TCustomSortListView::AutoSortAscending,
                   &TCustomSortListView::SetAutoSortAscending, true)
          .Enumeration("Style", &TCustomSortListView::Style, &TCustomSortListView::SetStyle,
                       {"lvStandard", "lvOwnerDrawFixed"}, lvStandard)
          .Build();
  return info;
}

TCustomSortListView::TCustomSortListView(TComponent* owner) : TCustomListView(owner) {}

void TCustomSortListView::SetAutoSortAscending(bool ascending) {
  if (ascending != FAutoSortAscending) FCurrentSortAscending = ascending;
  FAutoSortAscending = ascending;
}

void TCustomSortListView::HandleCreated() {
  TCustomListView::HandleCreated();
  ShowSortArrow();
}

LRESULT TCustomSortListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Also when the window is only being made again.
  if (message == WM_DESTROY) StoreSettings();
  return TCustomListView::WndProc(message, wParam, lParam);
}

void TCustomSortListView::Loaded() {
  TCustomListView::Loaded();
  RestoreSettings();
}

void TCustomSortListView::StoreSettings() {
  if (FSortSaveSettings.AutoSave()) StoreColumnSizes(FSortSaveSettings);
}

void TCustomSortListView::RestoreSettings() {
  if (FSortSaveSettings.AutoSave()) RestoreColumnSizes(FSortSaveSettings);
}

std::vector<int> TCustomSortListView::ColumnWidths() {
  std::vector<int> widths;
  for (int column = 0; column < ColumnCount(); ++column) widths.push_back(ColumnWidth(column));
  return widths;
}

void TCustomSortListView::StoreColumnSizes(const TSortLVSaveSettings& settings) {
  if (!settings.SaveColumnSizes() || ColumnCount() == 0) return;
  TRegistrySettings storage(settings.RegistryKey());
  settings.WriteColumnSizes(storage, ColumnWidths());
}

void TCustomSortListView::RestoreColumnSizes(const TSortLVSaveSettings& settings) {
  if (!settings.SaveColumnSizes() || ColumnCount() == 0) return;
  const TRegistrySettings storage(settings.RegistryKey());
  const std::optional<std::vector<int>> widths = settings.ReadColumnSizes(storage, ColumnWidths());
  if (!widths) return;
  for (int column = 0; column < ColumnCount(); ++column) SetColumnWidth(column, (*widths)[static_cast<size_t>(column)]);
}

void TCustomSortListView::ColumnClick(int column) {
  if (FAutoColumnSort == acsSortToggle)
    FCurrentSortAscending = column == FLastSortColumn ? !FCurrentSortAscending : FAutoSortAscending;
  TCustomListView::ColumnClick(column);
  if (FAutoColumnSort == acsNoSort || column < 0 || column >= ColumnCount()) return;
  SortByColumn(column, FCurrentSortAscending);
  FLastSortColumn = column;
}

void TCustomSortListView::RepeatLastSort() {
  if (FAutoColumnSort != acsNoSort && FLastSortColumn >= 0 && FLastSortColumn < ColumnCount())
    SortByColumn(FLastSortColumn, FCurrentSortAscending);
}

void TCustomSortListView::SortByColumn(int column, bool ascending) {
  if (OnSortBegin) OnSortBegin(*this);
  const std::vector<size_t> order = OnSortItems ? OrderByEvent(column, ascending) : OrderByKeys(column, ascending);
  ReorderRows(std::vector<int>(order.begin(), order.end()));
  FArrowColumn = column;
  FArrowAscending = ascending;
  ShowSortArrow();
  if (OnSortFinished) OnSortFinished(*this);
}

std::vector<size_t> TCustomSortListView::OrderByKeys(int column, bool ascending) {
  const TSortKeyMaker maker(FormatSettings(), UserCollationKey);
  std::vector<TSortKey> keys;
  keys.reserve(static_cast<size_t>(ItemCount()));
  for (int row = 0; row < ItemCount(); ++row) keys.push_back(maker.KeyOf(CellText(row, column)));
  return StableSortedRows(keys, ascending);
}

// The owner's comparison, reversed as a whole for descending, so that rows
// it calls equal keep their order either way.
std::vector<size_t> TCustomSortListView::OrderByEvent(int column, bool ascending) {
  std::vector<size_t> order(static_cast<size_t>(ItemCount()));
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    int result = 0;
    OnSortItems(*this, static_cast<int>(a), static_cast<int>(b), column - 1, result);
    return ascending ? result < 0 : result > 0;
  });
  return order;
}

void TCustomSortListView::ShowSortArrow() {
  if (!HandleAllocated()) return;
  const HWND header = reinterpret_cast<HWND>(SendMessageA(Hwnd(), LVM_GETHEADER, 0, 0));
  if (!header) return;
  for (int column = 0; column < ColumnCount(); ++column) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == FArrowColumn) item.fmt |= FArrowAscending ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace retrove
