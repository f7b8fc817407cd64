#include "Panel.h"

#include "PropertyTable.h"

namespace retrove {

namespace {

UINT EdgeOf(TPanelBevel bevel, bool outer) {
  if (bevel == bvLowered) return outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
  return outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
}

const std::vector<std::string> kBevelNames{"bvNone", "bvLowered", "bvRaised"};

}  // namespace

const TClassInfo& TPanel::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TPanel>("TPanel", TWinControl::StaticClassInfo())
          .String("Caption", &TPanel::Caption, &TPanel::SetCaption)
          .Enumeration("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, kBevelNames, bvRaised)
          .Enumeration("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, kBevelNames, bvNone)
          .Build();
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  FBevelOuter = bevel;
  Realign();
  Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
  FBevelInner = bevel;
  Realign();
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

void TPanel::AdjustClientRect(RECT& rect) {
  const int inset = (FBevelOuter != bvNone) + (FBevelInner != bvNone);
  InflateRect(&rect, -inset, -inset);
}

LRESULT TPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Hwnd(), &paint);
      Paint(dc);
      EndPaint(Hwnd(), &paint);
      return 0;
    }
    case WM_SIZE:
      Invalidate();
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

void TPanel::Paint(HDC dc) {
  RECT rect;
  GetClientRect(Hwnd(), &rect);
  if (FBevelOuter != bvNone) DrawEdge(dc, &rect, EdgeOf(FBevelOuter, true), BF_RECT | BF_ADJUST);
  if (FBevelInner != bvNone) DrawEdge(dc, &rect, EdgeOf(FBevelInner, false), BF_RECT | BF_ADJUST);
  if (Caption().empty()) return;
  HGDIOBJ previous = SelectObject(dc, Font().Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font().Color()));
  DrawTextA(dc, Caption().c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, previous);
}

}  // namespace retrove
