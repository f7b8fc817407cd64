#pragma once

// Part of UNsShellControls: what the shell tree keeps for each of its nodes.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "ComPtr.h"
#include "IdList.h"

namespace retrove {

class TNsCustomShellTree;

// One node's shell item: its list relative to the parent folder, and the
// absolute list and folder interface, both worked out on first use. The top
// node has no parent data; its relative list is the base folder's absolute
// list (empty for the Desktop).
class TNsShTreeData {
public:
  // `folder` is given for the top node only (referenced, not adopted).
  TNsShTreeData(TNsCustomShellTree* tree, TNsShTreeData* parent, ShellIdList relIdList, IShellFolder* folder);
  TNsShTreeData(const TNsShTreeData&) = delete;
  TNsShTreeData& operator=(const TNsShTreeData&) = delete;

  TNsCustomShellTree* Tree() const { return FTree; }
  TNsShTreeData* Parent() const { return FParent; }
  const std::uint8_t* RelIdList() const { return FRelIdList.Get(); }
  const std::uint8_t* AbsoluteIdList();
  // None when the item cannot be bound as a folder.
  IShellFolder* Folder();
  // None for the top node.
  IShellFolder* ParentFolder();
  // "" for items outside the file system.
  std::string Path();
  bool CanRename();

  void SetRelIdList(const std::uint8_t* list);
  // Drops the absolute list and the folder, for after a rename above.
  void ForgetCache();
  HRESULT GetDropTarget(HWND owner, TComPtr<IDropTarget>& target);

private:
  TNsCustomShellTree* FTree;
  TNsShTreeData* FParent;
  ShellIdList FRelIdList;
  ShellIdList FAbsoluteIdList;
  TComPtr<IShellFolder> FFolder;
};

}  // namespace retrove
