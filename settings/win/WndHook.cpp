#include "WndHook.h"

#include "ControlHook.h"
#include "Form.h"
#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TWindowHook::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TWindowHook>("TWindowHook", TComponent::StaticClassInfo())
                                     .Boolean("Active", &TWindowHook::Active, &TWindowHook::SetActive, true)
                                     .Boolean("IsForm", &TWindowHook::IsForm, &TWindowHook::SetIsForm, false)
                                     .Build();
  return info;
}

TWindowHook::TWindowHook(TComponent* owner) : TComponent(owner) {}

TWindowHook::~TWindowHook() {
  Destroying();
  SetWinControl(nullptr);
  Detach();
}

void TWindowHook::SetActive(bool active) {
  if (active)
    Attach();
  else
    Detach();
}

void TWindowHook::SetWinControl(TWinControl* control) {
  if (control == FWinControl) return;
  const bool wasActive = FActive;
  Detach();
  if (FWinControl) FWinControl->RemoveFreeNotification(this);
  FWinControl = control;
  if (FWinControl) FWinControl->FreeNotification(this);
  if (wasActive) Attach();
}

bool TWindowHook::IsForm() const {
  return FWinControl && FWinControl == Owner();
}

void TWindowHook::SetIsForm(bool isForm) {
  if (!isForm) return;
  if (auto* form = dynamic_cast<TForm*>(Owner())) SetWinControl(form);
}

// Attaching makes the control's window, which must wait until the
// description has been read in full.
void TWindowHook::Loaded() {
  TComponent::Loaded();
  if (FActive) Attach();
}

void TWindowHook::Attach() {
  FActive = true;
  if (!FWinControl || FControlHook || ComponentState().Contains(csLoading)) return;
  if (ComponentState().Contains(csDestroying) || FWinControl->ComponentState().Contains(csDestroying)) return;
  TControlHook& hook = THookList::Instance().Acquire(*FWinControl);
  FControlHook = &hook;
  hook.Add(*this);
}

void TWindowHook::Detach() {
  FActive = false;
  TControlHook* hook = FControlHook;
  if (!hook) return;
  FControlHook = nullptr;
  hook->Remove(*this);
  if (hook->Empty()) THookList::Instance().Release(*hook);
}

void TWindowHook::Forget() {
  FControlHook = nullptr;
  FActive = false;
}

void TWindowHook::DoBeforeMessage(TMessage& msg, bool& handled) {
  if (FWinControl && BeforeMessage) BeforeMessage(*this, msg, handled);
}

void TWindowHook::DoAfterMessage(TMessage& msg, bool& handled) {
  if (FWinControl && AfterMessage) AfterMessage(*this, msg, handled);
}

void TWindowHook::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FWinControl) SetWinControl(nullptr);
}

}  // namespace retrove
