// Part of UNsShellControls: the tree's keys, context menu, renaming and
// custom drawing.

#include <windowsx.h>

#include "Screen.h"
#include "ShellCombo.h"
#include "ShellTreeMenu.h"
#include "SysError.h"
#include "UNsShellControls.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

TKeyModifiers HeldModifiers() {
  return TKeyModifiers{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

bool IsMenuMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_MENUSELECT:
      return true;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return wParam == 0;  // controls give their id here, menus none
  }
  return false;
}

}  // namespace

bool TNsCustomShellTree::KeyDown(WPARAM key) {
  const TTreeKeyCommand command = TreeKeyCommand(static_cast<unsigned>(key), HeldModifiers());
  HTREEITEM selected = Selected();
  switch (command) {
    case TTreeKeyCommand::None:
    case TTreeKeyCommand::ContextMenu:
      // The system turns the menu keys into WM_CONTEXTMENU.
      return false;
    case TTreeKeyCommand::Rename:
      if (ReadOnly() || !selected) return false;
      EditLabel(selected);
      return true;
    case TTreeKeyCommand::Refresh:
      Resync();
      return true;
    default:
      if (selected) RunVerb(selected, VerbOf(command));
      return true;
  }
}

void TNsCustomShellTree::RunVerb(HTREEITEM node, const std::string& verb) {
  TNsShTreeData* data = NodeData(node);
  IShellFolder* parent = data ? data->ParentFolder() : nullptr;
  if (!parent) return;
  // The shell's dialogs let messages through; a refresh meanwhile may free
  // the node and what it holds.
  parent->AddRef();
  TComPtr<IShellFolder> folder(parent);
  const ShellIdList item = CopyIdList(nullptr, data->RelIdList());
  HWND owner = OwnerFormHandle(Hwnd());
  TComPtr<IContextMenu> menu;
  TMenuHandle popup;
  LPCITEMIDLIST one = AsItemIdList(item.Get());
  OleCheck(GetContextMenu(owner, folder.Get(), 1, &one, CMF_EXPLORE, kFirstShellCommandId, menu, popup));
  const int offset = FindVerbCommand(owner, menu.Get(), verb);
  if (offset < 0) return;
  // The shell reports its own failures; a cancelled command is no failure.
  InvokeCommand(owner, menu.Get(), static_cast<UINT>(offset));
}

bool TNsCustomShellTree::ContextMenuRequested(LPARAM position) {
  if (!FOptions.Contains(nsstoContextMenus)) return false;
  HTREEITEM node;
  POINT screen;
  if (position == -1) {  // from the keyboard: the selected node's label
    node = Selected();
    if (!node) return true;
    const RECT label = LabelRect(node);
    screen = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ClientToScreen(Hwnd(), &screen);
  } else {
    screen = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    POINT client = screen;
    ScreenToClient(Hwnd(), &client);
    node = NodeAt(client);
  }
  if (node) ShowContextMenu(node, screen);
  return true;
}

void TNsCustomShellTree::ShowContextMenu(HTREEITEM node, POINT screen) {
  TNsShTreeData* data = NodeData(node);
  IShellFolder* parent = data ? data->ParentFolder() : nullptr;
  if (!parent || FContextMenu) return;
  FContextMenu = TNsShellContextMenu::Build(OwnerFormHandle(Hwnd()), parent, data->Parent()->AbsoluteIdList(),
                                            data->RelIdList());
  if (!FContextMenu) return;
  const auto command = static_cast<UINT>(TrackPopupMenu(FContextMenu->Menu(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                        screen.x, screen.y, 0, Hwnd(), nullptr));
  const std::unique_ptr<TNsShellContextMenu> shown = std::move(FContextMenu);
  shown->Run(command);
}

bool TNsCustomShellTree::MenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!FContextMenu || !IsMenuMessage(message, wParam)) return false;
  if (message == WM_MENUSELECT && OnPopupHint) OnPopupHint(*this, FContextMenu->HintOf(wParam));
  return FContextMenu->HandleMenuMessage(message, wParam, lParam, result);
}

bool TNsCustomShellTree::CanEdit(HTREEITEM node) {
  if (ReadOnly()) return false;
  TNsShTreeData* data = NodeData(node);
  return data && data->CanRename() && TNsCustomTreeView::CanEdit(node);
}

void TNsCustomShellTree::Edit(HTREEITEM node, const std::string& text) {
  std::string edited = text;
  if (OnEdited) OnEdited(*this, node, edited);
  Rename(node, edited);
}

bool TNsCustomShellTree::Rename(HTREEITEM node, const std::string& text) {
  TNsShTreeData* data = NodeData(node);
  IShellFolder* parent = data ? data->ParentFolder() : nullptr;
  wchar_t wide[MAX_PATH + 1];
  if (!parent || text.empty() || !ToWide(text, wide)) return false;
  TCursorGuard cursor(crHourGlass);
  TSuppressGuard suppress(*this);
  // The rename's own change notice would only refresh what is set here.
  FIgnoreNextChange = true;
  LPITEMIDLIST renamed = nullptr;
  const HRESULT status =
      parent->SetNameOf(OwnerFormHandle(Hwnd()), AsItemIdList(data->RelIdList()), wide, SHGDN_INFOLDER, &renamed);
  const ShellIdList item = AdoptIdList(renamed);
  if (FAILED(status) || !item) {
    // No notice is coming for a failed rename; one that gave no item is
    // left to the refresh its notice brings.
    FIgnoreNextChange = false;
    return false;
  }
  ForgetCacheBelow(node);
  data->SetRelIdList(item.Get());
  SetText(node, text);
  if (node == Selected()) {
    FCurrentFolder.SetIdList(data->AbsoluteIdList());
    if (FCombo) FCombo->TreeSelectionChanged(node);
  }
  return true;
}

void TNsCustomShellTree::ForgetCacheBelow(HTREEITEM node) {
  for (HTREEITEM child = FirstChild(node); child; child = NextSibling(child)) {
    if (TNsShTreeData* data = NodeData(child)) data->ForgetCache();
    ForgetCacheBelow(child);
  }
}

LRESULT TNsCustomShellTree::CustomDraw(TNsCustomDraw& draw) {
  HTREEITEM node = draw.Node();
  auto* data = node ? reinterpret_cast<TNsShTreeData*>(draw.Record().nmcd.lItemlParam) : nullptr;
  if (OnCustomDrawShEx) OnCustomDrawShEx(*this, draw, node, data);
  if (OnCustomDrawSh && draw.Stage() == TNsDrawStage::ItemPrePaint) OnCustomDrawSh(*this, draw, node, data);
  LRESULT result = draw.Result();
  if (draw.Stage() == TNsDrawStage::PrePaint) result |= CDRF_NOTIFYITEMDRAW;
  return result;
}

}  // namespace retrove
