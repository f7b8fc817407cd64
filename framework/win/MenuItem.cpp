#include "MenuItem.h"

#include <algorithm>

#include "Menus.h"
#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TMenuItem>("TMenuItem", TComponent::StaticClassInfo())
          .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
          .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
          .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
          .Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
          .Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
          .Integer("ShortCut", &TMenuItem::ShortCutOrdinal, &TMenuItem::SetShortCutOrdinal, 0)
          .Build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  for (TMenuItem* item : FItems) item->FParent = nullptr;
}

void TMenuItem::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  const bool kindChanged = IsLine() != (caption == "-");
  FCaption = caption;
  if (kindChanged)
    StructureChanged();
  else
    Changed();
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == FChecked) return;
  FChecked = checked;
  if (checked && FRadioItem && FParent) {
    for (TMenuItem* sibling : FParent->FItems) {
      if (sibling == this || !sibling->FRadioItem || sibling->FGroupIndex != FGroupIndex || !sibling->FChecked)
        continue;
      sibling->FChecked = false;
      sibling->Changed();
    }
  }
  Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Changed();
}

void TMenuItem::SetRadioItem(bool radioItem) {
  if (radioItem == FRadioItem) return;
  FRadioItem = radioItem;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  if (shortCut == FShortCut) return;
  FShortCut = shortCut;
  Changed();
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->FParent) item->FParent->Remove(item);
  FItems.push_back(item);
  item->FParent = this;
  StructureChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
  if (item->FParent != this) return;
  FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
  item->FParent = nullptr;
  StructureChanged();
}

int TMenuItem::MenuIndex() const {
  if (!FParent) return -1;
  const auto& siblings = FParent->FItems;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

TMenu* TMenuItem::RootMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::Changed() {
  if (!FParent || !FParent->FSubMenu) return;
  std::string text;
  MENUITEMINFOA info = Info(text);
  SetMenuItemInfoA(FParent->FSubMenu, static_cast<UINT>(MenuIndex()), TRUE, &info);
  if (TMenu* menu = RootMenu()) menu->ItemChanged();
}

void TMenuItem::StructureChanged() {
  TMenu* menu = RootMenu();
  if (menu && !menu->ComponentState().Contains(csDestroying)) menu->Rebuild();
}

void TMenuItem::AppendTo(HMENU menu, UINT& nextCommand) {
  FCommand = nextCommand++;
  FSubMenu = nullptr;
  if (!FItems.empty()) {
    FSubMenu = CreatePopupMenu();
    for (TMenuItem* item : FItems) item->AppendTo(FSubMenu, nextCommand);
  }
  std::string text;
  MENUITEMINFOA info = Info(text);
  InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

MENUITEMINFOA TMenuItem::Info(std::string& text) const {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  info.wID = FCommand;
  info.hSubMenu = FSubMenu;
  info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_DISABLED);
  if (IsLine()) {
    info.fType = MFT_SEPARATOR;
    return info;
  }
  info.fType = MFT_STRING | (FRadioItem ? MFT_RADIOCHECK : 0);
  text = FCaption;
  if (const std::string key = ShortCutToText(FShortCut); !key.empty()) text += "\t" + key;
  info.fMask |= MIIM_STRING;
  info.dwTypeData = text.data();
  return info;
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
  if (FCommand == command && FParent) return this;
  for (TMenuItem* item : FItems)
    if (TMenuItem* found = item->FindCommand(command)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
  for (TMenuItem* item : FItems) {
    if (item->FShortCut == shortCut) return item;
    if (TMenuItem* found = item->FindShortCut(shortCut)) return found;
  }
  return nullptr;
}

}  // namespace retrove
