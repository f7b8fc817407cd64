#pragma once

#include <windows.h>

#include <string>

namespace retrove {

// How to create one window. With a BaseClass the window class is a
// superclass of that system or common-controls class under ClassName.
struct TCreateParams {
  std::string ClassName;
  const char* BaseClass = nullptr;
  UINT ClassStyle = CS_DBLCLKS;
  int Background = 0;  // a COLOR_ index + 1; 0 leaves erasing to the window
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = CW_USEDEFAULT;
  int Y = CW_USEDEFAULT;
  int Width = CW_USEDEFAULT;
  int Height = CW_USEDEFAULT;
  HWND Parent = nullptr;
  UINT_PTR Id = 0;  // a child's control id
};

// One HWND and the object that handles its messages. All windows of the
// framework share one window procedure: the object is bound at WM_NCCREATE
// from lpCreateParams and unbound at WM_NCDESTROY; an exception thrown by a
// handler is reported by the application and never unwinds into user32.
class TWindow {
public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Hwnd() const { return FHwnd; }
  bool HandleAllocated() const { return FHwnd != nullptr; }

  // The object bound to a window of ours; nullptr for any other window.
  static TWindow* FromHandle(HWND window);

protected:
  // Raises EOSError when the window cannot be created.
  void CreateWindowHandle(const TCreateParams& params);
  void DestroyWindowHandle();

  // The one message handler of a class: handle what it knows, pass the rest
  // to the base class, which ends in DefaultHandler.
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
  // The window is gone (after WM_NCDESTROY); Hwnd() is already nullptr.
  virtual void WindowDestroyed() {}

private:
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND FHwnd = nullptr;
  WNDPROC FDefaultProc = DefWindowProcA;
};

}  // namespace retrove
