#pragma once

#include "Handle.h"
#include "WinControl.h"

namespace retrove {

enum TCommonAVI { aviNone, aviCopyFile };

// Plays one of the system's animations. Where the system cannot open it
// the control simply stays empty.
class TAnimate : public TWinControl {
public:
  explicit TAnimate(TComponent* owner);
  ~TAnimate() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TCommonAVI CommonAVI() const { return FCommonAVI; }
  void SetCommonAVI(TCommonAVI avi);
  bool Active() const { return FActive; }
  void SetActive(bool active);
  int StartFrame() const { return FStartFrame; }
  void SetStartFrame(int frame) { FStartFrame = frame; }
  int StopFrame() const { return FStopFrame; }
  void SetStopFrame(int frame) { FStopFrame = frame; }
  // 0 plays for ever.
  int Repetitions() const { return FRepetitions; }
  void SetRepetitions(int count) { FRepetitions = count; }
  // Whether the animation could be opened.
  bool Opened() const { return FOpened; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  void Open();
  void UpdatePlaying();

  TCommonAVI FCommonAVI = aviNone;
  bool FActive = false;
  bool FOpened = false;
  int FStartFrame = 1;
  int FStopFrame = 0;
  int FRepetitions = 0;
  // The control reads its frames from this module for as long as its window
  // lives, so the window is destroyed first.
  TModuleHandle FShell;
};

}  // namespace retrove
