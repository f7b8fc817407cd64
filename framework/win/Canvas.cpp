#include "Canvas.h"

#include "Exceptions.h"

namespace retrove {

TCanvas::TBinding::TBinding(TCanvas& canvas, HDC dc)
    : FCanvas(canvas), FPrevious(canvas.FDc), FSavedState(SaveDC(dc)) {
  canvas.FDc = dc;
}

TCanvas::TBinding::~TBinding() {
  RestoreDC(FCanvas.FDc, FSavedState);
  FCanvas.FDc = FPrevious;
}

HDC TCanvas::BoundDc() const {
  if (!FDc) throw EInvalidOperation("Canvas does not allow drawing");
  return FDc;
}

void TCanvas::SetBrushColor(TColor color) {
  if (color == FBrushColor) return;
  FBrushColor = color;
  FBrush.Reset();
}

HBRUSH TCanvas::Brush() {
  if (!FBrush) FBrush.Reset(CreateSolidBrush(ColorToRGB(FBrushColor)));
  return FBrush.Get();
}

void TCanvas::FillRect(const RECT& rect) {
  ::FillRect(BoundDc(), &rect, Brush());
}

// The font is selected only for the call: a font changed afterwards frees
// its old GDI font, which must not be left selected in the context.
void TCanvas::DrawText(const std::string& text, const RECT& rect, UINT flags) {
  HDC dc = BoundDc();
  HGDIOBJ previousFont = SelectObject(dc, FFont.Handle());
  SetTextColor(dc, ColorToRGB(FFont.Color()));
  SetBkColor(dc, ColorToRGB(FBrushColor));
  SetBkMode(dc, OPAQUE);
  RECT bounds = rect;
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds, flags);
  SelectObject(dc, previousFont);
}

void TCanvas::DrawFocusRect(const RECT& rect) {
  ::DrawFocusRect(BoundDc(), &rect);
}

}  // namespace retrove
