#include "ToolButton.h"

#include "PropertyTable.h"
#include "ToolBar.h"

namespace retrove {

const TClassInfo& TToolButton::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TToolButton>("TToolButton", TComponent::StaticClassInfo())
          .Enumeration("Style", &TToolButton::Style, &TToolButton::SetStyle, {"tbsButton", "tbsCheck", "tbsSeparator"},
                       tbsButton)
          .Boolean("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped, false)
          .Boolean("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp, false)
          .Boolean("Down", &TToolButton::Down, &TToolButton::SetDown, false)
          .Boolean("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled, true)
          .Integer("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex, -1)
          .String("Hint", &TToolButton::Hint, &TToolButton::SetHint)
          .Integer("Width", &TToolButton::Width, &TToolButton::SetWidth)
          .Build();
  return info;
}

TToolButton::TToolButton(TComponent* owner, TToolBar& toolBar) : TComponent(owner), FToolBar(&toolBar) {
  FToolBar->AddButton(this);
}

TToolButton::~TToolButton() {
  if (FToolBar) FToolBar->RemoveButton(this);
}

void TToolButton::SetStyle(TToolButtonStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  if (FToolBar) FToolBar->ButtonsChanged();
}

void TToolButton::SetDown(bool down) {
  if (down == FDown) return;
  FDown = down;
  if (down && FGrouped && FToolBar) FToolBar->ReleaseOthersInGroup(*this);
  Changed();
}

void TToolButton::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Changed();
}

void TToolButton::SetImageIndex(int index) {
  if (index == FImageIndex) return;
  FImageIndex = index;
  if (FToolBar) FToolBar->ButtonsChanged();
}

void TToolButton::SetWidth(int width) {
  if (width == FWidth) return;
  FWidth = width;
  if (FToolBar) FToolBar->ButtonsChanged();
}

void TToolButton::SetControl(TWinControl* control) {
  FControl = control;
  if (!control) return;
  control->FreeNotification(this);
  FStyle = tbsSeparator;
  FWidth = control->Width();
  control->SetParent(FToolBar);
  if (FToolBar) FToolBar->ButtonsChanged();
}

void TToolButton::Click() {
  if (FStyle == tbsCheck) {
    bool down = !FDown;
    if (!down && FGrouped && !FAllowAllUp) down = true;
    SetDown(down);
    Changed();  // the control toggled its own state; ours is the one that counts
  }
  if (OnClick) OnClick(*this);
}

void TToolButton::Changed() {
  if (FToolBar) FToolBar->UpdateButton(*this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FControl) FControl = nullptr;
}

}  // namespace retrove
