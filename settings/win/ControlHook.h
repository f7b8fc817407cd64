#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "WinControl.h"
#include "Window.h"

namespace retrove {

class TWindowHook;
struct TMessage;

// The one subclassing of a control's window that all hooks watching the
// control share. It uses the system's subclass chain, so hooks of others
// installed later stay intact when this one goes.
class TControlHook : public std::enable_shared_from_this<TControlHook> {
public:
  TControlHook(TWinControl& control, unsigned serial);
  ~TControlHook();
  TControlHook(const TControlHook&) = delete;
  TControlHook& operator=(const TControlHook&) = delete;

  TWinControl* Control() const { return FControl; }
  unsigned Serial() const { return FSerial; }
  HWND Window() const { return FWindow; }
  bool Empty() const { return FHooks.empty(); }

  // Adds the hook once and subclasses the control's window.
  void Add(TWindowHook& hook);
  void Remove(TWindowHook& hook);
  // Subclasses the control's current window (making it if need be).
  void InstallSubclass();
  // Leaves the window and tells the remaining hooks that it is gone.
  void Retire();

private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
  static LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CallHooks(const std::vector<TWindowHook*>& hooks, TMessage& msg, bool& handled, bool before);
  bool Attached(const TWindowHook* hook) const;
  bool CallsAllowed() const;
  void RemoveSubclass();

  TWinControl* FControl;
  unsigned FSerial;
  HWND FWindow = nullptr;
  // The window's procedure just after ours joined the chain.
  LONG_PTR FChainProc = 0;
  bool FRetired = false;
  std::vector<TWindowHook*> FHooks;
};

// The control hooks of the process, and the hidden window through which a
// re-created window is hooked again once its control has finished making it.
class THookList {
public:
  static THookList& Instance();
  ~THookList();
  THookList(const THookList&) = delete;
  THookList& operator=(const THookList&) = delete;

  // The control hook of `control`, made and listed when there is none.
  TControlHook& Acquire(TWinControl& control);
  // Unlists a control hook that no hook uses any more.
  void Release(TControlHook& hook);
  void PostRehook(const TControlHook& hook);
  int Count() const { return static_cast<int>(FHooks.size()); }

private:
  class TRehookWindow : public TWindow {
  public:
    explicit TRehookWindow(THookList& list);

  protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    THookList& FList;
  };

  THookList();
  void Rehook(unsigned serial);

  std::vector<std::shared_ptr<TControlHook>> FHooks;
  unsigned FNextSerial = 1;
  TRehookWindow FWindow;
};

}  // namespace retrove
