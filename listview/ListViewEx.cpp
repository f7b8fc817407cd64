#include "ListViewEx.h"

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TListViewEx::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TListViewEx>("TListViewEx", TCustomSortListView::StaticClassInfo())
                                     .Set("ExtendedStyles", &TListViewEx::ExtendedStyles,
                                          &TListViewEx::SetExtendedStyles,
                                          {"lvxGridLines", "lvxSubItemImages", "lvxCheckboxes", "lvxTrackSelect",
                                           "lvxHeaderDragDrop", "lvxFullRowSelect", "lvxOneClickActivate",
                                           "lvxTwoClickActivate"},
                                          0)
                                     .Build();
  return info;
}

TListViewEx::TListViewEx(TComponent* owner) : TCustomSortListView(owner) {}

// What the window has now: the control may have changed them itself.
TLVExtendedStyles TListViewEx::ExtendedStyles() const {
  if (!HandleAllocated()) return FKeptExtendedStyles;
  const auto bits = static_cast<uint32_t>(SendMessageA(Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  return TLVExtendedStyles::FromBits(bits & 0xFF);
}

void TListViewEx::SetExtendedStyles(TLVExtendedStyles styles) {
  FKeptExtendedStyles = styles;
  if (HandleAllocated()) Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles.Bits()));
}

std::vector<int> TListViewEx::ColumnOrder() {
  std::vector<int> order(static_cast<size_t>(ColumnCount()));
  if (HandleAllocated() &&
      Perform(LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data())) != 0) {
    FKeptColumnOrder = order;
    return order;
  }
  if (FKeptColumnOrder && FKeptColumnOrder->size() == order.size()) return *FKeptColumnOrder;
  for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
  return order;
}

void TListViewEx::SetColumnOrder(const std::vector<int>& order) {
  FKeptColumnOrder = order;
  SendColumnOrder();
}

void TListViewEx::SendColumnOrder() {
  if (!HandleAllocated() || !FKeptColumnOrder || FKeptColumnOrder->size() != static_cast<size_t>(ColumnCount()))
    return;
  Perform(LVM_SETCOLUMNORDERARRAY, FKeptColumnOrder->size(), reinterpret_cast<LPARAM>(FKeptColumnOrder->data()));
  Invalidate();
}

void TListViewEx::HandleCreated() {
  TCustomSortListView::HandleCreated();
  SetExtendedStyles(FKeptExtendedStyles);
  SendColumnOrder();
}

LRESULT TListViewEx::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window may be made again (a style change): the order the user gave
  // the columns comes back with it.
  if (message == WM_DESTROY) {
    FKeptExtendedStyles = ExtendedStyles();
    ColumnOrder();
  }
  return TCustomSortListView::WndProc(message, wParam, lParam);
}

}  // namespace retrove
