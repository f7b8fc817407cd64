#include "Window.h"

#include <mutex>
#include <utility>
#include <vector>

#include "Application.h"
#include "SysError.h"

namespace retrove {

namespace {

constexpr char kBindingProperty[] = "Retrove.Window";

// The window procedure of each class we registered, by class name, for the
// few messages that arrive before WM_NCCREATE binds the object.
class TClassRegistry {
public:
  static TClassRegistry& Instance() {
    static TClassRegistry registry;
    return registry;
  }

  WNDPROC Ensure(const TCreateParams& params, WNDPROC ourProc) {
    std::lock_guard lock(FMutex);
    for (const auto& [name, proc] : FClasses)
      if (name == params.ClassName) return proc;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    WNDPROC baseProc = DefWindowProcA;
    if (params.BaseClass) {
      if (!GetClassInfoExA(nullptr, params.BaseClass, &wc)) RaiseLastOSError();
      baseProc = wc.lpfnWndProc;
      wc.style &= ~CS_GLOBALCLASS;
    } else {
      wc.style = params.ClassStyle;
      wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(params.Background));
      wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ourProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = params.ClassName.c_str();
    if (!RegisterClassExA(&wc)) RaiseLastOSError();
    FClasses.emplace_back(params.ClassName, baseProc);
    return baseProc;
  }

  WNDPROC ProcOf(HWND window) {
    char name[256];
    if (!GetClassNameA(window, name, sizeof name)) return DefWindowProcA;
    std::lock_guard lock(FMutex);
    for (const auto& [className, proc] : FClasses)
      if (className == name) return proc;
    return DefWindowProcA;
  }

private:
  std::mutex FMutex;
  std::vector<std::pair<std::string, WNDPROC>> FClasses;
};

}  // namespace

TWindow::~TWindow() {
  DestroyWindowHandle();
}

TWindow* TWindow::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWindow*>(GetPropA(window, kBindingProperty));
}

void TWindow::CreateWindowHandle(const TCreateParams& params) {
  FDefaultProc = TClassRegistry::Instance().Ensure(params, &TWindow::StaticWndProc);
  HWND window = CreateWindowExA(params.ExStyle, params.ClassName.c_str(), params.Caption.c_str(), params.Style,
                                params.X, params.Y, params.Width, params.Height, params.Parent,
                                reinterpret_cast<HMENU>(params.Id), GetModuleHandleA(nullptr), this);
  if (!window) RaiseLastOSError();
}

void TWindow::DestroyWindowHandle() {
  if (FHwnd) DestroyWindow(FHwnd);
}

LRESULT TWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(message, wParam, lParam);
}

LRESULT TWindow::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(FDefaultProc, FHwnd, message, wParam, lParam);
}

LRESULT CALLBACK TWindow::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TWindow* self = FromHandle(window);
  if (!self && message == WM_NCCREATE) {
    self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (self) {
      self->FHwnd = window;
      SetPropA(window, kBindingProperty, self);
    }
  }
  if (!self) return CallWindowProcA(TClassRegistry::Instance().ProcOf(window), window, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->WndProc(message, wParam, lParam);
  } catch (...) {
    Application.HandleException();
  }
  if (message == WM_NCDESTROY) {
    RemovePropA(window, kBindingProperty);
    self->FHwnd = nullptr;
    self->WindowDestroyed();
  }
  return result;
}

}  // namespace retrove
