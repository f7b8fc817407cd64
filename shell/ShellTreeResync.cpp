#include "UNsShellControls.h"

#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "Screen.h"
#include "ShellTreeQueries.h"

namespace retrove {

namespace {

// Besides the folder bits, SFGAO_VALIDATE: the shell looks again whether the
// item is there.
constexpr ULONG kResyncQuery = 0xF3000000;

std::string_view Bytes(const std::uint8_t* list) {
  return {reinterpret_cast<const char*>(list), IdListSize(list)};
}

// What the folder holds now; nothing when it cannot be listed.
std::optional<std::vector<ShellIdList>> ListFolderNow(IShellFolder* folder) {
  TComPtr<IEnumIDList> items;
  if (FAILED(folder->EnumObjects(GetActiveWindow(), kFillFlags, items.Put())) || !items) return std::nullopt;
  std::vector<ShellIdList> listed;
  LPITEMIDLIST raw = nullptr;
  ULONG fetched = 0;
  while (items->Next(1, &raw, &fetched) == S_OK && raw) {
    listed.push_back(AdoptIdList(raw));
    raw = nullptr;
  }
  return listed;
}

}  // namespace

// Items by their bytes: an unchanged item comes back from the shell with the
// same bytes, so only the others need the folder's own comparison. The set
// keeps no copies; its items must outlive it.
class TNsCustomShellTree::TItemSet {
public:
  explicit TItemSet(IShellFolder* folder) : FFolder(folder) {}

  void Add(const std::uint8_t* item) {
    FBytes.insert(Bytes(item));
    FItems.push_back(item);
  }
  bool HasBytesOf(const std::uint8_t* item) const { return FBytes.count(Bytes(item)) != 0; }
  bool Contains(const std::uint8_t* item) const {
    if (HasBytesOf(item)) return true;
    for (const std::uint8_t* other : FItems)
      if (SameItem(FFolder, other, item)) return true;
    return false;
  }

private:
  IShellFolder* FFolder;
  std::vector<const std::uint8_t*> FItems;
  std::unordered_set<std::string_view> FBytes;
};

void TNsCustomShellTree::Resync() {
  if (RefreshBlocked(TPendingRefresh::Resync)) return;
  if (!TopNode()) {
    Rebuild();
    return;
  }
  FRefreshPending = TPendingRefresh::None;
  TCursorGuard cursor(crHourGlass);
  TUpdateGuard update(*this);
  HTREEITEM remembered = Selected();
  {
    TSuppressGuard suppress(*this);
    Select(nullptr);
    ResyncNode(TopNode(), remembered);
  }
  FImmediateNotify = true;
  Select(remembered);
}

bool TNsCustomShellTree::IsBelow(HTREEITEM node, HTREEITEM ancestor) {
  for (HTREEITEM up = node ? ParentOf(node) : nullptr; up; up = ParentOf(up))
    if (up == ancestor) return true;
  return false;
}

// A folder of thousands of unchanged subfolders must cost little: each child
// is checked against one listing of the folder, and the shell is asked
// about a single child only when the listing does not hold it byte for byte.
void TNsCustomShellTree::ResyncNode(HTREEITEM node, HTREEITEM& remembered) {
  if (!FirstChild(node)) return;
  IShellFolder* folder = NodeData(node)->Folder();
  if (!folder) return;

  // Not every shell checks an item on SFGAO_VALIDATE, so a child missing
  // from the listing is gone as well.
  const std::optional<std::vector<ShellIdList>> listed = ListFolderNow(folder);
  TItemSet present(folder);
  if (listed)
    for (const ShellIdList& item : *listed) present.Add(item.Get());

  TItemSet known(folder);
  for (HTREEITEM child = FirstChild(node), next; child; child = next) {
    next = NextSibling(child);
    const std::uint8_t* item = NodeData(child)->RelIdList();
    if (ChildStillThere(folder, listed ? &present : nullptr, child, item))
      known.Add(item);
    else
      DropChild(node, child, child == FirstChild(node) && !next, remembered);
  }
  if (listed) AddNewChildren(folder, node, *listed, known);
  for (HTREEITEM child = FirstChild(node); child; child = NextSibling(child)) ResyncNode(child, remembered);
}

// Asks the shell of the child only what the listing left open: whether it
// is there at all, and whether a childless node has gained subfolders.
bool TNsCustomShellTree::ChildStillThere(IShellFolder* folder, const TItemSet* present, HTREEITEM child,
                                         const std::uint8_t* item) {
  const bool listedAsIs = present && present->HasBytesOf(item);
  const bool mayGainChildren = !HasChildren(child) && !FirstChild(child);
  if (listedAsIs && !mayGainChildren) return true;
  LPCITEMIDLIST one = AsItemIdList(item);
  ULONG attributes = listedAsIs ? kSubfoldersAndFolder : kResyncQuery;
  const bool answered = SUCCEEDED(folder->GetAttributesOf(1, &one, &attributes));
  if (!listedAsIs && (!answered || (present && !present->Contains(item)))) return false;
  if (answered && mayGainChildren && (attributes & kSubfoldersAndFolder) == kSubfoldersAndFolder)
    SetHasChildren(child, true);
  return true;
}

// The selection, when on the child or below it, falls back to the parent.
void TNsCustomShellTree::DropChild(HTREEITEM node, HTREEITEM child, bool lastChild, HTREEITEM& remembered) {
  if (remembered == child || IsBelow(remembered, child)) remembered = node;
  if (lastChild) {
    Perform(TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(node));
    SetHasChildren(node, false);
  } else {
    Delete(child);
  }
}

// New folders; hidden ones wait for a rebuild or the parent's first fill.
void TNsCustomShellTree::AddNewChildren(IShellFolder* folder, HTREEITEM node, const std::vector<ShellIdList>& listed,
                                        const TItemSet& known) {
  const std::uint8_t* parentAbs = NodeData(node)->AbsoluteIdList();
  bool added = false;
  for (const ShellIdList& item : listed) {
    if (known.Contains(item.Get())) continue;
    LPCITEMIDLIST one = AsItemIdList(item.Get());
    ULONG attributes = kHiddenBit;
    if (FAILED(folder->GetAttributesOf(1, &one, &attributes)) || (attributes & kHiddenBit)) continue;
    // An item that vanished again since the listing is simply left out.
    if (SUCCEEDED(AddItem(folder, item.Get(), node, parentAbs))) added = true;
  }
  if (added) SortChildren(node);
}

}  // namespace retrove
