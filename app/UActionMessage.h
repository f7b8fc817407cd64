#pragma once

#include <string>

#include "Animate.h"
#include "Form.h"
#include "Label.h"

namespace retrove {

// The small window shown while files are brought back.
class TFActionMessage : public TForm {
public:
  explicit TFActionMessage(TComponent* owner);

  TAnimate* Animate1;
  TLabel* LActionMessage;
};

extern TFActionMessage* FActionMessage;

void ShowActionMessage();
void SetActionMessage(const std::string& text);
void CloseActionMessage();

}  // namespace retrove
