#include "UNsImageCombo.h"

#include <commctrl.h>

#include "PropertyTable.h"
#include "SysError.h"

namespace retrove {

TNsImageComboItem::TNsImageComboItem(TNsCustomImageCombo& owner, std::string text, int imageIndex, int indentLevel)
    : FOwner(owner), FText(std::move(text)), FImageIndex(imageIndex), FIndentLevel(indentLevel) {}

void TNsImageComboItem::SetOverlayIndex(int index) {
  FOverlayIndex = index;
  FOwner.Invalidate();
}

const TClassInfo& TNsCustomImageCombo::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TNsCustomImageCombo>("TNsCustomImageCombo", TCustomComboBox::StaticClassInfo())
          .Integer("IndentPixels", &TNsCustomImageCombo::IndentPixels, &TNsCustomImageCombo::SetIndentPixels, 12)
          .Build();
  return info;
}

TNsCustomImageCombo::TNsCustomImageCombo(TComponent* owner) : TCustomComboBox(owner) {
  SetStyle(csOwnerDrawFixed);
}

TNsImageComboItem& TNsCustomImageCombo::AddComboItem(const std::string& text, int imageIndex, int indentLevel) {
  FItems.push_back(std::make_unique<TNsImageComboItem>(*this, text, imageIndex, indentLevel));
  TNsImageComboItem& item = *FItems.back();
  // Without CBS_HASSTRINGS the entry's value is the item itself.
  if (HandleAllocated() && Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&item)) < 0) {
    FItems.pop_back();
    RaiseLastOSError();
  }
  return item;
}

TNsImageComboItem* TNsCustomImageCombo::SelectedItem() {
  const int index = HandleAllocated() ? ItemIndex() : -1;
  return index >= 0 && index < ComboItemCount() ? &ComboItem(index) : nullptr;
}

void TNsCustomImageCombo::ClearComboItems() {
  if (HandleAllocated()) Perform(CB_RESETCONTENT, 0, 0);
  std::vector<std::unique_ptr<TNsImageComboItem>> items;
  items.swap(FItems);
  for (auto& item : items) ItemGoing(*item);
}

void TNsCustomImageCombo::ItemGoing(TNsImageComboItem& item) {
  if (OnDeleteItem) OnDeleteItem(*this, item);
}

void TNsCustomImageCombo::SetIndentPixels(int pixels) {
  if (pixels == FIndentPixels) return;
  FIndentPixels = pixels;
  Invalidate();
}

// The texts live in the items, so the window keeps no strings of its own.
void TNsCustomImageCombo::CreateParams(TCreateParams& params) {
  TCustomComboBox::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(CBS_HASSTRINGS);
}

// A window made anew starts empty; the entries are those the control holds.
void TNsCustomImageCombo::HandleCreated() {
  TCustomComboBox::HandleCreated();
  Perform(CB_SETEXTENDEDUI, TRUE, 0);
  for (const auto& item : FItems) Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.get()));
}

void TNsCustomImageCombo::DrawItem(const DRAWITEMSTRUCT& draw) {
  const auto index = static_cast<int>(draw.itemID);
  FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_WINDOW));
  if (index < 0 || index >= ComboItemCount()) return;
  const TNsImageComboItem& item = ComboItem(index);
  // The closed combo shows its entry at the left edge.
  const int indent = (draw.itemState & ODS_COMBOBOXEDIT) ? 0 : item.IndentLevel() * FIndentPixels;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  const int left = draw.rcItem.left + indent;
  int imageWidth = 0;
  if (FImages && FImages->Handle()) {
    imageWidth = FImages->Width();
    UINT style = selected ? ILD_BLEND50 : ILD_NORMAL;
    if (item.OverlayIndex() >= 0) style |= INDEXTOOVERLAYMASK(item.OverlayIndex() + 1);
    ImageList_DrawEx(FImages->Handle(), item.ImageIndex(), draw.hDC, left + 2, draw.rcItem.top, 0, 0, CLR_NONE,
                     selected ? GetSysColor(COLOR_HIGHLIGHT) : CLR_DEFAULT, style);
  }
  if (item.Text().empty()) return;
  SIZE extent{};
  GetTextExtentPoint32A(draw.hDC, item.Text().c_str(), static_cast<int>(item.Text().size()), &extent);
  RECT text{left + imageWidth + 5, draw.rcItem.top, left + imageWidth + 5 + extent.cx + 3, draw.rcItem.bottom};
  FillRect(draw.hDC, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  TextOutA(draw.hDC, text.left + 1, text.top + 1, item.Text().c_str(), static_cast<int>(item.Text().size()));
  if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &text);
}

}  // namespace retrove
