#include "ShellCombo.h"

#include <optional>
#include <string>
#include <vector>

#include "IdListArray.h"
#include "PropertyTable.h"
#include "SafeSort.h"
#include "SysError.h"
#include "UNsShellControls.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

// Only what an entry shows is asked for: "has subfolders" would cost a
// round trip to the server for every network drive.
constexpr ULONG kEntryAttributes = SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_SHARE | SFGAO_LINK;
constexpr UINT kEntryChosenMessage = WM_APP + 41;

// The folder's display order of two of its items (negative, 0 or
// positive); nothing when the folder cannot compare them.
std::optional<int> FolderOrder(IShellFolder* folder, const std::uint8_t* first, const std::uint8_t* second) {
  const HRESULT status = folder->CompareIDs(0, AsItemIdList(first), AsItemIdList(second));
  if (FAILED(status)) return std::nullopt;
  return static_cast<short>(HRESULT_CODE(status));
}

bool SameItem(IShellFolder* folder, const std::uint8_t* first, const std::uint8_t* second) {
  return FolderOrder(folder, first, second) == 0;
}

ULONG AttributesOf(IShellFolder* folder, const std::uint8_t* item) {
  ULONG attributes = kEntryAttributes;
  LPCITEMIDLIST items[] = {AsItemIdList(item)};
  return SUCCEEDED(folder->GetAttributesOf(1, items, &attributes)) ? attributes : 0;
}

// The folders of `folder`, in the order the folder shows them.
std::vector<ShellIdList> SortedSubfolders(IShellFolder* folder) {
  TComPtr<IEnumIDList> enumerator;
  const HRESULT status = folder->EnumObjects(GetActiveWindow(), SHCONTF_FOLDERS, enumerator.Put());
  OleCheck(status);
  std::vector<ShellIdList> items;
  if (status != S_OK || !enumerator) return items;
  LPITEMIDLIST raw = nullptr;
  ULONG fetched = 0;
  HRESULT next = S_OK;
  while ((next = enumerator->Next(1, &raw, &fetched)) == S_OK && raw) items.push_back(AdoptIdList(raw));
  OleCheck(next);
  SafeStableSort(items, [folder](const ShellIdList& first, const ShellIdList& second) {
    return FolderOrder(folder, first.Get(), second.Get()).value_or(0) < 0;
  });
  return items;
}

int OverlayOf(ULONG attributes) {
  if (attributes & SFGAO_SHARE) return 0;
  if (attributes & SFGAO_LINK) return 1;
  return -1;
}

}  // namespace

TNsShComboData::TNsShComboData(IShellFolder* folder, const std::uint8_t* parentList, const std::uint8_t* item)
    : FFolder(folder),
      FParentList(CopyIdList(nullptr, parentList)),
      FItem(CopyIdList(nullptr, item)),
      FAbsolute(ConcatIdLists(nullptr, parentList, item)) {
  // The entry keeps its own reference to the folder it came from.
  if (folder) folder->AddRef();
}

// Raised while the combo fills itself or follows a change, so that what it
// sets meanwhile does not come back to it.
class TNsCustomShellCombo::TReentryGuard {
public:
  explicit TReentryGuard(TNsCustomShellCombo& combo) : FCombo(combo) { ++FCombo.FReentry; }
  ~TReentryGuard() { --FCombo.FReentry; }
  TReentryGuard(const TReentryGuard&) = delete;
  TReentryGuard& operator=(const TReentryGuard&) = delete;

private:
  TNsCustomShellCombo& FCombo;
};

// One fill: the current folder level by level, and whether its chain is
// still to be found.
struct TNsCustomShellCombo::TFillState {
  TNsIdListArray Target;
  ShellIdList MyComputer;
  bool Matching = true;
};

const TClassInfo& TNsCustomShellCombo::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TNsCustomShellCombo>("TNsCustomShellCombo", TNsCustomImageCombo::StaticClassInfo())
          .Set("Options", &TNsCustomShellCombo::Options, &TNsCustomShellCombo::SetOptions,
               {"nsscoAutofill", "nsscoNonFilesystemAncestors"}, 3)
          .Build();
  return info;
}

const TClassInfo& TNsShellCombo::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TNsShellCombo>("TNsShellCombo", TNsCustomShellCombo::StaticClassInfo()).Build();
  return info;
}

TNsCustomShellCombo::TNsCustomShellCombo(TComponent* owner)
    : TNsCustomImageCombo(owner), FImageList(std::make_unique<TImageList>(nullptr)) {
  FImageList->ShareHandle(GetSystemImageList(0));
  SetImages(FImageList.get());
  FCurrentFolder.ChangeCallback = [this] { FolderChanged(); };
}

TNsCustomShellCombo::~TNsCustomShellCombo() {
  DestroyWindowHandle();
}

void TNsCustomShellCombo::SetShellTree(TNsCustomShellTree* tree) {
  if (tree == FShellTree) return;
  if (FShellTree) {
    FShellTree->LinkCombo(nullptr);
    FShellTree->RemoveFreeNotification(this);
  }
  FShellTree = tree;
  if (!FShellTree) return;
  FShellTree->FreeNotification(this);
  FShellTree->LinkCombo(this);
}

void TNsCustomShellCombo::Notification(TComponent* component, TOperation operation) {
  TNsCustomImageCombo::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FShellTree) FShellTree = nullptr;
}

void TNsCustomShellCombo::HandleCreated() {
  TNsCustomImageCombo::HandleCreated();
  if (FOptions.Contains(nsscoAutofill) && !ComponentState().Contains(csLoading)) FillCombo();
}

void TNsCustomShellCombo::Loaded() {
  TNsCustomImageCombo::Loaded();
  if (!FOptions.Contains(nsscoAutofill)) return;
  FillCombo();
  if (!FShellTree) return;
  FShellTree->CurrentFolder().Assign(FCurrentFolder);
  FShellTree->Rebuild();
}

bool TNsCustomShellCombo::OnCommand(WORD code, WORD id) {
  const bool handled = TNsCustomImageCombo::OnCommand(code, id);
  // Carried out once the combo has finished with its own notice, as the
  // entries are made anew then.
  if (code == CBN_SELENDOK) PostMessageA(Hwnd(), kEntryChosenMessage, 0, 0);
  return handled;
}

LRESULT TNsCustomShellCombo::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kEntryChosenMessage) return TNsCustomImageCombo::WndProc(message, wParam, lParam);
  EntryChosen();
  return 0;
}

void TNsCustomShellCombo::EntryChosen() {
  TNsImageComboItem* item = SelectedItem();
  if (const auto* data = item ? dynamic_cast<const TNsShComboData*>(item->Data()) : nullptr)
    FCurrentFolder.SetIdList(data->AbsoluteIdList());
}

void TNsCustomShellCombo::TreeSelectionChanged(HTREEITEM node) {
  if (!FShellTree || FShellTree->Selected() != node) return;
  if (TNsShTreeData* data = FShellTree->NodeData(node)) FCurrentFolder.SetIdList(data->AbsoluteIdList());
}

void TNsCustomShellCombo::FolderChanged() {
  if (FReentry > 0) return;
  TReentryGuard guard(*this);
  if (FShellTree) FShellTree->SelectIdList(FCurrentFolder.IdList());
  FillCombo();
}

void TNsCustomShellCombo::FillCombo() {
  TReentryGuard guard(*this);
  Perform(WM_SETREDRAW, FALSE, 0);
  struct TRedraw {
    TNsCustomShellCombo& Combo;
    ~TRedraw() {
      Combo.Perform(WM_SETREDRAW, TRUE, 0);
      Combo.Invalidate();
    }
  } redraw{*this};
  SetItemIndex(-1);
  ClearComboItems();
  TFillState fill{TNsIdListArray(FCurrentFolder.IdList()), {}, true};
  OleCheck(GetSpecialFolderIdList(OwnerFormHandle(Hwnd()), CSIDL_DRIVES, fill.MyComputer));
  TComPtr<IShellFolder> desktop;
  OleCheck(GetDesktopFolder(desktop));
  AddLevel(fill, desktop.Get(), nullptr, -1);
  if (ItemIndex() < 0 && ComboItemCount() > 0) SetItemIndex(0);
}

void TNsCustomShellCombo::AddLevel(TFillState& fill, IShellFolder* folder, const std::uint8_t* parentList,
                                   int level) {
  if (level < 0) {
    const ShellIdList desktop = CopyIdList(nullptr, nullptr);
    AddComboItem(GetDisplayName(nullptr, desktop.Get(), SHGDN_INFOLDER), GetIconIndex(desktop.Get(), 1), 0)
        .SetData(std::make_unique<TNsShComboData>(folder, nullptr, nullptr));
    level = 1;
  }
  for (const ShellIdList& item : SortedSubfolders(folder)) {
    const ULONG attributes = AttributesOf(folder, item.Get());
    if (!FOptions.Contains(nsscoNonFilesystemAncestors) && !(attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)))
      continue;
    const auto target = static_cast<int>(fill.Target.Count());
    const bool onPath = fill.Matching && target >= level && SameItem(folder, fill.Target.Item(level - 1), item.Get());
    const bool open = onPath && target == level;
    TNsImageComboItem& entry = AddShellEntry(folder, parentList, item.Get(), GetItemName(folder, item.Get(), SHGDN_INFOLDER),
                                             level, open, attributes);
    const auto* data = static_cast<const TNsShComboData*>(entry.Data());
    const bool myComputer = level == 1 && SameItem(folder, item.Get(), fill.MyComputer.Get());
    if (onPath) {
      if (open)
        SetItemIndex(ComboItemCount() - 1);
      else if (!myComputer)
        AddTargetChain(fill, data->AbsoluteIdList(), level);
      // Below My Computer the chain goes on among the drives that follow.
      fill.Matching = myComputer && !open;
    }
    if (myComputer) {
      TComPtr<IShellFolder> drives;
      OleCheck(BindToFolder(data->AbsoluteIdList(), drives));
      AddLevel(fill, drives.Get(), data->AbsoluteIdList(), 2);
    }
  }
}

// Below an entry on the current folder's path only that path is listed, not
// its siblings.
void TNsCustomShellCombo::AddTargetChain(TFillState& fill, const std::uint8_t* parentList, int level) {
  ShellIdList running = CopyIdList(nullptr, parentList);
  const auto target = static_cast<int>(fill.Target.Count());
  for (int index = level; index < target; ++index) {
    TComPtr<IShellFolder> parent;
    if (FAILED(BindToFolder(running.Get(), parent))) break;
    const ShellIdList item = CopyIdList(nullptr, fill.Target.Item(index));
    const bool last = index == target - 1;
    TNsImageComboItem& entry =
        AddShellEntry(parent.Get(), running.Get(), item.Get(),
                      GetItemName(parent.Get(), item.Get(), SHGDN_INFOLDER | SHGDN_FORADDRESSBAR), index + 1, last,
                      AttributesOf(parent.Get(), item.Get()));
    running = CopyIdList(nullptr, static_cast<const TNsShComboData*>(entry.Data())->AbsoluteIdList());
  }
  SetItemIndex(ComboItemCount() - 1);
}

TNsImageComboItem& TNsCustomShellCombo::AddShellEntry(IShellFolder* folder, const std::uint8_t* parentList,
                                                      const std::uint8_t* item, const std::string& text, int indent,
                                                      bool open, ULONG attributes) {
  auto data = std::make_unique<TNsShComboData>(folder, parentList, item);
  const int image = GetIconIndex(data->AbsoluteIdList(), open ? 3 : 1);
  TNsImageComboItem& entry = AddComboItem(text, image, indent);
  entry.SetData(std::move(data));
  if (const int overlay = OverlayOf(attributes); overlay >= 0) entry.SetOverlayIndex(overlay);
  return entry;
}

}  // namespace retrove
