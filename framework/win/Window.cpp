#include "Window.h"

#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Application.h"
#include "SysError.h"

namespace retrove {

namespace {

// Which object each of our windows belongs to. A window property would do,
// but reading one is a round trip to the window server under Wine, and it
// is read for every message.
class TBindings {
public:
  static TBindings& Instance() {
    static TBindings bindings;
    return bindings;
  }

  TWindow* Find(HWND window) {
    std::lock_guard lock(FMutex);
    const auto found = FWindows.find(window);
    return found == FWindows.end() ? nullptr : found->second;
  }
  void Bind(HWND window, TWindow* object) {
    std::lock_guard lock(FMutex);
    FWindows[window] = object;
  }
  void Unbind(HWND window) {
    std::lock_guard lock(FMutex);
    FWindows.erase(window);
  }

private:
  std::mutex FMutex;
  std::unordered_map<HWND, TWindow*> FWindows;
};

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
  return TBindings::Instance().Find(window);
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
      TBindings::Instance().Bind(window, self);
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
    TBindings::Instance().Unbind(window);
    self->FHwnd = nullptr;
    self->WindowDestroyed();
  }
  return result;
}

}  // namespace retrove
