#pragma once

#include "FormNotice.h"

namespace retrove {

// Tells a form's windowed controls by SendMessage, creating a control's
// window first when it has none.
class TWin32FormNotifier : public IFormNotifier {
public:
  void NotifyControls(TComponent& owner, uint32_t message) override;
};

}  // namespace retrove
