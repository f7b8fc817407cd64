#include "ListViewEx.h"

#include <commctrl.h>

#include <algorithm>

#include "Exceptions.h"
#include "PropertyTable.h"
#include "RegistrySettings.h"

namespace retrove {

namespace {

constexpr UINT kItemFields = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;

}  // namespace

const TClassInfo& TListViewEx::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TListViewEx>("TListViewEx", TCustomSortListView::StaticClassInfo())
          .Set("ExtendedStyles", &TListViewEx::ExtendedStyles, &TListViewEx::SetExtendedStyles,
               {"lvxGridLines", "lvxSubItemImages", "lvxCheckboxes", "lvxTrackSelect", "lvxHeaderDragDrop",
                "lvxFullRowSelect", "lvxOneClickActivate", "lvxTwoClickActivate"},
               0)
          .Boolean("VirtualMode", &TListViewEx::VirtualMode, &TListViewEx::SetVirtualMode, false)
          .Object("SaveSettings", [](TListViewEx& list) -> TPersistent* { return &list.FSaveSettings; })
          .Object("ColumnsFormat", [](TListViewEx& list) -> TPersistent* { return &list.FColumnsFormat; })
          .Build();
  return info;
}

TListViewEx::TListViewEx(TComponent* owner) : TCustomSortListView(owner) {
  FColumnsFormat.OnChange = [this](int index) {
    if (index < 0)
      ApplyAllColumnFormats();
    else
      ApplyColumnFormat(index);
  };
}

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

HWND TListViewEx::HeaderWindow() const {
  return HandleAllocated() ? reinterpret_cast<HWND>(SendMessageA(Hwnd(), LVM_GETHEADER, 0, 0)) : nullptr;
}

// The header image goes beside the column's own text alignment, which the
// window keeps.
void TListViewEx::ApplyColumnFormat(int index) {
  if (!HandleAllocated() || index < 0 || index >= FColumnsFormat.Count() || index >= ColumnCount()) return;
  if (!SmallImages() || SmallImages()->Count() == 0) return;
  const TListViewExColumn& format = FColumnsFormat.Items(index);
  LVCOLUMNA column{};
  column.mask = LVCF_FMT;
  Perform(LVM_GETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
  column.fmt &= LVCFMT_JUSTIFYMASK;
  if (format.ImageIndex() != -1) {
    column.mask |= LVCF_IMAGE;
    column.iImage = format.ImageIndex();
    column.fmt |= LVCFMT_IMAGE;
    if (format.ImageAlignment() == ciaRightOfText) column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
  }
  Perform(LVM_SETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListViewEx::ApplyAllColumnFormats() {
  for (int index = 0; index < ColumnCount(); ++index) ApplyColumnFormat(index);
}

void TListViewEx::SetVirtualMode(bool virtualMode) {
  if (virtualMode == FVirtualMode) return;
  FVirtualMode = virtualMode;
  if (!HandleAllocated()) return;
  RecreateWnd();
  if (!HandleAllocated()) throw EInvalidOperation("Failed to recreate window handle.  Contact Quelm.");
}

void TListViewEx::SetVirtualItemCount(int count) {
  FVirtualItemCount = std::max(count, 0);
  SendVirtualItemCount();
}

void TListViewEx::SendVirtualItemCount() {
  if (FVirtualMode && HandleAllocated())
    Perform(LVM_SETITEMCOUNT, static_cast<WPARAM>(FVirtualItemCount), LVSICF_NOSCROLL);
}

void TListViewEx::HandleCreated() {
  TCustomSortListView::HandleCreated();
  SendVirtualItemCount();
  SetExtendedStyles(FKeptExtendedStyles);
  SendColumnOrder();
  ApplyAllColumnFormats();
}

void TListViewEx::Loaded() {
  TCustomSortListView::Loaded();
  RestoreSettings();
  ApplyAllColumnFormats();
}

void TListViewEx::StoreSettings() {
  if (!FSaveSettings.AutoSave()) return;
  StoreColumnSizes(FSaveSettings);
  if (!FSaveSettings.SaveColumnOrder() || ColumnCount() == 0) return;
  TRegistrySettings storage(FSaveSettings.RegistryKey());
  FSaveSettings.WriteColumnOrder(storage, ColumnOrder());
}

void TListViewEx::RestoreSettings() {
  if (!FSaveSettings.AutoSave()) return;
  RestoreColumnSizes(FSaveSettings);
  if (!FSaveSettings.SaveColumnOrder() || ColumnCount() == 0) return;
  const TRegistrySettings storage(FSaveSettings.RegistryKey());
  SetColumnOrder(FSaveSettings.ReadColumnOrder(storage, ColumnCount()));
}

LRESULT TListViewEx::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window may be made again (a style change): the order the user gave
  // the columns comes back with it.
  if (message == WM_DESTROY) {
    FKeptExtendedStyles = ExtendedStyles();
    ColumnOrder();
  }
  const LRESULT result = TCustomSortListView::WndProc(message, wParam, lParam);
  if (message == WM_PAINT && !FEmptyText.empty() && ItemCount() == 0) DrawEmptyText();
  // The header drops a column's image when the user starts to resize it.
  if (message == WM_NOTIFY) {
    const auto& notice = *reinterpret_cast<const NMHEADERA*>(lParam);
    if (notice.hdr.hwndFrom == HeaderWindow() &&
        (notice.hdr.code == HDN_BEGINTRACKA || notice.hdr.code == HDN_BEGINTRACKW))
      ApplyColumnFormat(notice.iItem);
  }
  return result;
}

// The text is the window's too, so that a screen reader says it.
void TListViewEx::SetEmptyText(const std::string& text) {
  if (text == FEmptyText) return;
  FEmptyText = text;
  SetCaption(text);
  if (HandleAllocated()) InvalidateRect(Hwnd(), nullptr, TRUE);
}

// Over what the list drew, below its column headers, in the list's font.
void TListViewEx::DrawEmptyText() {
  RECT area;
  GetClientRect(Hwnd(), &area);
  if (HWND header = HeaderWindow(); header && IsWindowVisible(header)) {
    RECT headerRect;
    GetWindowRect(header, &headerRect);
    area.top += headerRect.bottom - headerRect.top;
  }
  area.top += 12;
  InflateRect(&area, -8, 0);
  HDC dc = GetDC(Hwnd());
  const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(Hwnd(), WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, FEmptyText.c_str(), static_cast<int>(FEmptyText.size()), &area,
            DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  ReleaseDC(Hwnd(), dc);
}

bool TListViewEx::OnNotify(NMHDR& header, LRESULT& result) {
  if (FVirtualMode ? OnVirtualNotify(header, result) : OnStandardNotify(header, result)) return true;
  return TCustomSortListView::OnNotify(header, result);
}

bool TListViewEx::OnVirtualNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW:
      result = FindVirtualItem(header);
      return true;
    case LVN_GETDISPINFOA:
      DoVMGetItemInfo(reinterpret_cast<NMLVDISPINFOA&>(header).item);
      return true;
    case LVN_ODSTATECHANGED:
      DoVMStateChanged(reinterpret_cast<NMLVODSTATECHANGE&>(header));
      return false;  // the change notice follows
    case LVN_ODCACHEHINT:
      DoVMCacheHint(reinterpret_cast<NMLVCACHEHINT&>(header));
      return true;
  }
  return false;
}

// The handler always sees the ANSI form of the request.
LRESULT TListViewEx::FindVirtualItem(NMHDR& header) {
  if (header.code == LVN_ODFINDITEMA) {
    auto& find = reinterpret_cast<NMLVFINDITEMA&>(header);
    return DoVMFindItem(find) ? find.iStart : -1;
  }
  TAnsiFindRequest ansi(reinterpret_cast<const NMLVFINDITEMW&>(header));
  return DoVMFindItem(ansi.Request()) ? ansi.Request().iStart : -1;
}

bool TListViewEx::OnStandardNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_MARQUEEBEGIN:
      result = DoMarqueeBegin() ? 0 : 1;
      return true;
    case LVN_ITEMACTIVATE:
      DoItemActivate();
      result = 0;
      return true;
  }
  return false;
}

bool TListViewEx::DoMarqueeBegin() {
  bool canBegin = true;
  if (OnMarqueeBegin) OnMarqueeBegin(*this, canBegin);
  return canBegin;
}

void TListViewEx::DoItemActivate() {
  if (OnItemActivate) OnItemActivate(*this);
}

void TListViewEx::DoVMGetItemInfo(LVITEMA& item) {
  if (item.iItem == -1 || !OnVMGetItemInfo) return;
  std::string text;
  int state = static_cast<int>(item.state);
  const auto mask = TLVVMMaskItems::FromBits(item.mask & kItemFields);
  OnVMGetItemInfo(*this, item.iItem, item.iSubItem, mask, item.iImage, item.lParam, state, item.iIndent, text);
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
    lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
  item.state = static_cast<UINT>(state);
}

void TListViewEx::DoVMCacheHint(NMLVCACHEHINT& hint) {
  if (OnVMCacheHint) OnVMCacheHint(*this, hint);
}

bool TListViewEx::DoVMFindItem(NMLVFINDITEMA& find) {
  bool found = false;
  if (OnVMFindItem) OnVMFindItem(*this, find, found);
  return found;
}

void TListViewEx::DoVMStateChanged(NMLVODSTATECHANGE& change) {
  if (OnVMStateChanged) OnVMStateChanged(*this, change);
}

}  // namespace retrove
