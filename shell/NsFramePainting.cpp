#include "NsFramePainting.h"

#include <initializer_list>

#include "Handle.h"

namespace retrove {

namespace {

using TPenHandle = TOwnedHandle<HPEN, TFreeGdiObject>;

constexpr int kShadow = COLOR_BTNSHADOW;
constexpr int kDarkShadow = COLOR_3DDKSHADOW;
constexpr int kFace = COLOR_BTNFACE;
constexpr int kHighlight = COLOR_BTNHIGHLIGHT;

// Polyline leaves out the last point of a line.
void Line(HDC dc, int colorIndex, std::initializer_list<POINT> points) {
  TPenHandle pen(CreatePen(PS_SOLID, 1, GetSysColor(colorIndex)));
  HGDIOBJ previous = SelectObject(dc, pen.Get());
  Polyline(dc, points.begin(), static_cast<int>(points.size()));
  SelectObject(dc, previous);
}

// The left and top sides in one colour, the bottom and right in another;
// every pixel of the edge of `r` (right and bottom included) is drawn.
void Bevel(HDC dc, const RECT& r, int topLeft, int bottomRight) {
  Line(dc, topLeft, {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}});
  Line(dc, bottomRight, {{r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top - 1}});
}

RECT Inner(const RECT& r) {
  return {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
}

// A groove across the frame: a shadow line with a highlight line after it.
void HorzGroove(HDC dc, const RECT& frame, int y) {
  Line(dc, kShadow, {{frame.left, y}, {frame.right + 1, y}});
  Line(dc, kHighlight, {{frame.left, y + 1}, {frame.right + 1, y + 1}});
}

void VertGroove(HDC dc, const RECT& frame, int x) {
  Line(dc, kShadow, {{x, frame.top}, {x, frame.bottom + 1}});
  Line(dc, kHighlight, {{x + 1, frame.top}, {x + 1, frame.bottom + 1}});
}

}  // namespace

void DrawNsFrame(HDC dc, const RECT& frame, TNsFrameStyle style) {
  switch (style) {
    case nsfsGroup:  // etched: a highlight rectangle under a shadow one shifted up and left
      Bevel(dc, {frame.left + 1, frame.top + 1, frame.right, frame.bottom}, kHighlight, kHighlight);
      Bevel(dc, {frame.left, frame.top, frame.right - 1, frame.bottom - 1}, kShadow, kShadow);
      break;
    case nsfsLowered:
      Bevel(dc, frame, kShadow, kHighlight);
      Bevel(dc, Inner(frame), kDarkShadow, kFace);
      break;
    case nsfsRaised:
      Bevel(dc, frame, kFace, kDarkShadow);
      Bevel(dc, Inner(frame), kHighlight, kShadow);
      break;
    case nsfsDint:
      Bevel(dc, frame, kShadow, kHighlight);
      break;
    case nsfsBump:
      Bevel(dc, frame, kHighlight, kShadow);
      break;
    case nsfsSingle:
      Bevel(dc, frame, kDarkShadow, kDarkShadow);
      break;
    case nsfsHorzEdge:
      HorzGroove(dc, frame, frame.bottom - 1);
      [[fallthrough]];
    case nsfsHorzLine:
      HorzGroove(dc, frame, frame.top);
      break;
    case nsfsVertEdge:
      VertGroove(dc, frame, frame.right - 1);
      [[fallthrough]];
    case nsfsVertLine:
      VertGroove(dc, frame, frame.left);
      break;
    case nsfsNone:
      break;
  }
}

}  // namespace retrove
