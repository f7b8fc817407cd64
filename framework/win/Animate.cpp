#include "Animate.h"

#include <commctrl.h>

#include <algorithm>

#include "PropertyTable.h"

namespace retrove {

namespace {

// The animation resources of shell32.
constexpr int kCopyFileAnimation = 161;

}  // namespace

const TClassInfo& TAnimate::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TAnimate>("TAnimate", TWinControl::StaticClassInfo())
          .Enumeration("CommonAVI", &TAnimate::CommonAVI, &TAnimate::SetCommonAVI, {"aviNone", "aviCopyFile"}, aviNone)
          .Boolean("Active", &TAnimate::Active, &TAnimate::SetActive, false)
          .Integer("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame, 1)
          .Integer("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame, 0)
          .Integer("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions, 0)
          .Build();
  return info;
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 100, 80);
}

TAnimate::~TAnimate() { DestroyWindowHandle(); }

void TAnimate::SetCommonAVI(TCommonAVI avi) {
  FCommonAVI = avi;
  if (HandleAllocated()) Open();
}

void TAnimate::SetActive(bool active) {
  FActive = active;
  UpdatePlaying();
}

void TAnimate::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = ANIMATE_CLASSA;
  params.Style |= ACS_CENTER | ACS_TRANSPARENT;
}

void TAnimate::HandleCreated() {
  Open();
}

void TAnimate::Open() {
  FOpened = false;
  SendMessageA(Hwnd(), ACM_OPENA, 0, 0);
  if (FCommonAVI == aviNone) return;
  if (!FShell) FShell.Reset(LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!FShell) return;
  FOpened = SendMessageA(Hwnd(), ACM_OPENA, reinterpret_cast<WPARAM>(FShell.Get()),
                         reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(kCopyFileAnimation))) != 0;
  UpdatePlaying();
}

void TAnimate::UpdatePlaying() {
  if (!HandleAllocated() || !FOpened) return;
  if (FActive) {
    const int stop = FStopFrame > 0 ? FStopFrame - 1 : -1;
    SendMessageA(Hwnd(), ACM_PLAY, FRepetitions > 0 ? FRepetitions : -1,
                 MAKELONG(std::max(0, FStartFrame - 1), stop));
  } else {
    SendMessageA(Hwnd(), ACM_STOP, 0, 0);
  }
}

}  // namespace retrove
