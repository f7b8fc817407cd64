#include "Timer.h"

#include "PropertyTable.h"

namespace retrove {

namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

TTimer::TTimerWindow::TTimerWindow(TTimer& timer) : FTimer(timer) {
  TCreateParams params;
  params.ClassName = "Retrove.TimerWindow";
  params.X = params.Y = params.Width = params.Height = 0;
  params.Parent = HWND_MESSAGE;
  CreateWindowHandle(params);
}

LRESULT TTimer::TTimerWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (FTimer.OnTimer) FTimer.OnTimer(FTimer);
    return 0;
  }
  return TWindow::WndProc(message, wParam, lParam);
}

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TTimer>("TTimer", TComponent::StaticClassInfo())
                                     .Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
                                     .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
                                     .Build();
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), FWindow(*this) {
  UpdateTimer();
}

TTimer::~TTimer() {
  KillTimer(FWindow.Hwnd(), kTimerId);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds == FInterval) return;
  FInterval = milliseconds;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(FWindow.Hwnd(), kTimerId);
  if (FEnabled && FInterval > 0) SetTimer(FWindow.Hwnd(), kTimerId, static_cast<UINT>(FInterval), nullptr);
}

}  // namespace retrove
