#include "ComboBox.h"

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TCustomComboBox::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TCustomComboBox>("TCustomComboBox", TWinControl::StaticClassInfo())
          .Enumeration("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle,
                       {"csDropDown", "csDropDownList", "csOwnerDrawFixed"}, csDropDown)
          .Integer("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount, 8)
          .Integer("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight, 16)
          .Build();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  FStyle = style;
  RecreateWnd();
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = "COMBOBOX";
  params.Style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case csDropDown: params.Style |= CBS_DROPDOWN | CBS_HASSTRINGS; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST | CBS_HASSTRINGS; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
  }
  // The window's height includes the drop-down list.
  params.Height = Height() + FDropDownCount * FItemHeight + 2;
}

int TCustomComboBox::AddItem(const std::string& text, LPARAM data) {
  const auto index = Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Perform(CB_SETITEMDATA, static_cast<WPARAM>(index), data);
  return static_cast<int>(index);
}

void TCustomComboBox::DeleteItem(int index) {
  ItemDeleted(index, ItemData(index));
  Perform(CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TCustomComboBox::Clear() {
  while (ItemCount() > 0) DeleteItem(ItemCount() - 1);
}

int TCustomComboBox::ItemCount() {
  return static_cast<int>(Perform(CB_GETCOUNT, 0, 0));
}

std::string TCustomComboBox::ItemText(int index) {
  const auto length = Perform(CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  Perform(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

LPARAM TCustomComboBox::ItemData(int index) {
  return Perform(CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

int TCustomComboBox::ItemIndex() {
  return static_cast<int>(Perform(CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int index) {
  Perform(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TCustomComboBox::DroppedDown() {
  return Perform(CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::Fire(const TNotifyEvent& event) {
  if (event) event(*this);
}

bool TCustomComboBox::OnCommand(WORD code, WORD) {
  switch (code) {
    case CBN_SELCHANGE: Fire(OnChange); return true;
    case CBN_DROPDOWN: Fire(OnDropDown); return true;
    case CBN_CLOSEUP: Fire(OnCloseUp); return true;
    case CBN_SELENDOK: Fire(OnSelEndOk); return true;
    case CBN_SELENDCANCEL: Fire(OnSelEndCancel); return true;
  }
  return false;
}

bool TCustomComboBox::OnOwnerDraw(UINT message, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(FItemHeight);
      result = TRUE;
      return true;
  }
  return false;
}

}  // namespace retrove
