#include "ListView.h"

#include <commctrl.h>

#include "Exceptions.h"
#include "PropertyTable.h"

namespace retrove {

namespace {

constexpr int kTextLimit = 1024;

}  // namespace

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
  return kViewStyles[FViewStyle] | LVS_SHAREIMAGELISTS | (FMultiSelect ? 0 : LVS_SINGLESEL) |
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
}

void TCustomListView::UpdateStyle() {
  if (!HandleAllocated()) return;
  constexpr DWORD kOurs = LVS_TYPEMASK | LVS_SINGLESEL | LVS_EDITLABELS | LVS_SHOWSELALWAYS;
  const DWORD style = (static_cast<DWORD>(GetWindowLongA(Hwnd(), GWL_STYLE)) & ~kOurs) | (ListStyle() & kOurs);
  SetWindowLongA(Hwnd(), GWL_STYLE, static_cast<LONG>(style));
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
  std::string text = caption;
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = ItemCount();
  item.pszText = text.data();
  item.iImage = imageIndex;
  item.lParam = data;
  return static_cast<int>(Perform(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void TCustomListView::DeleteItem(int index) {
  Perform(LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TCustomListView::Clear() {
  Perform(LVM_DELETEALLITEMS, 0, 0);
}

int TCustomListView::ItemCount() {
  return static_cast<int>(Perform(LVM_GETITEMCOUNT, 0, 0));
}

std::string TCustomListView::ItemCaption(int index) {
  return SubItem(index, -1);
}

std::string TCustomListView::SubItem(int index, int subItem) {
  char buffer[kTextLimit] = {};
  LVITEMA item{};
  item.iSubItem = subItem + 1;
  item.pszText = buffer;
  item.cchTextMax = kTextLimit;
  Perform(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void TCustomListView::SetSubItem(int index, int subItem, const std::string& text) {
  std::string copy = text;
  LVITEMA item{};
  item.iSubItem = subItem + 1;
  item.pszText = copy.data();
  Perform(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TCustomListView::ImageIndex(int index) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  Perform(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void TCustomListView::SetImageIndex(int index, int imageIndex) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = imageIndex;
  Perform(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM TCustomListView::ItemData(int index) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  Perform(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

bool TCustomListView::Selected(int index) {
  return Perform(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) & LVIS_SELECTED;
}

void TCustomListView::SetSelected(int index, bool selected) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  Perform(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TCustomListView::SelCount() {
  return static_cast<int>(Perform(LVM_GETSELECTEDCOUNT, 0, 0));
}

int TCustomListView::Selection() {
  return static_cast<int>(Perform(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::BeginUpdate() {
  if (FUpdateCount++ == 0) Perform(WM_SETREDRAW, FALSE, 0);
}

void TCustomListView::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  Perform(WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

void TCustomListView::Change(int item) {
  if (OnChange && !ComponentState().Contains(csDestroying)) OnChange(*this, item);
}

void TCustomListView::ColumnClick(int column) {
  if (OnColumnClick) OnColumnClick(*this, column);
}

bool TCustomListView::OnNotify(NMHDR& header, LRESULT& result) {
  auto& list = reinterpret_cast<NMLISTVIEW&>(header);
  switch (header.code) {
    case LVN_ITEMCHANGED:
    case LVN_INSERTITEM:
      Change(list.iItem);
      return true;
    case LVN_DELETEITEM:
      ItemDeleted(list.iItem, list.lParam);
      Change(list.iItem);
      return true;
    case LVN_DELETEALLITEMS:
      result = FALSE;  // ask for LVN_DELETEITEM of each row, so that its data can be freed
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
