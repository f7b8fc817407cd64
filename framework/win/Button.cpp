#include "Button.h"

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TButton::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TButton>("TButton", TWinControl::StaticClassInfo())
          .String("Caption", &TButton::Caption, &TButton::SetCaption)
          .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
          .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
          .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone)
          .Build();
  return info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool isDefault) {
  FDefault = isDefault;
  if (HandleAllocated()) SendMessageA(Hwnd(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = "BUTTON";
  params.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

bool TButton::OnCommand(WORD code, WORD) {
  if (code != BN_CLICKED) return false;
  Click();
  return true;
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TForm* form = ParentForm()) form->SetModalResult(FModalResult);
  if (OnClick) OnClick(*this);
}

}  // namespace retrove
