#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

// Retrove.exe under test, started for one test case and closed after it,
// with its main window's controls found by window class.
namespace e2e {

inline constexpr int kColumns = 12;
inline constexpr int kLargeIconsImage = 0;
inline constexpr int kSmallIconsImage = 1;
inline constexpr int kListImage = 2;
inline constexpr int kDetailsImage = 3;
inline constexpr int kRetroveImage = 12;
inline constexpr int kStopImage = 13;

class TProgram {
public:
  // `variable` names the environment variable that holds the program's path.
  explicit TProgram(const char* variable, bool firstRun = true);
  ~TProgram();
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  bool Ended(DWORD timeoutMs) const;
  // A top-level window of this program (others on the desktop may show
  // windows of the same title), or its "Retrove 97" message box.
  HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) const;
  HWND WaitForMessageBox(DWORD timeoutMs) const;
  void FindControls();

  // Opens a folder by the texts of its tree nodes from the top down, and
  // waits for its listing.
  void Open(std::initializer_list<const char*> nodes);
  void Click(int image);
  // Until no listing runs (Stop is disabled again).
  void WaitIdle();
  std::string Header() const;
  std::string StatusText() const;
  int RowCount() const;
  // The row whose caption and, when given, size column match; -1 if none.
  int FindRow(const std::string& name, const std::string& size = {}) const;

  HWND Main = nullptr;
  HWND Tree = nullptr;
  HWND List = nullptr;
  HWND ToolBar = nullptr;
  HWND Combo = nullptr;
  HWND Status = nullptr;

private:
  PROCESS_INFORMATION FInfo{};
};

// Runs the development client's nwsim tool on the test's server folder
// (e.g. "fault vanish MEMO.TXT"); true when it succeeded.
bool Nwsim(const std::string& arguments);

// The whole content of a file, or "<missing>".
std::string FileText(const std::string& path);

}  // namespace e2e
