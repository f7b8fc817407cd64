#include "Program.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "RemoteControls.h"
#include "StoredSettings.h"

namespace e2e {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  REQUIRE_MESSAGE(value != nullptr, name);
  return value;
}

// Starts a command line and waits for it; its exit code, or -1.
int RunAndWait(const std::string& application, std::string commandLine, DWORD timeoutMs) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return -1;
  CloseHandle(info.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

}  // namespace

TProgram::TProgram(const char* variable, bool firstRun) {
  // A test starts from a first run unless it says otherwise: what an
  // earlier test left stored would change the window it finds.
  if (firstRun) ForgetSettings();
  const std::string exe = Variable(variable);
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  REQUIRE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &FInfo));
  CloseHandle(FInfo.hThread);
}

TProgram::~TProgram() {
  if (Main) PostMessageA(Main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(FInfo.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(FInfo.hProcess, 1);
  CloseHandle(FInfo.hProcess);
}

bool TProgram::Ended(DWORD timeoutMs) const {
  return WaitForSingleObject(FInfo.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

HWND TProgram::WaitForWindow(const char* className, const char* title, DWORD timeoutMs) const {
  return WaitForTopWindow(FInfo.dwProcessId, className, title, timeoutMs);
}

HWND TProgram::WaitForMessageBox(DWORD timeoutMs) const {
  return WaitForWindow("#32770", "Retrove 97", timeoutMs);
}

void TProgram::FindControls() {
  Main = WaitForWindow(nullptr, "Retrove", 30000);
  REQUIRE(Main != nullptr);
  // Answered once the program's start-up is over and its message loop runs.
  DWORD_PTR answer = 0;
  REQUIRE(SendMessageTimeoutA(Main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer) != 0);
  Tree = FindDescendant(Main, "Retrove.TNsShellTree");
  List = FindDescendant(Main, "Retrove.TListViewEx");
  ToolBar = FindDescendant(Main, "Retrove.TToolBar");
  Combo = FindDescendant(Main, "Retrove.TNsShellCombo");
  Status = FindDescendant(Main, "Retrove.TStatusBar");
  REQUIRE(Tree);
  REQUIRE(List);
  REQUIRE(ToolBar);
  REQUIRE(Combo);
  REQUIRE(Status);
}

void TProgram::Open(std::initializer_list<const char*> nodes) {
  HTREEITEM node = nullptr;
  for (const char* part : nodes) {
    HTREEITEM next = nullptr;
    const bool found = WaitUntil([&] { return (next = FindTreeChild(Tree, node, part)) != nullptr; }, 10000);
    std::string children;
    for (HTREEITEM child : TreeChildren(Tree, node)) children += "[" + TreeItemText(Tree, child) + "]";
    REQUIRE_MESSAGE(found, (std::string(part) + " among " + children));
    node = next;
  }
  SelectTreeItem(Tree, node);
  WaitIdle();
}

void TProgram::Click(int image) {
  REQUIRE(PressToolButton(ToolBar, image));
  Sleep(300);
  WaitIdle();
}

void TProgram::WaitIdle() {
  REQUIRE(WaitUntil([&] { return !ToolButtonEnabled(ToolBar, kStopImage); }, 60000));
}

std::string TProgram::Header() const {
  return WindowText(FindDescendant(Main, "Retrove.TLabel"));
}

std::string TProgram::StatusText() const {
  return StatusBarText(Status, 0);
}

int TProgram::RowCount() const {
  return static_cast<int>(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
}

int TProgram::FindRow(const std::string& name, const std::string& size) const {
  const auto rows = ListViewRows(List, 2);
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i][0] == name && (size.empty() || rows[i][1] == size)) return static_cast<int>(i);
  return -1;
}

bool Nwsim(const std::string& arguments) {
  const std::string tool = Variable("RETROVE_E2E_NWSIM");
  const std::string commandLine = "\"" + tool + "\" --root \"" + Variable("RETROVE_E2E_SERVER") + "\" " + arguments;
  return RunAndWait(tool, commandLine, 30000) == 0;
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "<missing>";
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace e2e
