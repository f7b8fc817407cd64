#pragma once

// The folder combo box of the shell namespace controls: the Desktop, its
// folders, My Computer's drives and the chain down to the current folder.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>

#include "ComPtr.h"
#include "IdList.h"
#include "ImageList.h"
#include "Set.h"
#include "ShellLocator.h"
#include "UNsImageCombo.h"

namespace retrove {

class TNsCustomShellTree;
class TNsIdListArray;

enum class TNsShellComboOption { nsscoAutofill, nsscoNonFilesystemAncestors };
inline constexpr TNsShellComboOption nsscoAutofill = TNsShellComboOption::nsscoAutofill;
inline constexpr TNsShellComboOption nsscoNonFilesystemAncestors = TNsShellComboOption::nsscoNonFilesystemAncestors;
using TNsShellComboOptions = TSet<TNsShellComboOption>;

// What a shell entry stands for: an item of `Folder`, whose absolute list
// is ParentList + Item (none for the Desktop itself).
class TNsShComboData : public TObject {
public:
  TNsShComboData(IShellFolder* folder, const std::uint8_t* parentList, const std::uint8_t* item);

  IShellFolder* Folder() const { return FFolder.Get(); }
  const std::uint8_t* Item() const { return FItem.Get(); }
  const std::uint8_t* AbsoluteIdList() const { return FAbsolute.Get(); }

private:
  TComPtr<IShellFolder> FFolder;
  ShellIdList FParentList;
  ShellIdList FItem;
  ShellIdList FAbsolute;
};

class TNsCustomShellCombo : public TNsCustomImageCombo {
public:
  explicit TNsCustomShellCombo(TComponent* owner);
  ~TNsCustomShellCombo() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // The tree kept in step: it selects what is chosen here, and its
  // selection is shown here.
  TNsCustomShellTree* ShellTree() const { return FShellTree; }
  void SetShellTree(TNsCustomShellTree* tree);
  TNsShellComboOptions Options() const { return FOptions; }
  void SetOptions(TNsShellComboOptions options) { FOptions = options; }
  TNsShellLocator& CurrentFolder() { return FCurrentFolder; }

  // Makes the entries anew for CurrentFolder.
  void FillCombo();
  // The linked tree selected `node`.
  void TreeSelectionChanged(HTREEITEM node);

protected:
  void HandleCreated() override;
  void Loaded() override;
  bool OnCommand(WORD code, WORD id) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  class TReentryGuard;
  struct TFillState;

  void FolderChanged();
  void EntryChosen();
  void AddLevel(TFillState& fill, IShellFolder* folder, const std::uint8_t* parentList, int level);
  void AddTargetChain(TFillState& fill, const std::uint8_t* parentList, int level);
  TNsImageComboItem& AddShellEntry(IShellFolder* folder, const std::uint8_t* parentList, const std::uint8_t* item,
                                   const std::string& text, int indent, bool open, ULONG attributes);

  std::unique_ptr<TImageList> FImageList;
  TNsShellLocator FCurrentFolder;
  TNsCustomShellTree* FShellTree = nullptr;
  TNsShellComboOptions FOptions{nsscoAutofill, nsscoNonFilesystemAncestors};
  int FReentry = 0;
};

// The folder combo box as forms use it.
class TNsShellCombo : public TNsCustomShellCombo {
public:
  explicit TNsShellCombo(TComponent* owner) : TNsCustomShellCombo(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

}  // namespace retrove
