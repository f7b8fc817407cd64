#pragma once

#include <windows.h>

#include <utility>

namespace retrove {

// Owns a kernel object handle (thread, event, file, ...) and closes it once.
// Both 0 and INVALID_HANDLE_VALUE mean "none".
class TKernelHandle {
public:
  TKernelHandle() = default;
  explicit TKernelHandle(HANDLE handle) : FHandle(handle) {}
  ~TKernelHandle() { Reset(); }
  TKernelHandle(TKernelHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TKernelHandle& operator=(TKernelHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
    return *this;
  }
  TKernelHandle(const TKernelHandle&) = delete;
  TKernelHandle& operator=(const TKernelHandle&) = delete;

  HANDLE Get() const { return FHandle; }
  bool Valid() const { return FHandle && FHandle != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(FHandle, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) CloseHandle(FHandle);
    FHandle = handle;
  }

private:
  HANDLE FHandle = nullptr;
};

// Owns one handle of a kind that `Free` releases (a GDI object, a menu, an
// icon, a module, ...). The null handle means "none".
template <class T, class Free>
class TOwnedHandle {
public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(T handle) : FHandle(handle) {}
  ~TOwnedHandle() { Reset(); }
  TOwnedHandle(TOwnedHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, T{})) {}
  TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, T{}));
    return *this;
  }
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;

  T Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != T{}; }
  T Release() { return std::exchange(FHandle, T{}); }
  void Reset(T handle = T{}) {
    if (FHandle != T{}) Free{}(FHandle);
    FHandle = handle;
  }

private:
  T FHandle{};
};

struct TFreeGdiObject {
  void operator()(HGDIOBJ handle) const { DeleteObject(handle); }
};
struct TFreeMenu {
  void operator()(HMENU handle) const { DestroyMenu(handle); }
};
struct TFreeIcon {
  void operator()(HICON handle) const { DestroyIcon(handle); }
};
struct TFreeModule {
  void operator()(HMODULE handle) const { FreeLibrary(handle); }
};
struct TFreeWindow {
  void operator()(HWND handle) const { DestroyWindow(handle); }
};
struct TFreeKey {
  void operator()(HKEY handle) const { RegCloseKey(handle); }
};

// A window's device context from GetDCEx, released once.
class TWindowDc {
public:
  TWindowDc(HWND window, DWORD flags) : FWindow(window), FDc(GetDCEx(window, nullptr, flags)) {}
  ~TWindowDc() {
    if (FDc) ReleaseDC(FWindow, FDc);
  }
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;

  HDC Get() const { return FDc; }

private:
  HWND FWindow;
  HDC FDc;
};

using TFontHandle = TOwnedHandle<HFONT, TFreeGdiObject>;
using TBrushHandle = TOwnedHandle<HBRUSH, TFreeGdiObject>;
using TBitmapHandle = TOwnedHandle<HBITMAP, TFreeGdiObject>;
using TMenuHandle = TOwnedHandle<HMENU, TFreeMenu>;
using TIconHandle = TOwnedHandle<HICON, TFreeIcon>;
using TModuleHandle = TOwnedHandle<HMODULE, TFreeModule>;
using TWindowHandle = TOwnedHandle<HWND, TFreeWindow>;
using TKeyHandle = TOwnedHandle<HKEY, TFreeKey>;

}  // namespace retrove
