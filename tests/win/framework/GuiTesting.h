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

// Watches from a second thread for a message box with the given caption,
// keeps its text and style, and dismisses it with its OK button.
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
      if (HWND box = FindWindowA("#32770", FCaption.c_str())) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        FText = text;
        FHasIcon = GetDlgItem(box, 0x0014) && IsWindowVisible(GetDlgItem(box, 0x0014));
        FSeen = true;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
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
