#include <doctest/doctest.h>

#include <windows.h>

#include <string>

#include "ListedFolder.h"
#include "Program.h"
#include "RemoteControls.h"
#include "StoredSettings.h"

using namespace e2e;

namespace {

// View > Filter..., the patterns typed into its box, and OK.
void SetFilter(TProgram& program, const char* patterns) {
  ChooseMenuItem(program.Main, 'v', 'f');
  HWND dialog = program.WaitForWindow(nullptr, "Filter", 10000);
  REQUIRE(dialog);
  REQUIRE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 10000));
  HWND box = FindDescendant(dialog, "Retrove.TEdit");
  REQUIRE(box);
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(patterns));
  HWND ok = nullptr;
  for (int index = 0; (ok = FindDescendant(dialog, "Retrove.TButton", index)) != nullptr; ++index)
    if (WindowText(ok) == "OK") break;
  REQUIRE(ok);
  PostMessageA(ok, BM_CLICK, 0, 0);
  REQUIRE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 10000));
  WaitForPostedMessages(program.Tree);
}

}  // namespace

TEST_CASE("a filter shows the matching rows of the listing, says so, and is kept for the next run") {
  {
    TListedFolder docs("DOCS");
    REQUIRE(docs.Program.RowCount() == 5);
    SetFilter(docs.Program, "*.txt");
    CHECK(docs.Program.Header() == "Deleted Contents of 'F:\\DOCS\\' \x97 *.txt");
    CHECK(docs.Program.RowCount() == 3);  // two versions of MEMO.TXT and README.TXT
    CHECK(docs.Program.StatusText() == "3 of 5 file(s)");
    CHECK(docs.Program.FindRow("BUDGET.XLS") == -1);
    const auto rows = ListViewRows(docs.Program.List, kColumns);
    for (const auto& row : rows) CHECK_MESSAGE(row[4] == "MJONES", row[0]);  // details are there

    SetFilter(docs.Program, "budget.*;LETTER.???");
    CHECK(docs.Program.RowCount() == 2);
    CHECK(docs.Program.StatusText() == "2 of 5 file(s)");
    PostMessageA(docs.Program.Main, WM_CLOSE, 0, 0);
    REQUIRE(docs.Program.Ended(10000));
  }
  CHECK(StoredSettings()["ListFilter_Pattern"] == "REG_SZ budget.*;LETTER.???");

  TProgram again("RETROVE_E2E_CLIENT", false);
  again.FindControls();
  again.Open({"Desktop", "My Computer", "(F:)", "DOCS"});
  CHECK(again.Header() == "Deleted Contents of 'F:\\DOCS\\' \x97 budget.*;LETTER.???");
  CHECK(again.RowCount() == 2);
  SetFilter(again, "");
  CHECK(again.Header() == "Deleted Contents of 'F:\\DOCS\\'");
  CHECK(again.RowCount() == 5);
  CHECK(again.StatusText() == "5 file(s)");
}

TEST_CASE("an empty list says why: not a NetWare folder, no deleted files, or none matching the filter") {
  TListedFolder docs("DOCS");
  REQUIRE(docs.Program.RowCount() > 0);
  CHECK(WindowText(docs.Program.List).empty());
  SetFilter(docs.Program, "*.NONE");
  CHECK(docs.Program.RowCount() == 0);
  CHECK(WindowText(docs.Program.List) == "No deleted files match the filter.");
  SetFilter(docs.Program, "");
  CHECK(WindowText(docs.Program.List).empty());

  docs.Program.Open({"Desktop", "My Computer", "(C:)"});
  CHECK(WindowText(docs.Program.List) == "This folder is not on a NetWare volume.");

  REQUIRE(Nwsim("rights SYS:CLOSING 0x1FB"));
  docs.Program.Open({"Desktop", "My Computer", "(F:)", "CLOSING"});
  ChooseMenuItem(docs.Program.Main, 'f', 'a');
  docs.AnswerBox(IDYES);
  CHECK(WaitUntil([&] { return docs.Program.StatusText() == "0 file(s)"; }, 10000));
  docs.Program.WaitIdle();
  CHECK(WindowText(docs.Program.List) == "There are no deleted files in this folder.");
}
