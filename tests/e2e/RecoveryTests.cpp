#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "ListedFolder.h"
#include "Program.h"
#include "RemoteControls.h"

using namespace e2e;


TEST_CASE("a recovered file is back with its contents and its row is gone") {
  TListedFolder fixture("DOCS");
  const int before = fixture.Program.RowCount();
  fixture.Select(fixture.Program.FindRow("BUDGET.XLS"));
  fixture.Recover();
  CHECK(FileText("F:\\DOCS\\BUDGET.XLS") == "quarter,amount\r\nQ1,1200\r\n");
  CHECK(fixture.Program.FindRow("BUDGET.XLS") == -1);
  CHECK(fixture.Program.RowCount() == before - 1);
  CHECK(fixture.Program.StatusText() == std::to_string(before - 1) + " file(s)");
}

TEST_CASE("a live file of the name makes the recovered one take a ~ name") {
  TListedFolder fixture("DOCS");
  fixture.Select(fixture.Program.FindRow("README.TXT"));
  fixture.Recover();
  CHECK(FileText("F:\\DOCS\\README.TXT") == "Current readme.\r\n");
  CHECK(FileText("F:\\DOCS\\README~1.TXT") == "Old readme.\r\n");
}

TEST_CASE("the older of two deleted versions comes back alone when only it is picked") {
  TListedFolder fixture("DOCS");
  fixture.Select(fixture.Program.FindRow("MEMO.TXT", "13"));
  fixture.Recover();
  CHECK(FileText("F:\\DOCS\\MEMO.TXT") == "First memo.\r\n");
  CHECK(fixture.Program.FindRow("MEMO.TXT", "13") == -1);
  CHECK(fixture.Program.FindRow("MEMO.TXT", "23") >= 0);  // the newer one is still deleted
}

TEST_CASE("failed recoveries each say so, in row order, and the others still come back") {
  // A and C are gone from the server as soon as the listing has seen them.
  REQUIRE(Nwsim("fault vanish A.TXT"));
  REQUIRE(Nwsim("fault vanish C.TXT"));
  TListedFolder fixture("FAILS");
  REQUIRE(fixture.Program.RowCount() == 3);
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) fixture.Select(fixture.Program.FindRow(name));
  REQUIRE(PressToolButton(fixture.Program.ToolBar, kRetroveImage));
  CHECK(fixture.AnswerBoxes() == std::vector<std::string>{"Unable to Retrove A.TXT", "Unable to Retrove C.TXT"});
  fixture.Program.WaitIdle();
  CHECK(FileText("F:\\FAILS\\B.TXT") == "File B.TXT");
  CHECK(FileText("F:\\FAILS\\A.TXT") == "<missing>");
  CHECK(fixture.Program.RowCount() == 0);
  CHECK(fixture.Program.StatusText() == "0 file(s)");
  REQUIRE(Nwsim("fault clear"));
}

TEST_CASE("F2 recovers the selection, and without one it does nothing") {
  TListedFolder fixture("DOCS");
  const int before = fixture.Program.RowCount();
  PostMessageA(fixture.Program.List, WM_KEYDOWN, VK_F2, 0);
  Sleep(1000);
  fixture.Program.WaitIdle();
  CHECK(fixture.Program.WaitForMessageBox(500) == nullptr);
  CHECK(fixture.Program.RowCount() == before);

  fixture.Select(fixture.Program.FindRow("LETTER.DOC"));
  PostMessageA(fixture.Program.List, WM_KEYDOWN, VK_F2, 0);
  REQUIRE(WaitUntil([&] { return fixture.Program.FindRow("LETTER.DOC") == -1; }, 20000));
  fixture.Program.WaitIdle();
  CHECK(FileText("F:\\DOCS\\LETTER.DOC") == "Dear customer,\r\n");
  CHECK(fixture.Program.RowCount() == before - 1);
}

TEST_CASE("a long recovery keeps answering the system and recovers the whole selection") {
  TListedFolder fixture("BIG");
  REQUIRE(fixture.Program.RowCount() == 3000);
  const auto rows = ListViewRows(fixture.Program.List, 1);
  for (int row = 0; row < 3; ++row) fixture.Select(row);
  REQUIRE(Nwsim("fault slow 3000"));
  REQUIRE(PressToolButton(fixture.Program.ToolBar, kRetroveImage));
  const HWND progress = fixture.Program.WaitForWindow(nullptr, "Retroving", 10000);
  REQUIRE(progress != nullptr);
  // A key that would select only the last row arrives mid-way; it must wait.
  PostMessageA(fixture.Program.List, WM_KEYDOWN, VK_END, 0);
  // Answered after the file in hand, not after the whole selection.
  DWORD_PTR answer = 0;
  CHECK(SendMessageTimeoutA(fixture.Program.Main, WM_NULL, 0, 0, SMTO_NORMAL, 6000, &answer) != 0);
  CHECK(IsWindowVisible(progress));  // answered while the recovery still ran
  REQUIRE(Nwsim("fault clear"));
  REQUIRE(WaitUntil([&] { return !IsWindowVisible(progress); }, 30000));
  fixture.Program.WaitIdle();
  for (int row = 0; row < 3; ++row) {
    CAPTURE(rows[row][0]);
    CHECK(FileText("F:\\BIG\\" + rows[row][0]) != "<missing>");
  }
  CHECK(fixture.Program.RowCount() == 2997);
}

TEST_CASE("the files that come back are the ones selected when Retrove was pressed") {
  REQUIRE(Nwsim("fault vanish A.TXT"));
  TListedFolder fixture("PICKED");
  TProgram& program = fixture.Program;
  const int a = program.FindRow("A.TXT");
  const int b = program.FindRow("B.TXT");
  const int c = program.FindRow("C.TXT");
  fixture.Select(a);
  fixture.Select(c);
  REQUIRE(PressToolButton(program.ToolBar, kRetroveImage));
  REQUIRE(program.WaitForMessageBox(10000) != nullptr);
  // While A's failure is on screen the selection moves from C to B.
  ListViewSelect(program.List, c, false);
  ListViewSelect(program.List, b, true);
  CHECK(fixture.AnswerBox() == "Unable to Retrove A.TXT");
  CHECK(program.WaitForMessageBox(2000) == nullptr);
  program.WaitIdle();
  CHECK(FileText("F:\\PICKED\\C.TXT") == "File C.TXT");
  CHECK(FileText("F:\\PICKED\\B.TXT") == "<missing>");
  CHECK(program.FindRow("B.TXT") >= 0);
  REQUIRE(Nwsim("fault clear"));
}

TEST_CASE("closing the window during a failure still reports the later failures, then closes") {
  REQUIRE(Nwsim("fault vanish A.TXT"));
  REQUIRE(Nwsim("fault vanish C.TXT"));
  TListedFolder fixture("CLOSING");
  TProgram& program = fixture.Program;
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) fixture.Select(program.FindRow(name));
  REQUIRE(PressToolButton(program.ToolBar, kRetroveImage));
  REQUIRE(program.WaitForMessageBox(10000) != nullptr);
  PostMessageA(program.Main, WM_CLOSE, 0, 0);
  Sleep(500);
  CHECK(fixture.AnswerBox() == "Unable to Retrove A.TXT");
  CHECK(fixture.AnswerBox() == "Unable to Retrove C.TXT");
  CHECK(program.Ended(10000));
  CHECK(FileText("F:\\CLOSING\\B.TXT") == "File B.TXT");
  REQUIRE(Nwsim("fault clear"));
}

TEST_CASE("a folder chosen while another is listed is listed once that listing stops") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)"});
  const HTREEITEM drive = SelectedTreeItem(program.Tree);
  const HTREEITEM clash = FindTreeChild(program.Tree, drive, "CLASH");
  const HTREEITEM publicFolder = FindTreeChild(program.Tree, drive, "PUBLIC");
  REQUIRE(clash);
  REQUIRE(publicFolder);
  REQUIRE(Nwsim("fault slow 5"));
  SelectTreeItem(program.Tree, clash);
  REQUIRE(ToolButtonEnabled(program.ToolBar, kStopImage));
  SelectTreeItem(program.Tree, publicFolder);
  CHECK(WaitUntil([&] { return program.Header() == "Deleted Contents of 'F:\\PUBLIC\\'"; }, 30000));
  program.WaitIdle();
  REQUIRE(Nwsim("fault clear"));
  CHECK(SelectedTreeItem(program.Tree) == publicFolder);
  CHECK(program.FindRow("NOTES.TXT") >= 0);
  CHECK(program.FindRow("README.TXT") < 0);

  // Recovered in the folder listed, beside the live file of its name.
  SelectTreeItem(program.Tree, clash);
  program.WaitIdle();
  REQUIRE(program.Header() == "Deleted Contents of 'F:\\CLASH\\'");
  const int row = program.FindRow("README.TXT");
  REQUIRE(row >= 0);
  ListViewSelect(program.List, row, true);
  REQUIRE(WaitUntil([&] { return ToolButtonEnabled(program.ToolBar, kRetroveImage); }, 5000));
  REQUIRE(PressToolButton(program.ToolBar, kRetroveImage));
  CHECK(program.WaitForMessageBox(3000) == nullptr);
  program.WaitIdle();
  CHECK(FileText("F:\\CLASH\\README.TXT") == "Current readme.");
  CHECK(FileText("F:\\CLASH\\README~1.TXT") == "Old readme.");
  CHECK(FileText("F:\\PUBLIC\\README.TXT") == "<missing>");
}
