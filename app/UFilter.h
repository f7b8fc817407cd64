#pragma once

#include <string>

#include "Button.h"
#include "Edit.h"
#include "Form.h"
#include "Label.h"

namespace retrove {

// Asks which deleted files the list shows: wildcard patterns for their
// names.
class TFFilter : public TForm {
public:
  explicit TFFilter(TComponent* owner);

  // Opens on `pattern`; true, with the patterns typed, when the user chose
  // OK.
  bool Execute(std::string& pattern);

  TLabel* LPrompt;
  TEdit* EPattern;
  TLabel* LHint;
  TButton* BOk;
  TButton* BCancel;
};

}  // namespace retrove
