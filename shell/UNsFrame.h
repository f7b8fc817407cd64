#pragma once

// Framed containers: the base of the splitter's panes and the group box.

#include <string>
#include <vector>

#include "Label.h"
#include "SplitterGeometry.h"
#include "WinControl.h"

namespace retrove {

// The names of TNsFrameStyle's values, for published properties.
extern const std::vector<std::string> kNsFrameStyleNames;

// A container that draws a frame inside its edge and aligns its child
// controls in the area the frame leaves. It fills its background with its
// colour (none for clNone) and shows its caption: on the top edge of a
// group frame, else within the frame, FrameSpace in from either side.
class TNsCustomGroup : public TWinControl {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TNsFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TNsFrameStyle style);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  int FrameSpace() const { return FFrameSpace; }
  void SetFrameSpace(int space);

protected:
  TNsCustomGroup(TComponent* owner, TNsFrameStyle frameStyle);

  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CaptionChanged() override;
  void FontChanged() override;

private:
  void Paint(HDC dc);
  void PaintGroup(HDC dc, const RECT& frame);
  void PaintCaption(HDC dc, const RECT& client);

  TNsFrameStyle FFrameStyle;
  TAlignment FAlignment = taCenter;
  int FFrameSpace = 2;
};

// The group box: an etched frame with its caption on the top edge.
class TNsGroup : public TNsCustomGroup {
public:
  explicit TNsGroup(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

}  // namespace retrove
