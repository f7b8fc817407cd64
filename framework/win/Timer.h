#pragma once

#include "Control.h"
#include "Window.h"

namespace retrove {

// Runs OnTimer every Interval milliseconds while Enabled, on the GUI thread.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  int Interval() const { return FInterval; }
  void SetInterval(int milliseconds);

  TNotifyEvent OnTimer;

private:
  // The hidden window that receives WM_TIMER.
  class TTimerWindow : public TWindow {
  public:
    explicit TTimerWindow(TTimer& timer);

  protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    TTimer& FTimer;
  };

  void UpdateTimer();

  bool FEnabled = true;
  int FInterval = 1000;
  TTimerWindow FWindow;
};

}  // namespace retrove
