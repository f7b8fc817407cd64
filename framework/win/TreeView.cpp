#include "TreeView.h"

#include "PropertyTable.h"

namespace retrove {

namespace {

constexpr int kTextLimit = 1024;

int CALLBACK CompareNodes(LPARAM first, LPARAM second, LPARAM compare) {
  return (*reinterpret_cast<const std::function<int(LPARAM, LPARAM)>*>(compare))(first, second);
}

}  // namespace

const TClassInfo& TCustomTreeView::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TCustomTreeView>("TCustomTreeView", TWinControl::StaticClassInfo())
          .Boolean("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot, true)
          .Boolean("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines, true)
          .Boolean("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons, true)
          .Boolean("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly, false)
          .Boolean("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection, true)
          .Integer("Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent, 19)
          .Enumeration("BorderStyle", &TCustomTreeView::BorderStyle, &TCustomTreeView::SetBorderStyle,
                       {"bsNone", "bsSingle"}, bsSingle)
          .Build();
  return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 97);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() {
  if (FImages) FImages->Unsubscribe(this);
}

DWORD TCustomTreeView::TreeStyle() const {
  return (FShowRoot ? TVS_LINESATROOT : 0) | (FShowLines ? TVS_HASLINES : 0) | (FShowButtons ? TVS_HASBUTTONS : 0) |
         (FReadOnly ? 0 : TVS_EDITLABELS) | (FHideSelection ? 0 : TVS_SHOWSELALWAYS);
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = WC_TREEVIEWA;
  params.Style |= WS_TABSTOP | TreeStyle();
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::HandleCreated() {
  SendMessageA(Hwnd(), TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  ApplyImages();
}

void TCustomTreeView::UpdateStyle() {
  if (!HandleAllocated()) return;
  constexpr DWORD kOurs = TVS_LINESATROOT | TVS_HASLINES | TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS;
  const DWORD style = (static_cast<DWORD>(GetWindowLongA(Hwnd(), GWL_STYLE)) & ~kOurs) | TreeStyle();
  SetWindowLongA(Hwnd(), GWL_STYLE, static_cast<LONG>(style));
  Invalidate();
}

void TCustomTreeView::SetShowRoot(bool show) {
  FShowRoot = show;
  UpdateStyle();
}

void TCustomTreeView::SetShowLines(bool show) {
  FShowLines = show;
  UpdateStyle();
}

void TCustomTreeView::SetShowButtons(bool show) {
  FShowButtons = show;
  UpdateStyle();
}

void TCustomTreeView::SetReadOnly(bool readOnly) {
  FReadOnly = readOnly;
  UpdateStyle();
}

void TCustomTreeView::SetHideSelection(bool hide) {
  FHideSelection = hide;
  UpdateStyle();
}

void TCustomTreeView::SetIndent(int indent) {
  FIndent = indent;
  if (HandleAllocated()) SendMessageA(Hwnd(), TVM_SETINDENT, static_cast<WPARAM>(indent), 0);
}

void TCustomTreeView::SetBorderStyle(TFormBorderStyle style) {
  FBorderStyle = style == bsNone ? bsNone : bsSingle;
  RecreateWnd();
}

void TCustomTreeView::SetImages(TImageList* images) {
  if (FImages) FImages->Unsubscribe(this);
  FImages = images;
  if (images) {
    images->FreeNotification(this);
    images->Subscribe(this, [this] { ApplyImages(); });
  }
  ApplyImages();
}

void TCustomTreeView::ApplyImages() {
  if (!HandleAllocated()) return;
  SendMessageA(Hwnd(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

HTREEITEM TCustomTreeView::AddChild(HTREEITEM parent, const std::string& text, LPARAM data) {
  std::string copy = text;
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = copy.data();
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(Perform(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TCustomTreeView::Delete(HTREEITEM node) {
  Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

void TCustomTreeView::Clear() {
  Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

int TCustomTreeView::Count() {
  return static_cast<int>(Perform(TVM_GETCOUNT, 0, 0));
}

HTREEITEM TCustomTreeView::TopNode() {
  return reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM TCustomTreeView::ParentOf(HTREEITEM node) {
  return reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(node)));
}

HTREEITEM TCustomTreeView::FirstChild(HTREEITEM node) {
  return reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)));
}

HTREEITEM TCustomTreeView::NextSibling(HTREEITEM node) {
  return reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
}

TVITEMA TCustomTreeView::Item(HTREEITEM node, UINT mask) {
  TVITEMA item{};
  item.mask = mask | TVIF_HANDLE;
  item.hItem = node;
  item.stateMask = TVIS_OVERLAYMASK | TVIS_CUT | TVIS_DROPHILITED | TVIS_EXPANDED;
  Perform(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item;
}

void TCustomTreeView::SetItem(TVITEMA& item) {
  item.mask |= TVIF_HANDLE;
  Perform(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TCustomTreeView::Update(HTREEITEM node, UINT mask, const std::function<void(TVITEMA&)>& fill) {
  TVITEMA item{};
  item.mask = mask;
  item.hItem = node;
  fill(item);
  SetItem(item);
}

std::string TCustomTreeView::Text(HTREEITEM node) {
  char buffer[kTextLimit] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = node;
  item.pszText = buffer;
  item.cchTextMax = kTextLimit;
  Perform(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void TCustomTreeView::SetText(HTREEITEM node, const std::string& text) {
  std::string copy = text;
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = copy.data();
  SetItem(item);
}

LPARAM TCustomTreeView::Data(HTREEITEM node) {
  return Item(node, TVIF_PARAM).lParam;
}

void TCustomTreeView::SetData(HTREEITEM node, LPARAM data) {
  Update(node, TVIF_PARAM, [data](TVITEMA& item) { item.lParam = data; });
}

int TCustomTreeView::ImageIndex(HTREEITEM node) {
  return Item(node, TVIF_IMAGE).iImage;
}

void TCustomTreeView::SetImageIndex(HTREEITEM node, int index) {
  Update(node, TVIF_IMAGE, [index](TVITEMA& item) { item.iImage = index; });
}

int TCustomTreeView::SelectedIndex(HTREEITEM node) {
  return Item(node, TVIF_SELECTEDIMAGE).iSelectedImage;
}

void TCustomTreeView::SetSelectedIndex(HTREEITEM node, int index) {
  Update(node, TVIF_SELECTEDIMAGE, [index](TVITEMA& item) { item.iSelectedImage = index; });
}

void TCustomTreeView::SetOverlayIndex(HTREEITEM node, int index) {
  SetState(node, TVIS_OVERLAYMASK, INDEXTOOVERLAYMASK(static_cast<UINT>(index + 1)));
}

bool TCustomTreeView::HasChildren(HTREEITEM node) {
  return Item(node, TVIF_CHILDREN).cChildren != 0;
}

void TCustomTreeView::SetHasChildren(HTREEITEM node, bool hasChildren) {
  Update(node, TVIF_CHILDREN, [hasChildren](TVITEMA& item) { item.cChildren = hasChildren ? 1 : 0; });
}

void TCustomTreeView::SetState(HTREEITEM node, UINT mask, UINT state) {
  Update(node, TVIF_STATE, [mask, state](TVITEMA& item) {
    item.stateMask = mask;
    item.state = state;
  });
}

void TCustomTreeView::SetCut(HTREEITEM node, bool cut) {
  SetState(node, TVIS_CUT, cut ? TVIS_CUT : 0);
}

void TCustomTreeView::SetDropTarget(HTREEITEM node, bool highlighted) {
  SetState(node, TVIS_DROPHILITED, highlighted ? TVIS_DROPHILITED : 0);
}

HTREEITEM TCustomTreeView::DropHighlighted() {
  return reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
}

void TCustomTreeView::HighlightDropTarget(HTREEITEM node) {
  Perform(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node));
}

HTREEITEM TCustomTreeView::NodeAt(POINT point) {
  TVHITTESTINFO hit{};
  hit.pt = point;
  HTREEITEM node = reinterpret_cast<HTREEITEM>(Perform(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) ? node : nullptr;
}

RECT TCustomTreeView::LabelRect(HTREEITEM node) {
  // The message takes the node in the rectangle's place.
  union {
    RECT Rect;
    HTREEITEM Node;
  } request{};
  request.Node = node;
  if (!Perform(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&request))) return RECT{};
  return request.Rect;
}

bool TCustomTreeView::Editing() {
  return Perform(TVM_GETEDITCONTROL) != 0;
}

void TCustomTreeView::EditLabel(HTREEITEM node) {
  Perform(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(node));
}

HTREEITEM TCustomTreeView::Selected() {
  return reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TCustomTreeView::Select(HTREEITEM node) {
  Perform(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
}

bool TCustomTreeView::Expanded(HTREEITEM node) {
  return (Item(node, TVIF_STATE).state & TVIS_EXPANDED) != 0;
}

void TCustomTreeView::Expand(HTREEITEM node) {
  Perform(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
}

void TCustomTreeView::Collapse(HTREEITEM node) {
  Perform(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(node));
}

void TCustomTreeView::MakeVisible(HTREEITEM node) {
  Perform(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

void TCustomTreeView::SortChildren(HTREEITEM parent, const std::function<int(LPARAM, LPARAM)>& compare) {
  TVSORTCB sort{};
  sort.hParent = parent ? parent : TVI_ROOT;
  sort.lpfnCompare = &CompareNodes;
  sort.lParam = reinterpret_cast<LPARAM>(&compare);
  Perform(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TCustomTreeView::BeginUpdate() {
  if (FUpdateCount++ == 0) Perform(WM_SETREDRAW, FALSE, 0);
}

void TCustomTreeView::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  Perform(WM_SETREDRAW, TRUE, 0);
  Invalidate();
}

void TCustomTreeView::Change(HTREEITEM node) {
  if (OnChange && !ComponentState().Contains(csDestroying)) OnChange(*this, node);
}

bool TCustomTreeView::CanExpand(HTREEITEM node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(*this, node, allow);
  return allow;
}

bool TCustomTreeView::CanEdit(HTREEITEM node) {
  bool allow = true;
  if (OnEditing) OnEditing(*this, node, allow);
  return allow;
}

void TCustomTreeView::Edit(HTREEITEM node, const std::string& text) {
  std::string edited = text;
  if (OnEdited) OnEdited(*this, node, edited);
  SetText(node, edited);
}

bool TCustomTreeView::OnNotify(NMHDR& header, LRESULT& result) {
  auto& tree = reinterpret_cast<NMTREEVIEWA&>(header);
  auto& label = reinterpret_cast<NMTVDISPINFOA&>(header);
  switch (header.code) {
    case TVN_BEGINLABELEDITA:
      result = !CanEdit(label.item.hItem);
      return true;
    case TVN_ENDLABELEDITA:
      // The node's text is set by Edit, never by the control.
      if (label.item.pszText) Edit(label.item.hItem, label.item.pszText);
      result = FALSE;
      return true;
    case TVN_SELCHANGEDA:
      Change(tree.itemNew.hItem);
      return true;
    case TVN_ITEMEXPANDINGA:
      result = (tree.action & TVE_EXPAND) && !CanExpand(tree.itemNew.hItem);
      return true;
    case TVN_DELETEITEMA:
      NodeDeleted(tree.itemOld.hItem, tree.itemOld.lParam);
      return true;
  }
  return false;
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FImages) {
    FImages = nullptr;
    ApplyImages();
  }
}

}  // namespace retrove
