#include <doctest/doctest.h>

#include <windows.h>

#include "Canvas.h"
#include "Exceptions.h"

using namespace retrove;

namespace {

// A memory device context on a small colour bitmap, as a paint request
// gives one.
struct TMemoryDc {
  TMemoryDc() : Dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 40;
    info.bmiHeader.biHeight = 20;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Previous = SelectObject(Dc, Bitmap);
  }
  ~TMemoryDc() {
    SelectObject(Dc, Previous);
    DeleteObject(Bitmap);
    DeleteDC(Dc);
  }
  TMemoryDc(const TMemoryDc&) = delete;
  TMemoryDc& operator=(const TMemoryDc&) = delete;

  HDC Dc;
  HBITMAP Bitmap;
  HGDIOBJ Previous;
};

}  // namespace

TEST_CASE("a canvas draws only while bound, and the context gets its objects and colours back") {
  TCanvas canvas;
  const RECT rect{0, 0, 40, 20};
  CHECK_THROWS_AS(canvas.FillRect(rect), EInvalidOperation);

  TMemoryDc memory;
  const HGDIOBJ font = GetStockObject(ANSI_FIXED_FONT);
  SelectObject(memory.Dc, font);
  SetTextColor(memory.Dc, RGB(1, 2, 3));
  SetBkMode(memory.Dc, TRANSPARENT);
  {
    const TCanvas::TBinding binding(canvas, memory.Dc);
    CHECK(canvas.Handle() == memory.Dc);
    canvas.SetBrushColor(RGB(0, 0, 255));
    canvas.FillRect(rect);
    canvas.Font().SetColor(RGB(255, 0, 0));
    canvas.DrawText("W", rect, DT_SINGLELINE);
    CHECK(GetPixel(memory.Dc, 39, 19) == RGB(0, 0, 255));
    // A font changed after drawing must not have been left selected.
    canvas.Font().SetHeight(-20);
    canvas.DrawText("W", rect, DT_SINGLELINE);
  }
  CHECK(canvas.Handle() == nullptr);
  CHECK(GetCurrentObject(memory.Dc, OBJ_FONT) == font);
  CHECK(GetTextColor(memory.Dc) == RGB(1, 2, 3));
  CHECK(GetBkMode(memory.Dc) == TRANSPARENT);
}
