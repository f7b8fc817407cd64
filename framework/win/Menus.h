#pragma once

#include <windows.h>

#include "Handle.h"
#include "MenuItem.h"

namespace retrove {

// A tree of menu items under Items(), and the HMENU tree made from it on
// first use and made again when items are added or removed.
class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TMenuItem& Items() { return FRoot; }
  HMENU Handle();

  TMenuItem* FindItem(UINT command);
  // Clicks the item of a command id; false when no item has it.
  bool DispatchCommand(UINT command);
  // Clicks the enabled item with this shortcut; false when there is none.
  bool IsShortCut(TShortCut shortCut);

protected:
  virtual HMENU NewMenu() const = 0;
  // The handle was made again.
  virtual void MenuRebuilt() {}
  // An item's caption or state changed in place.
  virtual void ItemChanged() {}

private:
  friend class TMenuItem;
  void Build();
  void Rebuild();

  TMenuHandle FHandle;
  TMenuItem FRoot{nullptr};
};

// The menu bar of a form.
class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  ~TMainMenu() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  void AttachTo(HWND window);
  void Detach();

protected:
  HMENU NewMenu() const override { return CreateMenu(); }
  void MenuRebuilt() override;
  void ItemChanged() override;

private:
  HWND FWindow = nullptr;
};

// A context menu; an item chosen from it is clicked after the menu closes.
class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Shows the menu at a screen position; `owner` gets the menu's messages.
  void Popup(int x, int y, HWND owner = nullptr);

  // Runs just before the menu is shown.
  TNotifyEvent OnPopup;

protected:
  HMENU NewMenu() const override { return CreatePopupMenu(); }
};

}  // namespace retrove
