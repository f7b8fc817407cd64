#include "Label.h"

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TLabel::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TLabel>("TLabel", TWinControl::StaticClassInfo())
          .String("Caption", &TLabel::Caption, &TLabel::SetCaption)
          .Enumeration("Alignment", &TLabel::Alignment, &TLabel::SetAlignment,
                       {"taLeftJustify", "taRightJustify", "taCenter"}, taLeftJustify)
          .Enumeration("Layout", &TLabel::Layout, &TLabel::SetLayout, {"tlTop", "tlCenter"}, tlTop)
          .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true)
          .Build();
  return info;
}

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 65, 13);
}

DWORD TLabel::TextStyle() const {
  DWORD style = FAlignment == taCenter ? SS_CENTER : FAlignment == taRightJustify ? SS_RIGHT : SS_LEFT;
  if (FLayout == tlCenter) style |= SS_CENTERIMAGE;
  return style;
}

void TLabel::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = "STATIC";
  params.Style |= TextStyle();
}

void TLabel::SetAlignment(TAlignment alignment) {
  FAlignment = alignment;
  RecreateWnd();
}

void TLabel::SetLayout(TTextLayout layout) {
  FLayout = layout;
  RecreateWnd();
}

void TLabel::SetAutoSize(bool autoSize) {
  FAutoSize = autoSize;
  AdjustSize();
}

void TLabel::CaptionChanged() {
  TWinControl::CaptionChanged();
  AdjustSize();
}

void TLabel::FontChanged() {
  TWinControl::FontChanged();
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!FAutoSize || Align() != alNone) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, Font().Handle());
  RECT rect{0, 0, 0, 0};
  const std::string text = Caption().empty() ? " " : Caption();
  DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  SetBounds(Left(), Top(), rect.right, rect.bottom);
}

}  // namespace retrove
