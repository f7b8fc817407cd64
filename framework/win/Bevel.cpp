#include "Bevel.h"

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TBevel::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TBevel>("TBevel", TWinControl::StaticClassInfo())
          .Enumeration("Shape", &TBevel::Shape, &TBevel::SetShape,
                       {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine"}, bsBox)
          .Build();
  return info;
}

TBevel::TBevel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape shape) {
  FShape = shape;
  Invalidate();
}

LRESULT TBevel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      static constexpr UINT kSides[] = {BF_RECT, BF_RECT, BF_TOP, BF_BOTTOM, BF_LEFT, BF_RIGHT};
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Hwnd(), &paint);
      RECT rect;
      GetClientRect(Hwnd(), &rect);
      DrawEdge(dc, &rect, FShape == bsBox ? BDR_SUNKENOUTER : EDGE_ETCHED, kSides[FShape]);
      EndPaint(Hwnd(), &paint);
      return 0;
    }
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace retrove
