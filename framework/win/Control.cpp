#include "Control.h"

#include "Form.h"
#include "Menus.h"
#include "PropertyTable.h"
#include "WinControl.h"

namespace retrove {

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TControl>("TControl", TComponent::StaticClassInfo())
          .Integer("Left", &TControl::Left, &TControl::SetLeft)
          .Integer("Top", &TControl::Top, &TControl::SetTop)
          .Integer("Width", &TControl::Width, &TControl::SetWidth)
          .Integer("Height", &TControl::Height, &TControl::SetHeight)
          .Enumeration("Align", &TControl::Align, &TControl::SetAlign,
                       {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, alNone)
          .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true)
          .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
          .String("Hint", &TControl::Hint, &TControl::SetHint)
          .Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false)
          .Object("Font", &TControl::FontObject)
          .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
          .Integer("Color", &TControl::Color, &TControl::SetColor)
          .Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
          .Build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  FFont.OnChange = [this] {
    if (!FTakingParentFont) FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  FFont.OnChange = nullptr;
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  FParent = nullptr;
  if (parent) parent->InsertControl(this);
  FParent = parent;
  if (FParent) {
    ParentFontChanged();
    FParent->ControlInserted(this);
  }
}

TForm* TControl::ParentForm() const {
  const TControl* control = this;
  while (control->FParent) control = control->FParent;
  return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  StoreBounds(left, top, width, height);
  BoundsChanged();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
  const bool resized = width != FWidth || height != FHeight;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (resized && FAlign != alNone) RequestAlign();
}

void TControl::SetAlign(TAlign align) {
  if (align == FAlign) return;
  FAlign = align;
  RequestAlign();
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  VisibleChanged();
  if (FAlign != alNone) RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  EnabledChanged();
}

void TControl::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  CaptionChanged();
}

void TControl::SetHint(const std::string& hint) {
  if (hint == FHint) return;
  FHint = hint;
  HintChanged();
}

void TControl::SetShowHint(bool showHint) {
  if (showHint == FShowHint) return;
  FShowHint = showHint;
  HintChanged();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::SetParentFont(bool parentFont) {
  if (parentFont == FParentFont) return;
  FParentFont = parentFont;
  if (parentFont) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FTakingParentFont = true;
  FFont.Assign(FParent->Font());
  FTakingParentFont = false;
}

TColor TControl::Color() const {
  if (FParentColor && FParent) return FParent->Color();
  return FColor;
}

void TControl::SetColor(TColor color) {
  FColor = color;
  FParentColor = false;
  ColorChanged();
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor == FParentColor) return;
  FParentColor = parentColor;
  ColorChanged();
}

void TControl::RequestAlign() {
  if (FParent) FParent->Realign();
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

}  // namespace retrove
