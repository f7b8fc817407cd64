#pragma once

#include <string>

#include "WinControl.h"

namespace retrove {

// A one-line text box. Text is what the box holds now, typed or set.
class TEdit : public TWinControl {
public:
  explicit TEdit(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  std::string Text();
  void SetText(const std::string& text);
  // Selects all of the text, as a dialog does for the box it opens on.
  void SelectAll();

protected:
  void CreateParams(TCreateParams& params) override;
};

}  // namespace retrove
