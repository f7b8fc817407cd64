#include "Menus.h"

#include "Application.h"

namespace retrove {

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info("TMenu", &TComponent::StaticClassInfo(), {});
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
  FRoot.FMenu = this;
}

TMenu::~TMenu() {
  FRoot.FMenu = nullptr;
}

HMENU TMenu::Handle() {
  if (!FHandle) Build();
  return FHandle.Get();
}

void TMenu::Build() {
  FHandle.Reset(NewMenu());
  FRoot.FSubMenu = FHandle.Get();
  UINT nextCommand = 1;
  for (TMenuItem* item : FRoot.FItems) item->AppendTo(FHandle.Get(), nextCommand);
}

void TMenu::Rebuild() {
  if (!FHandle) return;
  TMenuHandle previous = std::move(FHandle);
  Build();
  MenuRebuilt();
}

TMenuItem* TMenu::FindItem(UINT command) {
  return command ? FRoot.FindCommand(command) : nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (!shortCut) return false;
  TMenuItem* item = FRoot.FindShortCut(shortCut);
  if (!item || !item->Enabled()) return false;
  item->Click();
  return true;
}

const TClassInfo& TMainMenu::StaticClassInfo() {
  static const TClassInfo info("TMainMenu", &TMenu::StaticClassInfo(), {});
  return info;
}

TMainMenu::~TMainMenu() {
  Detach();
}

void TMainMenu::AttachTo(HWND window) {
  FWindow = window;
  ::SetMenu(window, Handle());
}

void TMainMenu::Detach() {
  if (FWindow && IsWindow(FWindow)) ::SetMenu(FWindow, nullptr);
  FWindow = nullptr;
}

void TMainMenu::MenuRebuilt() {
  if (FWindow) ::SetMenu(FWindow, Handle());
}

void TMainMenu::ItemChanged() {
  if (FWindow) DrawMenuBar(FWindow);
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info("TPopupMenu", &TMenu::StaticClassInfo(), {});
  return info;
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  if (OnPopup) OnPopup(*this);
  if (!owner) owner = Application.DialogOwner();
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
  if (owner) PostMessageA(owner, WM_NULL, 0, 0);
  DispatchCommand(command);
}

}  // namespace retrove
