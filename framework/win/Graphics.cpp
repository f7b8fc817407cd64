#include "Graphics.h"

#include "Exceptions.h"
#include "PropertyTable.h"

namespace retrove {

COLORREF ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color);
}

TFont::TFont() = default;

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TFont>("TFont", TPersistent::StaticClassInfo())
          .String("Name", &TFont::Name, &TFont::SetName)
          .Integer("Height", &TFont::Height, &TFont::SetHeight)
          .Set("Style", &TFont::Style, &TFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 0)
          .Integer("Color", &TFont::Color, &TFont::SetColor)
          .Build();
  return info;
}

void TFont::SetName(const std::string& name) {
  if (name == FName) return;
  FName = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

HFONT TFont::Handle() const {
  if (!FHandle) {
    LOGFONTA font{};
    font.lfHeight = FHeight;
    font.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FStyle.Contains(fsItalic);
    font.lfUnderline = FStyle.Contains(fsUnderline);
    font.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, FName.c_str(), LF_FACESIZE);
    FHandle.Reset(CreateFontIndirectA(&font));
  }
  return FHandle.Get();
}

void TFont::Assign(const TPersistent& source) {
  const auto* font = dynamic_cast<const TFont*>(&source);
  if (!font) return TPersistent::Assign(source);
  FName = font->FName;
  FHeight = font->FHeight;
  FStyle = font->FStyle;
  FColor = font->FColor;
  Changed();
}

void TFont::Changed() {
  FHandle.Reset();
  if (OnChange) OnChange();
}

}  // namespace retrove
