#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Control.h"
#include "ShortCut.h"

namespace retrove {

class TMenu;

// One command of a menu, or a line ("-"), or a sub-menu when it has items.
// Items are owned like other components (by their form); the menu they
// hang in only refers to them. Ticking a radio item clears the other radio
// items of its group index under the same parent.
class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool radioItem);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int groupIndex) { FGroupIndex = groupIndex; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut shortCut);
  int ShortCutOrdinal() const { return FShortCut; }
  void SetShortCutOrdinal(int shortCut) { SetShortCut(static_cast<TShortCut>(shortCut)); }
  bool IsLine() const { return FCaption == "-"; }

  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;

  // The command id while the menu's handle exists; 0 before.
  UINT Command() const { return FCommand; }
  virtual void Click();

  TNotifyEvent OnClick;

private:
  friend class TMenu;

  TMenu* RootMenu() const;
  void Changed();
  void StructureChanged();
  void AppendTo(HMENU menu, UINT& nextCommand);
  MENUITEMINFOA Info(std::string& text) const;
  TMenuItem* FindCommand(UINT command);
  TMenuItem* FindShortCut(TShortCut shortCut);

  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  TShortCut FShortCut = 0;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;   // set on a menu's root item only
  HMENU FSubMenu = nullptr;  // borrowed: the menu owns the whole tree
  UINT FCommand = 0;
};

}  // namespace retrove
