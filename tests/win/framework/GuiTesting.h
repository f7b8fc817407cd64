#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "Application.h"
#include "ToolBar.h"

namespace retrove::test {

inline void EnsureApplication() {
  static const bool initialized = [] {
    Application.Initialize();
    Application.SetTitle("Retrove 97");
    return true;
  }();
  (void)initialized;
}

// Watches from a second thread for a message box of this process with the
// given caption, keeps its text and style, and dismisses it with its OK
// button. Other test programs on the same desktop show boxes with the same
// caption, so the box must be ours.
class TMessageBoxCloser {
public:
  explicit TMessageBoxCloser(std::string caption)
      : FCaption(std::move(caption)), FThread([this] { Watch(); }) {}
  ~TMessageBoxCloser() {
    FStop = true;
    FThread.join();
  }

  bool Seen() const { return FSeen; }
  const std::string& Text() const { return FText; }
  bool HasIcon() const { return FHasIcon; }

private:
  void Watch() {
    for (int i = 0; i < 500 && !FStop; ++i) {
      if (HWND box = OwnBox()) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        FText = text;
        FHasIcon = ShowsIcon(box);
        FSeen = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  }

  struct TSearch {
    const std::string* Caption;
    HWND Found;
  };

  static BOOL CALLBACK MatchBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = {};
    char caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (processId != GetCurrentProcessId() || std::string(className) != "#32770" || *search->Caption != caption)
      return TRUE;
    search->Found = window;
    return FALSE;
  }

  // The icon is a visible static control of icon style that holds an icon;
  // its control ID differs between systems.
  static BOOL CALLBACK MatchIcon(HWND child, LPARAM data) {
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) return TRUE;
    if (!SendMessageA(child, STM_GETICON, 0, 0)) return TRUE;
    *reinterpret_cast<bool*>(data) = true;
    return FALSE;
  }

  static bool ShowsIcon(HWND box) {
    bool found = false;
    EnumChildWindows(box, &MatchIcon, reinterpret_cast<LPARAM>(&found));
    return found;
  }

  HWND OwnBox() const {
    TSearch search{&FCaption, nullptr};
    EnumWindows(&MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.Found;
  }

  std::string FCaption;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FSeen{false};
  std::string FText;
  bool FHasIcon = false;
  std::thread FThread;
};

// The window rectangle of a child in its parent's client coordinates.
inline RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The state bits the tool-bar control shows for the button at `index`.
inline BYTE ToolButtonState(TToolBar& toolBar, int index) {
  TBBUTTON button{};
  SendMessageA(toolBar.Handle(), TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
  return button.fsState;
}

}  // namespace retrove::test
