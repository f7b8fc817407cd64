#pragma once

// Part of UNsShellControls: the context menu of one folder of the tree,
// the shell's own commands with the user's Send To entries, kept while it
// is shown so that the tree can hand it the menu's messages.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "Handle.h"
#include "UNsShellUtils.h"

namespace retrove {

class TNsShellContextMenu {
public:
  // The menu of `item` in `folder`, whose absolute list is `folderList`;
  // nullptr when the shell gives the item no menu.
  static std::unique_ptr<TNsShellContextMenu> Build(HWND owner, IShellFolder* folder, const std::uint8_t* folderList,
                                                    const std::uint8_t* item);
  TNsShellContextMenu(const TNsShellContextMenu&) = delete;
  TNsShellContextMenu& operator=(const TNsShellContextMenu&) = delete;

  HMENU Menu() const { return FPopup.Get(); }
  // The submenu the Send To entries go in: the shell's own when it has
  // one, else one of ours.
  HMENU SendToMenu() const { return FSendTo; }
  const std::vector<TSendToEntry>& SendToEntries() const { return FEntries; }

  // A message of the open menu (init-popup, draw-item, measure-item,
  // menu-char, menu-select); true when it was answered in `result`.
  bool HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The help text for the item a WM_MENUSELECT names; "" for the Send To
  // entries, submenus and items the shell has no text for.
  std::string HintOf(WPARAM wParam) const;
  // Carries out what TrackPopupMenu returned; S_FALSE for nothing.
  HRESULT Run(UINT command);

private:
  TNsShellContextMenu(HWND owner, IShellFolder* folder, const std::uint8_t* folderList, const std::uint8_t* item);

  void FindOrAddSendTo();
  void FillSendTo();
  bool MeasureEntry(MEASUREITEMSTRUCT& measure);
  bool DrawEntry(const DRAWITEMSTRUCT& draw);
  bool ForwardToShell(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  HWND FOwner;
  TComPtr<IShellFolder> FFolder;
  ShellIdList FFolderList;
  ShellIdList FItem;
  TComPtr<IContextMenu> FMenu;
  TMenuHandle FPopup;
  HMENU FSendTo = nullptr;
  bool FSendToFilled = false;
  std::vector<TSendToEntry> FEntries;
};

}  // namespace retrove
