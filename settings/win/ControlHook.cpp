#include "ControlHook.h"

#include <commctrl.h>

#include <algorithm>

#include "Application.h"
#include "SysError.h"
#include "WndHook.h"

namespace retrove {

namespace {

constexpr UINT_PTR kSubclassId = 0x5748;  // "WH"
constexpr UINT kRehookMessage = 0xB03E;

bool IsEndOfWindow(UINT message) {
  return message == WM_DESTROY || message == WM_NCDESTROY;
}


}  // namespace

TControlHook::TControlHook(TWinControl& control, unsigned serial) : FControl(&control), FSerial(serial) {}

TControlHook::~TControlHook() {
  RemoveSubclass();
}

void TControlHook::Add(TWindowHook& hook) {
  if (!Attached(&hook)) FHooks.push_back(&hook);
  InstallSubclass();
}

void TControlHook::Remove(TWindowHook& hook) {
  FHooks.erase(std::remove(FHooks.begin(), FHooks.end(), &hook), FHooks.end());
}

void TControlHook::InstallSubclass() {
  if (!CallsAllowed()) return;
  HWND window = FControl->Handle();
  if (window == FWindow) return;
  RemoveSubclass();
  if (!SetWindowSubclass(window, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    RaiseOSError(ERROR_NOT_ENOUGH_MEMORY);
  FWindow = window;
  FChainProc = GetWindowLongPtrA(window, GWLP_WNDPROC);
}

void TControlHook::Retire() {
  FRetired = true;
  RemoveSubclass();
  FControl = nullptr;
  while (!FHooks.empty()) {
    TWindowHook* hook = FHooks.back();
    FHooks.pop_back();
    hook->Forget();
  }
}

// Taking the last entry out of the system's chain puts the window's first
// procedure back even when someone has since subclassed the window over
// ours, which would cut theirs off. Then our entry stays, passing every
// message on without this object, until the window is destroyed.
void TControlHook::RemoveSubclass() {
  if (!FWindow) return;
  if (GetWindowLongPtrA(FWindow, GWLP_WNDPROC) == FChainProc)
    RemoveWindowSubclass(FWindow, &SubclassProc, kSubclassId);
  else
    SetWindowSubclass(FWindow, &SubclassProc, kSubclassId, 0);
  FWindow = nullptr;
}

bool TControlHook::Attached(const TWindowHook* hook) const {
  return std::find(FHooks.begin(), FHooks.end(), hook) != FHooks.end();
}

bool TControlHook::CallsAllowed() const {
  return !FRetired && FControl && !FControl->ComponentState().Contains(csDestroying);
}

// A handler may detach the last hook and so unlist this object; holding a
// share of it keeps it alive until the message is done.
LRESULT CALLBACK TControlHook::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
  const std::shared_ptr<TControlHook> self =
      data ? reinterpret_cast<TControlHook*>(data)->weak_from_this().lock() : nullptr;
  if (!self) return PassOn(window, message, wParam, lParam);
  try {
    return self->Dispatch(window, message, wParam, lParam);
  } catch (...) {
    Application.HandleException();
    return 0;
  }
}

LRESULT TControlHook::PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
  return result;
}

LRESULT TControlHook::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TMessage msg{message, wParam, lParam, 0};
  bool handled = false;
  const std::vector<TWindowHook*> hooks = CallsAllowed() ? FHooks : std::vector<TWindowHook*>{};
  if (message != WM_QUIT) CallHooks(hooks, msg, handled, true);
  // The window's own end always reaches it, or the control would keep a
  // window handle that no longer exists.
  if (!handled || IsEndOfWindow(message)) {
    msg.Result = DefSubclassProc(window, message, wParam, lParam);
    handled = false;
    CallHooks(hooks, msg, handled, false);
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
    if (window == FWindow) FWindow = nullptr;
    if (CallsAllowed()) THookList::Instance().PostRehook(*this);
  }
  return msg.Result;
}

// A hook that a handler has detached or freed meanwhile is skipped, as is
// one whose owner is tearing it down. One failing handler is reported and
// the others still run.
void TControlHook::CallHooks(const std::vector<TWindowHook*>& hooks, TMessage& msg, bool& handled, bool before) {
  for (auto hook = hooks.rbegin(); hook != hooks.rend() && !handled; ++hook) {
    if (!Attached(*hook) || (*hook)->ComponentState().Contains(csDestroying)) continue;
    try {
      if (before)
        (*hook)->DoBeforeMessage(msg, handled);
      else
        (*hook)->DoAfterMessage(msg, handled);
    } catch (...) {
      Application.HandleException();
    }
  }
}

THookList& THookList::Instance() {
  static THookList list;
  return list;
}

THookList::THookList() : FWindow(*this) {}

THookList::~THookList() {
  while (!FHooks.empty()) {
    const std::shared_ptr<TControlHook> hook = FHooks.back();
    FHooks.pop_back();
    hook->Retire();
  }
}

TControlHook& THookList::Acquire(TWinControl& control) {
  for (const auto& hook : FHooks)
    if (hook->Control() == &control) return *hook;
  FHooks.push_back(std::make_shared<TControlHook>(control, FNextSerial++));
  return *FHooks.back();
}

void THookList::Release(TControlHook& hook) {
  const auto found = std::find_if(FHooks.begin(), FHooks.end(), [&](const auto& listed) { return listed.get() == &hook; });
  if (found == FHooks.end()) return;
  const std::shared_ptr<TControlHook> keep = *found;
  FHooks.erase(found);
  keep->Retire();
}

void THookList::PostRehook(const TControlHook& hook) {
  PostMessageA(FWindow.Hwnd(), kRehookMessage, 0, static_cast<LPARAM>(hook.Serial()));
}

void THookList::Rehook(unsigned serial) {
  for (const auto& hook : FHooks)
    if (hook->Serial() == serial && hook->Control() && hook->Control()->HandleAllocated()) hook->InstallSubclass();
}

THookList::TRehookWindow::TRehookWindow(THookList& list) : FList(list) {
  TCreateParams params;
  params.ClassName = "Retrove.HookListWindow";
  params.X = params.Y = params.Width = params.Height = 0;
  params.Parent = HWND_MESSAGE;
  CreateWindowHandle(params);
}

LRESULT THookList::TRehookWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRehookMessage) return TWindow::WndProc(message, wParam, lParam);
  FList.Rehook(static_cast<unsigned>(lParam));
  return 0;
}

}  // namespace retrove
