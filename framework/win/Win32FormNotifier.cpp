#include "Win32FormNotifier.h"

#include <windows.h>

#include "Form.h"

namespace retrove {

void TWin32FormNotifier::NotifyControls(TComponent& owner, uint32_t message) {
  auto* form = dynamic_cast<TForm*>(&owner);
  if (!form) return;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* control = dynamic_cast<TWinControl*>(form->Components(i))) SendMessageA(control->Handle(), message, 0, 0);
}

}  // namespace retrove
