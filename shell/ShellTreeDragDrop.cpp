// Part of UNsShellControls: folders dragged out of the tree, and items
// dropped onto its folders.

#include "DragFormats.h"
#include "SysError.h"
#include "UNsShellControls.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

constexpr DWORD kAllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// What dropped items allow; a data object that cannot be read allows
// nothing.
DWORD AllowedEffects(IDataObject* data) {
  try {
    return DropEffectOf(data);
  } catch (...) {
    return DROPEFFECT_NONE;
  }
}

}  // namespace

DWORD TNsCustomShellTree::DragNode(HTREEITEM node, int button) {
  TNsShTreeData* data = NodeData(node);
  IShellFolder* parent = data ? data->ParentFolder() : nullptr;
  if (!parent || FDragActive) return DROPEFFECT_NONE;
  TComPtr<IDataObject> object;
  if (FAILED(CreateDataObject(parent, data->Parent()->AbsoluteIdList(), {data->RelIdList()}, object)))
    return DROPEFFECT_NONE;
  LPCITEMIDLIST item = AsItemIdList(data->RelIdList());
  ULONG attributes = kAllEffects;
  if (FAILED(parent->GetAttributesOf(1, &item, &attributes))) attributes = kAllEffects;
  auto* source = new TDropSource(button);
  source->AddRef();
  const TComPtr<IDropSource> dropSource(source);

  HighlightDropTarget(node);
  FDragActive = true;
  FDragNode = node;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT status = DoDragDrop(object.Get(), dropSource.Get(), attributes & kAllEffects, &effect);
  FDragActive = false;
  FDragNode = nullptr;
  if (HandleAllocated()) HighlightDropTarget(nullptr);
  RefreshIfPending();
  OleCheck(status);
  return status == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

void TNsCustomShellTree::RegisterDropTarget() {
  if (FDropTarget || !HandleAllocated()) return;
  auto* created = new TDropTarget(this);
  created->AddRef();
  TComPtr<TDropTarget> target(created);
  // Without OLE on this thread the tree simply takes no drops.
  if (FAILED(RegisterDragDrop(Hwnd(), target.Get()))) {
    target->Forget();
    return;
  }
  FDropTarget = std::move(target);
}

void TNsCustomShellTree::RevokeDropTarget() {
  if (!FDropTarget) return;
  if (HandleAllocated()) RevokeDragDrop(Hwnd());
  // OLE may still hold the object; it must not reach the tree any more.
  FDropTarget->Forget();
  FDropTarget.Reset();
  FDropData.Reset();
}

HTREEITEM TNsCustomShellTree::NodeAtScreen(POINTL point) {
  POINT client{point.x, point.y};
  ScreenToClient(Hwnd(), &client);
  return NodeAt(client);
}

// Not on the top node, and not on the dragged folder or into its subtree.
bool TNsCustomShellTree::CanDropOn(HTREEITEM node) {
  TNsShTreeData* data = NodeData(node);
  if (!data || !data->Parent()) return false;
  return !FDragActive || (node != FDragNode && !IsBelow(node, FDragNode));
}

// What the node's own drop target would do with the held data.
DWORD TNsCustomShellTree::NodeDropEffect(HTREEITEM node, DWORD keyState, POINTL point, DWORD effect) {
  effect &= FDropAllowed;
  if (!FDropData || !effect || !CanDropOn(node)) return DROPEFFECT_NONE;
  TComPtr<IDropTarget> target;
  if (FAILED(NodeData(node)->GetDropTarget(OwnerFormHandle(Hwnd()), target)) || !target) return DROPEFFECT_NONE;
  DWORD answer = effect;
  if (FAILED(target->DragEnter(FDropData.Get(), keyState, point, &answer))) return DROPEFFECT_NONE;
  answer = effect;
  const HRESULT status = target->DragOver(keyState, point, &answer);
  target->DragLeave();
  return SUCCEEDED(status) ? answer & effect : DROPEFFECT_NONE;
}

void TNsCustomShellTree::ShowDropHighlight(HTREEITEM node) {
  HTREEITEM shown = node ? node : (FDragActive ? FDragNode : nullptr);
  if (DropHighlighted() == shown) return;
  HighlightDropTarget(shown);
  Repaint();
}

void TNsCustomShellTree::AutoScroll(POINTL point) {
  POINT client{point.x, point.y};
  ScreenToClient(Hwnd(), &client);
  RECT area;
  GetClientRect(Hwnd(), &area);
  const DWORD now = GetTickCount();
  const TScrollRequest request = AutoScrollRequest(client.x, client.y, area.right, area.bottom, now, FLastScrollTick);
  if (!request.Any()) return;
  if (request.Vertical) ScrollOneLine(Hwnd(), SB_VERT, request.Vertical > 0);
  if (request.Horizontal) ScrollOneLine(Hwnd(), SB_HORZ, request.Horizontal > 0);
  FLastScrollTick = now;
}

void TNsCustomShellTree::EndDrop() {
  FDropData.Reset();
  FDropAllowed = DROPEFFECT_NONE;
  HighlightDropTarget(nullptr);
}

HRESULT TNsCustomShellTree::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  if (data) data->AddRef();
  FDropData.Reset(data);
  FDropKeyState = keyState;
  FLastScrollTick = GetTickCount();
  FDropAllowed = data ? AllowedEffects(data) : DROPEFFECT_NONE;
  effect = NodeDropEffect(NodeAtScreen(point), keyState, point, effect);
  return S_OK;
}

HRESULT TNsCustomShellTree::DragOver(DWORD keyState, POINTL point, DWORD& effect) {
  FDropKeyState = keyState;
  HTREEITEM node = NodeAtScreen(point);
  ShowDropHighlight(node);
  AutoScroll(point);
  effect = NodeDropEffect(node, keyState, point, effect) | DROPEFFECT_SCROLL;
  return S_OK;
}

HRESULT TNsCustomShellTree::DragLeave() {
  EndDrop();
  return S_OK;
}

HRESULT TNsCustomShellTree::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  // The button is up by now; the folder's target still wants to know which
  // one it was (the right one asks what to do).
  keyState |= FDropKeyState & (MK_LBUTTON | MK_RBUTTON);
  HTREEITEM node = NodeAtScreen(point);
  const DWORD wanted = data ? effect & AllowedEffects(data) : DROPEFFECT_NONE;
  effect = DROPEFFECT_NONE;
  HRESULT status = S_OK;
  TComPtr<IDropTarget> target;
  if (wanted && CanDropOn(node) && SUCCEEDED(NodeData(node)->GetDropTarget(OwnerFormHandle(Hwnd()), target)) &&
      target) {
    DWORD answer = wanted;
    if (SUCCEEDED(target->DragEnter(data, keyState, point, &answer))) {
      answer = wanted;
      target->DragOver(keyState, point, &answer);
      if (answer & wanted) {
        answer = wanted;
        status = target->Drop(data, keyState, point, &answer);
        effect = SUCCEEDED(status) ? answer & wanted : DROPEFFECT_NONE;
      } else {
        target->DragLeave();
      }
    }
  }
  EndDrop();
  return status;
}

}  // namespace retrove
