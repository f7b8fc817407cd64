#pragma once

#include "WinControl.h"

namespace retrove {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// A container with an outer and an inner bevel and an optional caption.
class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel bevel);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel bevel);

protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CaptionChanged() override { Invalidate(); }

private:
  void Paint(HDC dc);

  TPanelBevel FBevelOuter = bvRaised;
  TPanelBevel FBevelInner = bvNone;
};

}  // namespace retrove
