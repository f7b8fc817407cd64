#include "Image.h"

#include "SysError.h"

namespace retrove {

const TClassInfo& TImage::StaticClassInfo() {
  static const TClassInfo info("TImage", &TWinControl::StaticClassInfo(), {});
  return info;
}

TImage::TImage(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 105, 105);
}

void TImage::LoadIcon(const char* resourceName) {
  FIcon.Reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), resourceName, IMAGE_ICON, 32, 32, 0)));
  if (!FIcon) RaiseLastOSError();
  Invalidate();
}

LRESULT TImage::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Hwnd(), &paint);
      if (FIcon) DrawIconEx(dc, (Width() - 32) / 2, (Height() - 32) / 2, FIcon.Get(), 32, 32, 0, nullptr, DI_NORMAL);
      EndPaint(Hwnd(), &paint);
      return 0;
    }
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace retrove
