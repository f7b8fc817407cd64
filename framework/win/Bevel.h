#pragma once

#include "WinControl.h"

namespace retrove {

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };

// A drawn line or frame: etched (bsFrame and the lines) or sunken (bsBox).
class TBevel : public TWinControl {
public:
  explicit TBevel(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape shape);

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  TBevelShape FShape = bsBox;
};

}  // namespace retrove
