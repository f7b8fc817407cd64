#include "ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "Exceptions.h"
#include "PropertyTable.h"

namespace retrove {

namespace {

constexpr int kTextLimit = 1024;

}  // namespace

TAnsiFindRequest::TAnsiFindRequest(const NMLVFINDITEMW& wide) {
  if (wide.lvfi.psz)
    WideCharToMultiByte(CP_ACP, 0, wide.lvfi.psz, -1, FText, sizeof FText - 1, nullptr, nullptr);
  FRequest.hdr = wide.hdr;
  FRequest.iStart = wide.iStart;
  FRequest.lvfi.flags = wide.lvfi.flags;
  FRequest.lvfi.psz = FText;
  FRequest.lvfi.lParam = wide.lvfi.lParam;
  FRequest.lvfi.pt = wide.lvfi.pt;
  FRequest.lvfi.vkDirection = wide.lvfi.vkDirection;
}

const TClassInfo& TCustomListView::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TCustomListView>("TCustomListView", TWinControl::StaticClassInfo())
          .Enumeration("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle,
                       {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, vsIcon)
          .Boolean("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect, false)
          .Boolean("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly, false)
          .Boolean("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection, true)
          .Enumeration("BorderStyle", &TCustomListView::BorderStyle, &TCustomListView::SetBorderStyle,
                       {"bsNone", "bsSingle"}, bsSingle)
          .Build();
  return info;
}

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
  if (FLargeImages) FLargeImages->Unsubscribe(this);
  if (FSmallImages) FSmallImages->Unsubscribe(this);
}

DWORD TCustomListView::ListStyle() const {
  static constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  return kViewStyles[FViewStyle] | LVS_OWNERDATA | LVS_SHAREIMAGELISTS | (FMultiSelect ? 0 : LVS_SINGLESEL) |
         (FReadOnly ? 0 : LVS_EDITLABELS) | (FHideSelection ? 0 : LVS_SHOWSELALWAYS) | LVS_AUTOARRANGE;
}

void TCustomListView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = WC_LISTVIEWA;
  params.Style |= WS_TABSTOP | ListStyle();
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::HandleCreated() {
  ApplyImages();
  for (int i = 0; i < ColumnCount(); ++i) InsertColumnInWindow(i);
  SendItemCount();
}

// Telling the window costs more than adding a row.
void TCustomListView::SyncItemCount() {
  if (HoldsItemCount())
    FCountBehind = true;
  else
    SendItemCount();
}

// In the icon views Wine lays every row out again when told of new rows or
// of a new view, measuring each row it moves for a repaint unless redrawing
// is off: a hundred thousand rows took seconds (17 s for a switch to Large
// Icons). It lays them out once more when redrawing is turned back on, so
// the rows are put in place while it is still off; turning it on then moves
// none, and the window is painted once, for the rows in view.
void TCustomListView::LayOutQuietly(const std::function<void()>& change) {
  if (FUpdateCount > 0) {
    change();
    return;
  }
  SendMessageA(Hwnd(), WM_SETREDRAW, FALSE, 0);
  change();
  const DWORD style = static_cast<DWORD>(GetWindowLongA(Hwnd(), GWL_STYLE));
  const DWORD view = style & LVS_TYPEMASK;
  if ((view == LVS_ICON || view == LVS_SMALLICON) && (style & LVS_AUTOARRANGE))
    SendMessageA(Hwnd(), LVM_ARRANGE, LVA_DEFAULT, 0);
  SendMessageA(Hwnd(), WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

// Outside the icon views, turning redrawing off and on would cost a repaint.
void TCustomListView::SendItemCount() {
  FCountBehind = false;
  if (!HandleAllocated()) return;
  const auto send = [this] {
    SendMessageA(Hwnd(), LVM_SETITEMCOUNT, FRows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  };
  if (FViewStyle == vsIcon || FViewStyle == vsSmallIcon)
    LayOutQuietly(send);
  else
    send();
}

LRESULT TCustomListView::PerformOnRows(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = Handle();
  if (FCountBehind) SendItemCount();
  return SendMessageA(window, message, wParam, lParam);
}

// A row the window does not know yet is drawn when it learns of it.
void TCustomListView::RedrawRow(int index) {
  if (HandleAllocated() && !FCountBehind) SendMessageA(Hwnd(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

TCustomListView::TRow& TCustomListView::Row(int index) {
  if (index < 0 || index >= ItemCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FRows[static_cast<size_t>(index)];
}

void TCustomListView::UpdateStyle() {
  if (!HandleAllocated()) return;
  constexpr DWORD kOurs = LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS | LVS_SHOWSELALWAYS;
  const DWORD style = (static_cast<DWORD>(GetWindowLongA(Hwnd(), GWL_STYLE)) & ~kOurs) | (ListStyle() & kOurs);
  LayOutQuietly([this, style] { SetWindowLongA(Hwnd(), GWL_STYLE, static_cast<LONG>(style)); });
  Invalidate();
}

void TCustomListView::SetViewStyle(TViewStyle style) {
  FViewStyle = style;
  UpdateStyle();
}

void TCustomListView::SetMultiSelect(bool multiSelect) {
  FMultiSelect = multiSelect;
  UpdateStyle();
}

void TCustomListView::SetReadOnly(bool readOnly) {
  FReadOnly = readOnly;
  UpdateStyle();
}

void TCustomListView::SetHideSelection(bool hide) {
  FHideSelection = hide;
  UpdateStyle();
}

void TCustomListView::SetBorderStyle(TFormBorderStyle style) {
  FBorderStyle = style == bsNone ? bsNone : bsSingle;
  RecreateWnd();
}

void TCustomListView::SetImages(TImageList*& slot, TImageList* images) {
  if (slot) slot->Unsubscribe(this);
  slot = images;
  if (images) {
    images->FreeNotification(this);
    images->Subscribe(this, [this] { ApplyImages(); });
  }
  ApplyImages();
}

void TCustomListView::SetLargeImages(TImageList* images) {
  SetImages(FLargeImages, images);
}

void TCustomListView::SetSmallImages(TImageList* images) {
  SetImages(FSmallImages, images);
}

void TCustomListView::ApplyImages() {
  if (!HandleAllocated()) return;
  auto handle = [](TImageList* images) { return reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr); };
  SendMessageA(Hwnd(), LVM_SETIMAGELIST, LVSIL_NORMAL, handle(FLargeImages));
  SendMessageA(Hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, handle(FSmallImages));
}

int TCustomListView::AddColumn(const std::string& caption, int width) {
  FColumns.push_back({caption, width});
  const int index = ColumnCount() - 1;
  if (HandleAllocated()) InsertColumnInWindow(index);
  return index;
}

void TCustomListView::InsertColumnInWindow(int index) {
  TColumn& column = FColumns[static_cast<size_t>(index)];
  LVCOLUMNA info{};
  info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.pszText = column.Caption.data();
  info.cx = column.Width;
  info.iSubItem = index;
  SendMessageA(Hwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
}

const std::string& TCustomListView::ColumnCaption(int index) const {
  if (index < 0 || index >= ColumnCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FColumns[static_cast<size_t>(index)].Caption;
}

int TCustomListView::ColumnWidth(int index) {
  ColumnCaption(index);
  if (HandleAllocated()) FColumns[static_cast<size_t>(index)].Width =
      static_cast<int>(SendMessageA(Hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
  return FColumns[static_cast<size_t>(index)].Width;
}

void TCustomListView::SetColumnWidth(int index, int width) {
  ColumnCaption(index);
  FColumns[static_cast<size_t>(index)].Width = width;
  if (HandleAllocated()) SendMessageA(Hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), width);
}

int TCustomListView::AddItem(const std::string& caption, int imageIndex, LPARAM data) {
  FRows.push_back({TRowTexts(caption), imageIndex, data});
  const int index = ItemCount() - 1;
  SyncItemCount();
  Change(index);
  return index;
}

void TCustomListView::DeleteItem(int index) {
  ItemDeleted(index, Row(index).Data);
  // The window moves the selection only of rows it knows.
  if (FCountBehind) SendItemCount();
  FRows.erase(FRows.begin() + index);
  // The window moves the selection of the rows below up by one.
  if (HandleAllocated()) SendMessageA(Hwnd(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  Change(index);
}

void TCustomListView::Clear() {
  for (int index = 0; index < ItemCount(); ++index) ItemDeleted(index, FRows[static_cast<size_t>(index)].Data);
  FRows.clear();
  FCountBehind = false;
  if (HandleAllocated()) SendMessageA(Hwnd(), LVM_DELETEALLITEMS, 0, 0);
  Change(-1);
}

int TCustomListView::ItemCount() {
  return static_cast<int>(FRows.size());
}

std::string TCustomListView::ItemCaption(int index) {
  return std::string(CellText(index, 0));
}

std::string TCustomListView::SubItem(int index, int subItem) {
  return std::string(CellText(index, subItem + 1));
}

std::string_view TCustomListView::CellText(int index, int column) {
  return column < 0 ? std::string_view() : Row(index).Texts.Cell(static_cast<size_t>(column));
}

// A negative sub-item is the caption.
void TCustomListView::SetSubItem(int index, int subItem, const std::string& text) {
  Row(index).Texts.SetCell(subItem < 0 ? 0 : static_cast<size_t>(subItem) + 1, text);
  RedrawRow(index);
}

void TCustomListView::SetSubItems(int index, std::span<const std::string_view> texts) {
  Row(index).Texts.SetCells(1, texts);
  RedrawRow(index);
}

int TCustomListView::ImageIndex(int index) {
  return Row(index).ImageIndex;
}

void TCustomListView::SetImageIndex(int index, int imageIndex) {
  Row(index).ImageIndex = imageIndex;
  RedrawRow(index);
}

LPARAM TCustomListView::ItemData(int index) {
  return Row(index).Data;
}

bool TCustomListView::Selected(int index) {
  return PerformOnRows(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED;
}

void TCustomListView::SetSelected(int index, bool selected) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  PerformOnRows(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// Rows the window does not know yet cannot be selected: the selection
// needs no new count.
int TCustomListView::SelCount() {
  return static_cast<int>(Perform(LVM_GETSELECTEDCOUNT, 0, 0));
}

int TCustomListView::Selection() {
  return static_cast<int>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> TCustomListView::RowsInState(UINT state) {
  std::vector<int> rows;
  const UINT flags = state == LVIS_FOCUSED ? LVNI_FOCUSED : LVNI_SELECTED;
  for (int row = -1; (row = static_cast<int>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(row), flags))) >= 0;) {
    rows.push_back(row);
    if (state == LVIS_FOCUSED) break;
  }
  return rows;
}

void TCustomListView::ReorderRows(const std::vector<int>& order) {
  if (order.size() != FRows.size()) throw EListError("The new order does not name every row once");
  std::vector<int> newPlace(FRows.size(), -1);
  for (size_t k = 0; k < order.size(); ++k) {
    const auto old = static_cast<size_t>(order[k]);
    if (order[k] < 0 || old >= FRows.size() || newPlace[old] >= 0)
      throw EListError("The new order does not name every row once");
    newPlace[old] = static_cast<int>(k);
  }
  std::vector<TRow> rows;
  rows.reserve(FRows.size());
  for (int old : order) rows.push_back(std::move(FRows[static_cast<size_t>(old)]));
  FRows = std::move(rows);
  if (!HandleAllocated()) return;
  const std::vector<int> selected = RowsInState(LVIS_SELECTED);
  const std::vector<int> focused = RowsInState(LVIS_FOCUSED);
  FChangesHeld = true;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  for (int row : selected) SetSelected(newPlace[static_cast<size_t>(row)], true);
  if (!focused.empty()) {
    item.stateMask = LVIS_FOCUSED;
    item.state = LVIS_FOCUSED;
    Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(newPlace[static_cast<size_t>(focused.front())]),
            reinterpret_cast<LPARAM>(&item));
  }
  FChangesHeld = false;
  Invalidate();
  Change(-1);
}

void TCustomListView::BeginUpdate() {
  if (FUpdateCount++ == 0) Perform(WM_SETREDRAW, FALSE, 0);
}

void TCustomListView::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  if (FCountBehind && !HoldsItemCount()) SendItemCount();
  Perform(WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

void TCustomListView::BeginAdding() {
  ++FAddingCount;
}

void TCustomListView::EndAdding() {
  if (FAddingCount == 0 || --FAddingCount > 0) return;
  if (FCountBehind && !HoldsItemCount()) SendItemCount();
}

void TCustomListView::Change(int item) {
  if (OnChange && !FChangesHeld && !ComponentState().Contains(csDestroying)) OnChange(*this, item);
}

void TCustomListView::ColumnClick(int column) {
  if (OnColumnClick) OnColumnClick(*this, column);
}

void TCustomListView::GiveDisplayInfo(LVITEMA& item) {
  if (item.iItem < 0 || item.iItem >= ItemCount()) return;
  const TRow& row = FRows[static_cast<size_t>(item.iItem)];
  // Each cell is followed by a NUL in the row's block.
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iSubItem >= 0)
    lstrcpynA(item.pszText, row.Texts.Cell(static_cast<size_t>(item.iSubItem)).data(), item.cchTextMax);
  if (item.mask & LVIF_IMAGE) item.iImage = item.iSubItem == 0 ? row.ImageIndex : -1;
  if (item.mask & LVIF_PARAM) item.lParam = row.Data;
}

// Typing the first letters of a name goes to the next row that starts so;
// the window must know the row it then shows.
int TCustomListView::FindRow(const LVFINDINFOA& find, int start) {
  if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz) return -1;
  if (FCountBehind) SendItemCount();
  const bool partial = find.flags & LVFI_PARTIAL;
  const int length = lstrlenA(find.psz);
  // A caption is followed by a NUL in its row's block.
  const auto matches = [&](std::string_view caption) {
    if (!partial) return lstrcmpiA(caption.data(), find.psz) == 0;
    return static_cast<int>(caption.size()) >= length &&
           CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.data(), length, find.psz, length) ==
               CSTR_EQUAL;
  };
  const int count = ItemCount();
  const int end = (find.flags & LVFI_WRAP) ? start + count : count;
  for (int index = start; index < end; ++index)
    if (matches(FRows[static_cast<size_t>(index % count)].Texts.Cell(0))) return index % count;
  return -1;
}

bool TCustomListView::OnNotify(NMHDR& header, LRESULT& result) {
  auto& list = reinterpret_cast<NMLISTVIEW&>(header);
  switch (header.code) {
    case LVN_GETDISPINFOA:
      GiveDisplayInfo(reinterpret_cast<NMLVDISPINFOA&>(header).item);
      return true;
    case LVN_ODFINDITEMA: {
      auto& find = reinterpret_cast<NMLVFINDITEMA&>(header);
      result = FindRow(find.lvfi, std::max(find.iStart, 0));
      return true;
    }
    case LVN_ODFINDITEMW: {
      TAnsiFindRequest ansi(reinterpret_cast<const NMLVFINDITEMW&>(header));
      result = FindRow(ansi.Request().lvfi, std::max(ansi.Request().iStart, 0));
      return true;
    }
    case LVN_ITEMCHANGED:
      Change(list.iItem);
      return true;
    case LVN_ODSTATECHANGED:
      Change(reinterpret_cast<NMLVODSTATECHANGE&>(header).iFrom);
      return true;
    case LVN_COLUMNCLICK:
      ColumnClick(list.iSubItem);
      return true;
  }
  return false;
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component != FLargeImages && component != FSmallImages) return;
  if (component == FLargeImages) FLargeImages = nullptr;
  if (component == FSmallImages) FSmallImages = nullptr;
  ApplyImages();
}

}  // namespace retrove
