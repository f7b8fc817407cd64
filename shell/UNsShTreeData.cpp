#include "UNsShTreeData.h"

#include "UNsShellUtils.h"

namespace retrove {

namespace {

constexpr ULONG kRenameQuery = 0x40000177;

}  // namespace

TNsShTreeData::TNsShTreeData(TNsCustomShellTree* tree, TNsShTreeData* parent, ShellIdList relIdList,
                             IShellFolder* folder)
    : FTree(tree), FParent(parent), FRelIdList(std::move(relIdList)) {
  if (folder) {
    folder->AddRef();
    FFolder.Reset(folder);
  }
}

const std::uint8_t* TNsShTreeData::AbsoluteIdList() {
  if (!FAbsoluteIdList)
    FAbsoluteIdList = FParent ? ConcatIdLists(nullptr, FParent->AbsoluteIdList(), FRelIdList.Get())
                              : CopyIdList(nullptr, FRelIdList.Get());
  return FAbsoluteIdList.Get();
}

IShellFolder* TNsShTreeData::Folder() {
  if (!FFolder && FParent)
    if (IShellFolder* parent = FParent->Folder())
      parent->BindToObject(AsItemIdList(FRelIdList.Get()), nullptr, IID_IShellFolder, FFolder.PutVoid());
  return FFolder.Get();
}

IShellFolder* TNsShTreeData::ParentFolder() {
  return FParent ? FParent->Folder() : nullptr;
}

std::string TNsShTreeData::Path() {
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(AsItemIdList(AbsoluteIdList()), path)) return {};
  return path;
}

bool TNsShTreeData::CanRename() {
  IShellFolder* parent = ParentFolder();
  if (!parent || IdListIsEmpty(AbsoluteIdList())) return false;
  LPCITEMIDLIST item = AsItemIdList(FRelIdList.Get());
  ULONG attributes = kRenameQuery;
  if (FAILED(parent->GetAttributesOf(1, &item, &attributes))) return false;
  return (attributes & SFGAO_FILESYSTEM) && (attributes & SFGAO_CANRENAME);
}

void TNsShTreeData::SetRelIdList(const std::uint8_t* list) {
  ForgetCache();
  FRelIdList = CopyIdList(nullptr, list);
  AbsoluteIdList();
}

void TNsShTreeData::ForgetCache() {
  FAbsoluteIdList.Reset();
  // The top node's folder was handed in; nothing could bind it again.
  if (FParent) FFolder.Reset();
}

HRESULT TNsShTreeData::GetDropTarget(HWND owner, TComPtr<IDropTarget>& target) {
  target.Reset();
  IShellFolder* parent = ParentFolder();
  if (!FParent) return GetDesktopDropTarget(target);
  if (!parent) return E_FAIL;
  LPCITEMIDLIST item = AsItemIdList(FRelIdList.Get());
  return parent->GetUIObjectOf(owner, 1, &item, IID_IDropTarget, nullptr, target.PutVoid());
}

}  // namespace retrove
