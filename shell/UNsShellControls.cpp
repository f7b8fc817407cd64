#include "UNsShellControls.h"

#include <shlwapi.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "Application.h"
#include "IdListArray.h"
#include "PropertyTable.h"
#include "Screen.h"
#include "ShellCombo.h"
#include "ShellTreeMenu.h"
#include "ShellTreeQueries.h"
#include "SysError.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

constexpr ULONG kAddQuery = 0xF20B0000;
constexpr DWORD kNameChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr int kNotifyDelay = 500;
constexpr int kFocusedRefreshDelay = 400;
constexpr int kUnfocusedRefreshDelay = 2000;
constexpr UINT kFailureReportMessage = WM_APP + 0x10;

}  // namespace

// Marks a fill under way; a refresh asked for meanwhile runs after it.
class TNsCustomShellTree::TFillGuard {
public:
  explicit TFillGuard(TNsCustomShellTree& tree) : FTree(tree) { ++FTree.FFilling; }
  ~TFillGuard() {
    if (--FTree.FFilling == 0) FTree.RefreshIfPending();
  }
  TFillGuard(const TFillGuard&) = delete;
  TFillGuard& operator=(const TFillGuard&) = delete;

private:
  TNsCustomShellTree& FTree;
};

const TClassInfo& TNsCustomShellTree::StaticClassInfo() {
  static const TClassInfo info("TNsCustomShellTree", &TNsCustomTreeView::StaticClassInfo(), {});
  return info;
}

const TClassInfo& TNsShellTree::StaticClassInfo() {
  static const TClassInfo info("TNsShellTree", &TNsCustomShellTree::StaticClassInfo(), {});
  return info;
}

TNsCustomShellTree::TNsCustomShellTree(TComponent* owner)
    : TNsCustomTreeView(owner), FTimer(new TTimer(nullptr)), FImageList(new TImageList(nullptr)) {
  SetShowRoot(false);
  FTimer->SetEnabled(false);
  FTimer->OnTimer = [this](TObject&) { TimerFired(); };
  FImageList->ShareHandle(GetSystemImageList(0));
  SetImages(FImageList.get());
  FBaseFolder.ChangeCallback = [this] {
    if (Loading()) return;
    {
      TSuppressGuard suppress(*this);
      FCurrentFolder.Assign(nullptr);
    }
    if (FOptions.Contains(nsstoAutoFill) && HandleAllocated()) Rebuild();
  };
  FCurrentFolder.ChangeCallback = [this] {
    if (FNotifySuppress == 0 && HandleAllocated() && TopNode()) SelectIdList(FCurrentFolder.IdList());
  };
}

TNsCustomShellTree::~TNsCustomShellTree() {
  // The nodes' data is freed by NodeDeleted, which must still be ours.
  DestroyWindowHandle();
  RevokeDropTarget();
  FChangeThread.reset();
  SetImages(nullptr);
}

bool TNsCustomShellTree::Loading() const {
  return ComponentState().Contains(csLoading);
}

void TNsCustomShellTree::SetBaseFolder(const TNsShellLocator& folder) {
  FBaseFolder.Assign(folder);
}

TNsShTreeData* TNsCustomShellTree::NodeData(HTREEITEM node) {
  return node ? reinterpret_cast<TNsShTreeData*>(Data(node)) : nullptr;
}

std::string TNsCustomShellTree::SelectedPath() {
  TNsShTreeData* data = HandleAllocated() ? NodeData(Selected()) : nullptr;
  return data ? data->Path() : std::string();
}

void TNsCustomShellTree::UpOneLevel() {
  if (!HandleAllocated()) return;
  HTREEITEM selected = Selected();
  HTREEITEM parent = selected ? ParentOf(selected) : nullptr;
  if (!parent) return;
  FImmediateNotify = true;
  Select(parent);
}

void TNsCustomShellTree::SetOptions(TNsShellTreeOptions options) {
  const bool dropWas = FOptions.Contains(nsstoOleDrop);
  FOptions = options;
  if (!HandleAllocated() || dropWas == FOptions.Contains(nsstoOleDrop)) return;
  if (dropWas)
    RevokeDropTarget();
  else
    RegisterDropTarget();
}

void TNsCustomShellTree::HandleCreated() {
  TNsCustomTreeView::HandleCreated();
  if (FOptions.Contains(nsstoOleDrop)) RegisterDropTarget();
  if (!Loading() && FOptions.Contains(nsstoAutoFill)) Rebuild();
}

void TNsCustomShellTree::Loaded() {
  ++FLoadingGuard;
  try {
    TNsCustomTreeView::Loaded();
  } catch (...) {
    --FLoadingGuard;
    throw;
  }
  --FLoadingGuard;
  // Without a window the fill waits for HandleCreated; a linked combo box
  // makes the first fill itself.
  if (FOptions.Contains(nsstoAutoFill) && HandleAllocated() && !FCombo) Rebuild();
}

void TNsCustomShellTree::LinkCombo(TNsCustomShellCombo* combo) {
  if (FCombo) FCombo->RemoveFreeNotification(this);
  FCombo = combo;
  if (FCombo) FCombo->FreeNotification(this);
}

void TNsCustomShellTree::Notification(TComponent* component, TOperation operation) {
  TNsCustomTreeView::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FCombo) FCombo = nullptr;
}

bool TNsCustomShellTree::RefreshBlocked(TPendingRefresh refresh) {
  const bool editing = Perform(TVM_GETEDITCONTROL) != 0;
  const bool blocked = FDragActive || editing || FFilling > 0;
  if (blocked) FRefreshPending = std::max(FRefreshPending, refresh);
  return blocked;
}

// Once nothing blocks it any more; from the timer, so that it never runs
// inside the notice or the fill that ended the block.
void TNsCustomShellTree::RefreshIfPending() {
  if (FRefreshPending == TPendingRefresh::None || !HandleAllocated()) return;
  StartTimer(kTagRefresh, kFocusedRefreshDelay);
}

void TNsCustomShellTree::ClearNodes() {
  TSuppressGuard suppress(*this);
  Select(nullptr);
  Clear();
}

void TNsCustomShellTree::Rebuild() {
  if (RefreshBlocked(TPendingRefresh::Rebuild)) return;
  FRefreshPending = TPendingRefresh::None;
  {
    TCursorGuard cursor(crHourGlass);
    ClearNodes();
    TComPtr<IShellFolder> folder;
    OleCheck(BindToFolder(FBaseFolder.IdList(), folder));
    FillNode(folder.Get(), nullptr);
    if (FCurrentFolder.IdList())
      SelectIdList(FCurrentFolder.IdList());
    else
      Select(TopNode());
  }
  if (FOptions.Contains(nsstoDynamicRefresh)) StartWatching();
}

HTREEITEM TNsCustomShellTree::AddTopNode(IShellFolder* folder) {
  ShellIdList list = CopyIdList(nullptr, FBaseFolder.IdList());
  const std::uint8_t* base = FBaseFolder.IdList();
  std::string text;
  if (IdListIsEmpty(base)) {
    text = GetDisplayName(nullptr, list.Get(), 1);
  } else {
    TComPtr<IShellFolder> parent;
    ShellIdList parentList;
    ShellIdList last;
    if (SUCCEEDED(SplitIdList(base, parent, parentList, last))) text = GetDisplayName(parent.Get(), last.Get(), 1);
  }
  auto data = std::make_unique<TNsShTreeData>(this, nullptr, std::move(list), folder);
  HTREEITEM node = AddChild(nullptr, text, reinterpret_cast<LPARAM>(data.get()));
  if (!node) RaiseLastOSError();
  data.release();
  const std::uint8_t* absolute = NodeData(node)->AbsoluteIdList();
  SetImageIndex(node, GetIconIndex(absolute, SHGFI_SMALLICON));
  SetSelectedIndex(node, GetIconIndex(absolute, SHGFI_SMALLICON | SHGFI_OPENICON));
  return node;
}

// Nothing here shows a message or otherwise handles messages of its own: a
// refresh run from inside the fill could add or free the nodes under it.
// Failures are reported once the fill is over.
void TNsCustomShellTree::FillNode(IShellFolder* folder, HTREEITEM node) {
  TFillGuard filling(*this);
  // The folder may belong to a node that a shell call's own window lets go.
  folder->AddRef();
  TComPtr<IShellFolder> held(folder);
  const bool newTop = !node;
  if (newTop) node = AddTopNode(folder);
  ShellIdList parentAbs = CopyIdList(nullptr, NodeData(node)->AbsoluteIdList());

  TComPtr<IEnumIDList> items;
  const DWORD flags = kFillFlags | (FOptions.Contains(nsstoIncludeNonFolders) ? SHCONTF_NONFOLDERS : 0);
  if (FAILED(folder->EnumObjects(GetActiveWindow(), flags, items.Put())) || !items) {
    // Left empty with its button, so that it can be tried again.
    SetHasChildren(node, true);
    return;
  }
  HRESULT status;
  LPITEMIDLIST raw = nullptr;
  ULONG fetched = 0;
  while ((status = items->Next(1, &raw, &fetched)) == S_OK && raw) {
    ShellIdList item = AdoptIdList(raw);
    raw = nullptr;
    // An item the folder cannot describe is left out; the others still come.
    if (const HRESULT added = AddItem(folder, item.Get(), node, parentAbs.Get()); FAILED(added)) ReportLater(added);
  }
  if (FAILED(status)) {
    // A listing cut short is not kept: the node is left to be filled anew.
    ReportLater(status);
    DeleteChildren(node);
    SetHasChildren(node, true);
    return;
  }
  if (!FirstChild(node)) SetHasChildren(node, false);
  SortChildren(node);
  if (newTop) Expand(node);
  if (OnFillComplete) OnFillComplete(*this);
}

void TNsCustomShellTree::DeleteChildren(HTREEITEM node) {
  while (HTREEITEM child = FirstChild(node)) Delete(child);
}

void TNsCustomShellTree::ReportLater(HRESULT status) {
  if (FAILED(FPendingFailure)) return;
  FPendingFailure = status;
  PostMessageA(Hwnd(), kFailureReportMessage, 0, 0);
}

void TNsCustomShellTree::ReportPendingFailure() {
  const HRESULT status = std::exchange(FPendingFailure, S_OK);
  if (FAILED(status)) Application.ShowException(SysErrorMessage(static_cast<DWORD>(status)));
}

HRESULT TNsCustomShellTree::AddItem(IShellFolder* folder, const std::uint8_t* item, HTREEITEM parent,
                                    const std::uint8_t* parentAbs) {
  LPCITEMIDLIST one = AsItemIdList(item);
  ULONG attributes = kAddQuery;
  const HRESULT status = folder->GetAttributesOf(1, &one, &attributes);
  if (FAILED(status)) return status;
  const bool inFileSystem = attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR);
  if (!FOptions.Contains(nsstoVirtualFolders) && !inFileSystem) return S_OK;
  if (!DoAddItem(folder, parentAbs, item, attributes)) return S_OK;

  auto data = std::make_unique<TNsShTreeData>(this, NodeData(parent), CopyIdList(nullptr, item), nullptr);
  if (!data->RelIdList()) return E_OUTOFMEMORY;
  if (!InsertNode(parent, ItemName(folder, item), data.get(), attributes)) return HRESULT_FROM_WIN32(GetLastError());
  data.release();
  return S_OK;
}

bool TNsCustomShellTree::DoAddItem(IShellFolder* folder, const std::uint8_t* parentAbs, const std::uint8_t* item,
                                   ULONG attributes) {
  bool allow = true;
  if (OnAddItem) OnAddItem(*this, folder, parentAbs, item, attributes, allow);
  return allow;
}

HTREEITEM TNsCustomShellTree::InsertNode(HTREEITEM parent, const std::string& text, TNsShTreeData* data,
                                         ULONG attributes) {
  const bool hasChildren = FOptions.Contains(nsstoIncludeNonFolders)
                               ? (attributes & kSubfoldersAndFolder) != 0
                               : (attributes & kSubfoldersAndFolder) == kSubfoldersAndFolder;
  UINT state = 0;
  if (attributes & SFGAO_SHARE)
    state |= INDEXTOOVERLAYMASK(1);
  else if (attributes & SFGAO_LINK)
    state |= INDEXTOOVERLAYMASK(2);
  if (attributes & kHiddenBit) state |= TVIS_CUT;

  std::string copy = text;
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  // Icons are looked up when the control first shows the node.
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_STATE;
  insert.item.pszText = copy.data();
  insert.item.lParam = reinterpret_cast<LPARAM>(data);
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = hasChildren ? 1 : 0;
  insert.item.stateMask = TVIS_OVERLAYMASK | TVIS_CUT;
  insert.item.state = state;
  return reinterpret_cast<HTREEITEM>(Perform(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string TNsCustomShellTree::ItemName(IShellFolder* folder, const std::uint8_t* item) {
  STRRET name{};
  HRESULT status = folder->GetDisplayNameOf(AsItemIdList(item), SHGDN_INFOLDER, &name);
  char text[MAX_PATH] = {};
  if (SUCCEEDED(status)) status = StrRetToBufA(&name, AsItemIdList(item), text, sizeof text);
  if (SUCCEEDED(status)) return text;
  ReportLater(status);
  return {};
}

void TNsCustomShellTree::SortChildren(HTREEITEM node) {
  TNsCustomTreeView::SortChildren(node, [](LPARAM first, LPARAM second) {
    auto* a = reinterpret_cast<TNsShTreeData*>(first);
    auto* b = reinterpret_cast<TNsShTreeData*>(second);
    IShellFolder* folder = a->ParentFolder();
    if (!folder) return 0;
    const HRESULT status = folder->CompareIDs(0, AsItemIdList(a->RelIdList()), AsItemIdList(b->RelIdList()));
    return FAILED(status) ? 0 : static_cast<int>(static_cast<short>(HRESULT_CODE(status)));
  });
}

void TNsCustomShellTree::FillIfNeeded(HTREEITEM node) {
  if (FirstChild(node) || !HasChildren(node)) return;
  IShellFolder* folder = NodeData(node)->Folder();
  if (!folder) return;
  TCursorGuard cursor(crHourGlass);
  FillNode(folder, node);
}

bool TNsCustomShellTree::CanExpand(HTREEITEM node) {
  if (FLoadingGuard) return false;
  FillIfNeeded(node);
  return true;
}

HTREEITEM TNsCustomShellTree::FindChild(HTREEITEM node, const std::uint8_t* item) {
  IShellFolder* folder = NodeData(node)->Folder();
  if (!folder) return nullptr;
  for (HTREEITEM child = FirstChild(node); child; child = NextSibling(child))
    if (SameItem(folder, NodeData(child)->RelIdList(), item)) return child;
  return nullptr;
}

void TNsCustomShellTree::SelectIdList(const std::uint8_t* list) {
  if (FNotifySuppress > 0 || !HandleAllocated()) return;
  FImmediateNotify = true;
  TNsIdListArray base(FBaseFolder.IdList());
  TNsIdListArray target(list);
  TUpdateGuard update(*this);
  HTREEITEM node = TopNode();
  if (!node) return;
  if (target.Count() == 0) {
    Select(node);
    return;
  }
  if (target.Count() <= base.Count()) {
    Select(node);
    Expand(node);
    return;
  }
  FillIfNeeded(node);
  Expand(node);
  for (std::size_t level = base.Count(); level < target.Count(); ++level) {
    HTREEITEM child = FindChild(node, target.Item(static_cast<int>(level)));
    if (!child) break;
    node = child;
    if (level + 1 < target.Count()) {
      FillIfNeeded(node);
      Expand(node);
    }
  }
  Select(node);
  MakeVisible(node);
}

void TNsCustomShellTree::Change(HTREEITEM node) {
  if (FNotifySuppress > 0) return;
  TNsCustomTreeView::Change(node);
  if (Loading() || !NodeData(node)) return;
  PassSelectionOn(node);
}

void TNsCustomShellTree::PassSelectionOn(HTREEITEM node) {
  {
    TSuppressGuard suppress(*this);
    FCurrentFolder.SetIdList(NodeData(node)->AbsoluteIdList());
    if (FCombo) FCombo->TreeSelectionChanged(node);
  }
  FImmediateNotify = false;
}

void TNsCustomShellTree::StartTimer(int tag, int interval) {
  FTimer->SetEnabled(false);
  FTimer->SetTag(tag);
  FTimer->SetInterval(interval);
  FTimer->SetEnabled(true);
}

void TNsCustomShellTree::TimerFired() {
  FTimer->SetEnabled(false);
  const int tag = FTimer->Tag();
  FTimer->SetTag(0);
  if (tag == kTagNotify) {
    if (HTREEITEM node = Selected(); NodeData(node)) PassSelectionOn(node);
  } else if (tag == kTagRefresh) {
    if (FRefreshPending == TPendingRefresh::Rebuild)
      Rebuild();
    else
      Resync();
  }
}

void TNsCustomShellTree::ChangeNoticed() {
  if (FIgnoreNextChange) {
    FIgnoreNextChange = false;
    return;
  }
  // A drag may move the folders under it: the tree catches up once it ends.
  if (FDragActive) {
    FRefreshPending = std::max(FRefreshPending, TPendingRefresh::Resync);
    return;
  }
  StartTimer(kTagRefresh, Focused() ? kFocusedRefreshDelay : kUnfocusedRefreshDelay);
}

void TNsCustomShellTree::StartWatching() {
  if (!FChangeThread) FChangeThread = std::make_unique<TChangeHandlerThread>(Hwnd(), kChangeNoticeMessage);
  FChangeThread->RemoveAllWatches();
  const DWORD drives = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(drives & (1u << letter))) continue;
    const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
    const UINT type = GetDriveTypeA(root.c_str());
    if (type != DRIVE_FIXED && type != DRIVE_REMOTE && type != DRIVE_RAMDISK) continue;
    int slot = -1;
    FChangeThread->AddWatch(root, kNameChanges, slot, true);
  }
}

void TNsCustomShellTree::ImageNeeded(NMTVDISPINFOA& info) {
  auto* data = reinterpret_cast<TNsShTreeData*>(info.item.lParam);
  if (!data) return;
  if (info.item.mask & TVIF_IMAGE) info.item.iImage = GetIconIndex(data->AbsoluteIdList(), SHGFI_SMALLICON);
  if (info.item.mask & TVIF_SELECTEDIMAGE)
    info.item.iSelectedImage = GetIconIndex(data->AbsoluteIdList(), SHGFI_SMALLICON | SHGFI_OPENICON);
  info.item.mask |= TVIF_DI_SETITEM;
}

bool TNsCustomShellTree::OnNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TVN_GETDISPINFOA:
      ImageNeeded(reinterpret_cast<NMTVDISPINFOA&>(header));
      return true;
    case NM_CLICK:
      FImmediateNotify = true;
      return false;
    case TVN_ENDLABELEDITA:
      RefreshIfPending();
      break;
    case TVN_BEGINDRAGA:
    case TVN_BEGINRDRAGA: {
      const auto& tree = reinterpret_cast<NMTREEVIEWA&>(header);
      DragNode(tree.itemNew.hItem, header.code == TVN_BEGINRDRAGA ? 1 : 0);
      return true;
    }
  }
  return TNsCustomTreeView::OnNotify(header, result);
}

void TNsCustomShellTree::NodeDeleted(HTREEITEM node, LPARAM data) {
  auto* shellData = reinterpret_cast<TNsShTreeData*>(data);
  if (OnDeleteItem) OnDeleteItem(*this, node, shellData);
  delete shellData;
}

LRESULT TNsCustomShellTree::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; MenuMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_KEYDOWN:
      if (!Editing() && KeyDown(wParam)) return 0;
      break;
    case WM_CONTEXTMENU:
      if (ContextMenuRequested(lParam)) return 0;
      break;
    case kChangeNoticeMessage:
      ChangeNoticed();
      return 0;
    case kFailureReportMessage:
      ReportPendingFailure();
      return 0;
    case WM_DESTROY: {
      // The window may be made again; the nodes go now, with their data.
      RevokeDropTarget();
      FTimer->SetEnabled(false);
      FChangeThread.reset();
      TUpdateGuard update(*this);
      ClearNodes();
      break;
    }
  }
  return TNsCustomTreeView::WndProc(message, wParam, lParam);
}

}  // namespace retrove
