#include "UNsFrame.h"

#include "NsFramePainting.h"
#include "PropertyTable.h"

namespace retrove {

const std::vector<std::string> kNsFrameStyleNames{
    "nsfsNone", "nsfsGroup",    "nsfsLowered",  "nsfsRaised",   "nsfsDint",    "nsfsBump",
    "nsfsSingle", "nsfsHorzLine", "nsfsHorzEdge", "nsfsVertLine", "nsfsVertEdge",
};

namespace {

constexpr int kGroupCaptionIndent = 8;

UINT AlignmentFlag(TAlignment alignment) {
  if (alignment == taCenter) return DT_CENTER;
  return alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
}

}  // namespace

const TClassInfo& TNsCustomGroup::StaticClassInfo() {
  static const TClassInfo info("TNsCustomGroup", &TWinControl::StaticClassInfo(), {});
  return info;
}

TNsCustomGroup::TNsCustomGroup(TComponent* owner, TNsFrameStyle frameStyle)
    : TWinControl(owner), FFrameStyle(frameStyle) {}

void TNsCustomGroup::SetFrameStyle(TNsFrameStyle style) {
  if (style == FFrameStyle) return;
  FFrameStyle = style;
  Realign();
  Invalidate();
}

void TNsCustomGroup::SetAlignment(TAlignment alignment) {
  FAlignment = alignment;
  Invalidate();
}

void TNsCustomGroup::SetFrameSpace(int space) {
  FFrameSpace = space;
  Invalidate();
}

void TNsCustomGroup::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
}

void TNsCustomGroup::AdjustClientRect(RECT& rect) {
  const TFrameInsets insets = FrameInsets(FFrameStyle);
  rect.left += insets.Left;
  rect.top += insets.Top;
  rect.right -= insets.Right;
  rect.bottom -= insets.Bottom;
}

void TNsCustomGroup::CaptionChanged() {
  TWinControl::CaptionChanged();
  Invalidate();
}

void TNsCustomGroup::FontChanged() {
  TWinControl::FontChanged();
  Invalidate();
}

LRESULT TNsCustomGroup::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting fills the background
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Hwnd(), &paint);
      Paint(dc);
      EndPaint(Hwnd(), &paint);
      return 0;
    }
    case WM_SIZE:
      Invalidate();  // the frame runs along the edges
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

void TNsCustomGroup::Paint(HDC dc) {
  RECT client;
  GetClientRect(Hwnd(), &client);
  if (Color() != clNone) FillRect(dc, &client, ColorBrush());
  HGDIOBJ previousFont = SelectObject(dc, Font().Handle());
  SetTextColor(dc, ColorToRGB(Font().Color()));
  const RECT frame{0, 0, client.right - 1, client.bottom - 1};
  if (FFrameStyle == nsfsGroup) {
    PaintGroup(dc, frame);
  } else {
    DrawNsFrame(dc, frame, FFrameStyle);
    PaintCaption(dc, client);
  }
  SelectObject(dc, previousFont);
}

// The frame's top edge runs through the middle of the caption, which
// stands on the control's colour so that it breaks the line.
void TNsCustomGroup::PaintGroup(HDC dc, const RECT& frame) {
  SIZE digit{0, 2};
  if (!Caption().empty()) GetTextExtentPoint32A(dc, "0", 1, &digit);
  DrawNsFrame(dc, {frame.left, digit.cy / 2, frame.right, frame.bottom}, nsfsGroup);
  if (Caption().empty()) return;
  if (Color() != clNone) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(Color()));
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  RECT text{frame.left + kGroupCaptionIndent, 0, frame.right - kGroupCaptionIndent, digit.cy};
  DrawTextA(dc, Caption().c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void TNsCustomGroup::PaintCaption(HDC dc, const RECT& client) {
  if (Caption().empty()) return;
  RECT text{client.left + FFrameSpace, client.top, client.right - FFrameSpace, client.bottom};
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, Caption().c_str(), -1, &text, AlignmentFlag(FAlignment) | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

const TClassInfo& TNsGroup::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TNsGroup>("TNsGroup", TNsCustomGroup::StaticClassInfo())
          .Enumeration("Alignment", &TNsGroup::Alignment, &TNsGroup::SetAlignment,
                       {"taLeftJustify", "taRightJustify", "taCenter"}, taCenter)
          .Integer("FrameSpace", &TNsGroup::FrameSpace, &TNsGroup::SetFrameSpace, 2)
          .Enumeration("FrameStyle", &TNsGroup::FrameStyle, &TNsGroup::SetFrameStyle, kNsFrameStyleNames, nsfsGroup)
          .String("Caption", &TNsGroup::Caption, &TNsGroup::SetCaption)
          .Build();
  return info;
}

TNsGroup::TNsGroup(TComponent* owner) : TNsCustomGroup(owner, nsfsGroup) {
  SetBounds(0, 0, 64, 48);
}

}  // namespace retrove
