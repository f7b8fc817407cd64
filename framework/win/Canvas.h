#pragma once

#include <windows.h>

#include <string>

#include "Graphics.h"
#include "Handle.h"
#include "Set.h"

namespace retrove {

// The item-state bits of an owner-draw request as the system gives them,
// bit i standing for member i.
enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit,
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// Draws with a font and a brush colour of its own on a device context that
// belongs to someone else, such as the one of an owner-draw request, for as
// long as a TBinding holds it there.
class TCanvas {
public:
  // While it lives the canvas draws on `dc`; when it goes, the context gets
  // back the objects and colours it had before.
  class TBinding {
  public:
    TBinding(TCanvas& canvas, HDC dc);
    ~TBinding();
    TBinding(const TBinding&) = delete;
    TBinding& operator=(const TBinding&) = delete;

  private:
    TCanvas& FCanvas;
    HDC FPrevious;
    int FSavedState;
  };

  // Null while the canvas is not bound.
  HDC Handle() const { return FDc; }
  TFont& Font() { return FFont; }
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor color);

  void FillRect(const RECT& rect);
  // The system's DrawText with `flags` (DT_...), in the font's colour on the
  // brush colour.
  void DrawText(const std::string& text, const RECT& rect, UINT flags);
  void DrawFocusRect(const RECT& rect);

private:
  HDC BoundDc() const;
  HBRUSH Brush();

  HDC FDc = nullptr;
  TFont FFont;
  TColor FBrushColor = clWhite;
  TBrushHandle FBrush;
};

}  // namespace retrove
