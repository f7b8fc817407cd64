#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "Handle.h"
#include "Persistent.h"
#include "Set.h"

namespace retrove {

// An RGB value (0x00BBGGRR) or, with the top bit set, a system colour index.
using TColor = int32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clBtnFace = static_cast<TColor>(0x80000000 | COLOR_BTNFACE);
inline constexpr TColor clWindow = static_cast<TColor>(0x80000000 | COLOR_WINDOW);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000000 | COLOR_WINDOWTEXT);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000000 | COLOR_BTNTEXT);
inline constexpr TColor clHighlight = static_cast<TColor>(0x80000000 | COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x80000000 | COLOR_HIGHLIGHTTEXT);
// No colour at all: a control of this colour leaves its background unpainted.
inline constexpr TColor clNone = 0x1FFFFFFF;

COLORREF ColorToRGB(TColor color);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// A font description and the GDI font made from it on first use. Height is
// in pixels, negative for the character height (the usual form).
class TFont : public TPersistent {
public:
  TFont();

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  const std::string& Name() const { return FName; }
  void SetName(const std::string& name);
  int Height() const { return FHeight; }
  void SetHeight(int height);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);

  HFONT Handle() const;
  void Assign(const TPersistent& source) override;

  // Called after every change.
  std::function<void()> OnChange;

private:
  void Changed();

  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  mutable TFontHandle FHandle;
};

}  // namespace retrove
