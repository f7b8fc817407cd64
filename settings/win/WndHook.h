#pragma once

#include <windows.h>

#include <functional>

#include "Component.h"
#include "WinControl.h"

namespace retrove {

class TControlHook;

// One window message as the hook handlers see it; Result is what the window
// procedure answers.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

using THookMessageEvent = std::function<void(TObject& sender, TMessage& msg, bool& handled)>;

// Sees every message of a windowed control before and after the control's
// own window procedure, and may change its result, without deriving from
// the control. Several hooks may watch one control; the one attached last
// is asked first.
//
// When the control's window is re-created, the new window is hooked again
// once the re-creation is over (through a posted message). A control whose
// window is destroyed and not made again stays unhooked until a hook is
// attached to it anew.
class TWindowHook : public TComponent {
public:
  explicit TWindowHook(TComponent* owner);
  ~TWindowHook() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool Active() const { return FActive; }
  void SetActive(bool active);
  TWinControl* WinControl() const { return FWinControl; }
  void SetWinControl(TWinControl* control);
  // Whether the hook has joined the subclassing of its control.
  bool Attached() const { return FControlHook != nullptr; }

  // Stands in for WinControl in a stored description when the watched
  // control is the owning form, which a description cannot name.
  bool IsForm() const;
  void SetIsForm(bool isForm);

  void Loaded() override;

  THookMessageEvent BeforeMessage;
  THookMessageEvent AfterMessage;

protected:
  virtual void DoBeforeMessage(TMessage& msg, bool& handled);
  virtual void DoAfterMessage(TMessage& msg, bool& handled);
  void Notification(TComponent* component, TOperation operation) override;

private:
  void Attach();
  void Detach();
  // The control hook is going away on its own (the hook list ends).
  void Forget();

  bool FActive = true;
  TWinControl* FWinControl = nullptr;
  TControlHook* FControlHook = nullptr;

  friend class TControlHook;
};

}  // namespace retrove
