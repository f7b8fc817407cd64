#pragma once

#include "Form.h"
#include "WinControl.h"

namespace retrove {

// A push button. Enter presses the form's Default button and Escape its
// Cancel button; a ModalResult ends the form's ShowModal with that result.
class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool Default() const { return FDefault; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool cancel) { FCancel = cancel; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult result) { FModalResult = result; }

  virtual void Click();

protected:
  void CreateParams(TCreateParams& params) override;
  bool OnCommand(WORD code, WORD id) override;

private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

}  // namespace retrove
