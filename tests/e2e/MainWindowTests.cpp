#include <doctest/doctest.h>

#include <cstdlib>
#include <string>

#include "RemoteControls.h"

namespace {

constexpr int kColumns = 12;
constexpr int kDetailsImage = 3;
constexpr int kListImage = 2;
constexpr int kStopImage = 13;

// Retrove.exe started for one test and closed after it.
class TProgram {
public:
  explicit TProgram(const char* variable) {
    const char* exe = std::getenv(variable);
    REQUIRE(exe != nullptr);
    std::string commandLine = std::string("\"") + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    REQUIRE(CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &FInfo));
    CloseHandle(FInfo.hThread);
  }
  ~TProgram() {
    if (Main) PostMessageA(Main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(FInfo.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(FInfo.hProcess, 1);
    CloseHandle(FInfo.hProcess);
  }
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  bool Ended(DWORD timeoutMs) const { return WaitForSingleObject(FInfo.hProcess, timeoutMs) == WAIT_OBJECT_0; }

  void FindControls() {
    Main = e2e::WaitForTopWindow(nullptr, "Retrove", 30000);
    REQUIRE(Main != nullptr);
    Tree = e2e::FindDescendant(Main, "Retrove.TNsShellTree");
    List = e2e::FindDescendant(Main, "Retrove.TCustomListView");
    ToolBar = e2e::FindDescendant(Main, "Retrove.TToolBar");
    Status = e2e::FindDescendant(Main, "Retrove.TStatusBar");
    REQUIRE(Tree);
    REQUIRE(List);
    REQUIRE(ToolBar);
    REQUIRE(Status);
  }

  // Opens a folder by the texts of its tree nodes from the top down.
  void Open(std::initializer_list<const char*> nodes) {
    HTREEITEM node = nullptr;
    for (const char* part : nodes) {
      HTREEITEM next = nullptr;
      REQUIRE_MESSAGE(e2e::WaitUntil([&] { return (next = e2e::FindTreeChild(Tree, node, part)) != nullptr; }, 10000),
                      part);
      node = next;
    }
    e2e::SelectTreeItem(Tree, node);
    WaitIdle();
  }

  void Click(int image) {
    REQUIRE(e2e::PressToolButton(ToolBar, image));
    Sleep(300);
    WaitIdle();
  }

  // Until no listing runs (Stop is disabled again).
  void WaitIdle() { REQUIRE(e2e::WaitUntil([&] { return !e2e::ToolButtonEnabled(ToolBar, kStopImage); }, 60000)); }

  std::string Header() const { return e2e::WindowText(e2e::FindDescendant(Main, "Retrove.TLabel")); }

  HWND Main = nullptr;
  HWND Tree = nullptr;
  HWND List = nullptr;
  HWND ToolBar = nullptr;
  HWND Status = nullptr;

private:
  PROCESS_INFORMATION FInfo{};
};

}  // namespace

TEST_CASE("a demo folder lists its deleted files with each version's own details") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)", "DOCS"});
  program.Click(kDetailsImage);
  CHECK(program.Header() == "Deleted Contents of 'F:\\DOCS\\'");
  const auto rows = e2e::ListViewRows(program.List, kColumns);
  CHECK(e2e::StatusBarText(program.Status, 0) == std::to_string(rows.size()) + " file(s)");
  int memos = 0;
  std::string firstMemo;
  for (const auto& row : rows) {
    CAPTURE(row[0]);
    CHECK_FALSE(row[2].empty());  // the deletion date
    if (row[0] != "MEMO.TXT") continue;
    ++memos;
    const std::string details = row[1] + "|" + row[3];
    if (memos == 1) firstMemo = details;
    else CHECK(details != firstMemo);  // each version shows its own size and deleter
  }
  CHECK(memos == 2);
}

TEST_CASE("a folder off the NetWare volume lists nothing") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(C:)"});
  CHECK(program.Header() == "Deleted Contents of 'C:\\'");
  CHECK(e2e::ListViewRows(program.List, 1).empty());
  CHECK(e2e::StatusBarText(program.Status, 0) == "0 file(s)");
}

TEST_CASE("Stop ends a long listing with the rows so far, and a view switch lists again") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)"});
  HTREEITEM drive = e2e::FindTreeChild(program.Tree, e2e::FindTreeChild(program.Tree, e2e::FindTreeChild(program.Tree, nullptr, "Desktop"), "My Computer"), "(F:)");
  HTREEITEM big = nullptr;
  REQUIRE(e2e::WaitUntil([&] { return (big = e2e::FindTreeChild(program.Tree, drive, "BIG")) != nullptr; }, 10000));
  e2e::SelectTreeItem(program.Tree, big);
  REQUIRE(e2e::WaitUntil([&] { return SendMessageA(program.List, LVM_GETITEMCOUNT, 0, 0) > 50; }, 30000));
  REQUIRE(e2e::PressToolButton(program.ToolBar, kStopImage));
  program.WaitIdle();
  const auto count = SendMessageA(program.List, LVM_GETITEMCOUNT, 0, 0);
  CHECK(count < 20000);
  CHECK(e2e::StatusBarText(program.Status, 0) == std::to_string(count) + " file(s)");

  // The stopped listing was incomplete, so switching the view lists again.
  program.Click(kListImage);
  CHECK(SendMessageA(program.List, LVM_GETITEMCOUNT, 0, 0) == 20000);
  CHECK(e2e::StatusBarText(program.Status, 0) == "20000 file(s)");
}

TEST_CASE("without the client the program says so and ends") {
  TProgram program("RETROVE_E2E_NOCLIENT");
  HWND box = e2e::WaitForTopWindow("#32770", "Retrove 97", 30000);
  REQUIRE(box != nullptr);
  std::string texts;
  for (int i = 0; HWND text = e2e::FindDescendant(box, "Static", i); ++i) texts += e2e::WindowText(text) + "|";
  CHECK(texts.find("The Netware Client 32 APIs are not loaded.") != std::string::npos);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  CHECK(program.Ended(10000));
}
