#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "Program.h"
#include "RemoteControls.h"
#include "StoredSettings.h"
#include "VersionInfo.h"

using namespace e2e;

TEST_CASE("a demo folder lists its deleted files with each version's own details") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)", "DOCS"});
  program.Click(kDetailsImage);
  CHECK(program.Header() == "Deleted Contents of 'F:\\DOCS\\'");
  const auto rows = ListViewRows(program.List, kColumns);
  CHECK(program.StatusText() == std::to_string(rows.size()) + " file(s)");
  CHECK(rows.size() == 5);
  std::string memos;
  for (const auto& row : rows) {
    CAPTURE(row[0]);
    CHECK(row[2].find("1997") != std::string::npos);  // the deletion date
    CHECK(row[4] == "MJONES");                         // the owner
    if (row[0] == "MEMO.TXT") memos += row[1] + " " + row[3] + "|";
  }
  // Each version shows its own size and deleter, in the server's order.
  CHECK(memos == "13 MJONES|23 JSMITH|");
}

TEST_CASE("a folder picked in the combo box is selected in the tree and listed") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)", "DOCS", "REPORTS"});
  REQUIRE(program.Header() == "Deleted Contents of 'F:\\DOCS\\REPORTS\\'");
  // The chain ends in REPORTS, selected; DOCS is the entry above it.
  const auto reports = static_cast<int>(SendMessageA(program.Combo, CB_GETCURSEL, 0, 0));
  REQUIRE(reports > 0);
  ChooseComboEntry(program.Combo, reports - 1);
  CHECK(WaitUntil([&] { return program.Header() == "Deleted Contents of 'F:\\DOCS\\'"; }, 10000));
  program.WaitIdle();
  CHECK(program.RowCount() == 5);
  CHECK(TreeItemText(program.Tree, SelectedTreeItem(program.Tree)) == "DOCS");
  CHECK(SendMessageA(program.Combo, CB_GETCURSEL, 0, 0) == reports - 1);
}

TEST_CASE("a folder off the NetWare volume lists nothing") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(C:)"});
  CHECK(program.Header() == "Deleted Contents of 'C:\\'");
  CHECK(program.RowCount() == 0);
  CHECK(program.StatusText() == "0 file(s)");
}

TEST_CASE("Stop ends a long listing with the rows so far, and a view switch lists again") {
  REQUIRE(Nwsim("fault slow 5"));
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)"});
  HTREEITEM drive = FindTreeChild(program.Tree, FindTreeChild(program.Tree, FindTreeChild(program.Tree, nullptr, "Desktop"), "My Computer"), "(F:)");
  HTREEITEM big = nullptr;
  REQUIRE(WaitUntil([&] { return (big = FindTreeChild(program.Tree, drive, "BIG")) != nullptr; }, 10000));
  SelectTreeItem(program.Tree, big);
  REQUIRE(WaitUntil([&] { return program.RowCount() > 50; }, 30000));
  CHECK(ToolButtonEnabled(program.ToolBar, kStopImage));
  REQUIRE(PressToolButton(program.ToolBar, kStopImage));
  program.WaitIdle();
  const int stoppedAt = program.RowCount();
  CHECK(stoppedAt < 3000);
  CHECK(program.StatusText() == std::to_string(stoppedAt) + " file(s)");
  CHECK(program.Header() == "Deleted Contents of 'F:\\BIG\\'");

  // The stopped listing was incomplete, so switching the view lists again;
  // a complete one is not repeated by the next switch.
  REQUIRE(Nwsim("fault clear"));
  program.Click(kListImage);
  CHECK(program.RowCount() == 3000);
  CHECK(program.StatusText() == "3000 file(s)");
  const std::string first = ListViewRows(program.List, 1).front().front();
  REQUIRE(Nwsim("purge SYS:BIG --name " + first));
  program.Click(kLargeIconsImage);
  CHECK(program.RowCount() == 3000);
  // Details were not fetched, so Details lists again and sees the purge.
  program.Click(kDetailsImage);
  CHECK(program.RowCount() == 2999);
}

namespace {

bool StoredAs(const std::map<std::string, std::string>& stored, const char* name, const char* text) {
  const auto value = stored.find(name);
  return value != stored.end() && value->second == std::string("REG_SZ ") + text;
}

// Alt+V, T and Alt+V, B; true once the bar shows or hides as asked.
bool ToggleBar(const TProgram& program, HWND bar, char key) {
  const bool wasVisible = IsWindowVisible(bar);
  ChooseMenuItem(program.Main, 'v', key);
  return WaitUntil([&] { return (IsWindowVisible(bar) != FALSE) != wasVisible; }, 5000);
}

void CloseAndWait(TProgram& program) {
  PostMessageA(program.Main, WM_CLOSE, 0, 0);
  REQUIRE(program.Ended(10000));
}

}  // namespace

TEST_CASE("without the client the program says so and ends, its window never shown nor its state lost") {
  ForgetSettings();
  StoreSetting("ShowCmd", "3");
  StoreSetting("NormPos", "100,80,700,500");
  TProgram program("RETROVE_E2E_NOCLIENT", false);
  HWND box = program.WaitForMessageBox(30000);
  REQUIRE(box != nullptr);
  std::string texts;
  for (int i = 0; HWND text = FindDescendant(box, "Static", i); ++i) texts += WindowText(text) + "|";
  CHECK(texts.find("The Netware Client 32 APIs are not loaded.") != std::string::npos);
  const HWND main = program.WaitForWindow(nullptr, "Retrove", 1000);
  REQUIRE(main != nullptr);
  CHECK_FALSE(IsWindowVisible(main));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  // Watched without pause: a window that flashes up is visible only briefly.
  bool shown = false;
  const DWORD start = GetTickCount();
  while (!program.Ended(0) && GetTickCount() - start < 10000) shown = shown || (IsWindow(main) && IsWindowVisible(main));
  CHECK_FALSE(shown);
  CHECK(program.Ended(10000));
  const std::map<std::string, std::string> stored = StoredSettings();
  CHECK(StoredAs(stored, "ShowCmd", "3"));
  CHECK(StoredAs(stored, "NormPos", "100,80,700,500"));
}

TEST_CASE("at start the tree's top folder is selected and listed") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  char desktop[MAX_PATH] = {};
  REQUIRE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
  const std::string expected = "Deleted Contents of '" + std::string(desktop) + "\\'";
  CHECK(WaitUntil([&] { return lstrcmpiA(program.Header().c_str(), expected.c_str()) == 0; }, 10000));
  CHECK(program.Header().size() == expected.size());
  program.WaitIdle();
  CHECK(TreeItemText(program.Tree, SelectedTreeItem(program.Tree)) == "Desktop");
  CHECK(program.StatusText() == "0 file(s)");
  // The tree as the window lays it out: no border, no root lines, labels
  // that cannot be edited.
  const LONG style = GetWindowLongA(program.Tree, GWL_STYLE);
  CHECK((style & TVS_EDITLABELS) == 0);
  CHECK((style & TVS_LINESATROOT) == 0);
  CHECK((style & WS_BORDER) == 0);
  CHECK((GetWindowLongA(program.Tree, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0);
  CHECK(SendMessageA(program.Tree, TVM_GETINDENT, 0, 0) == 19);
}

TEST_CASE("a folder deleted while it is listed leaves the tree on its parent and the program working") {
  REQUIRE(Nwsim("fault slow 5"));
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)"});
  const HTREEITEM drive = SelectedTreeItem(program.Tree);
  const HTREEITEM gone = FindTreeChild(program.Tree, drive, "GONE");
  REQUIRE(gone);
  SelectTreeItem(program.Tree, gone);
  REQUIRE(WaitUntil([&] { return program.RowCount() > 20; }, 30000));
  REQUIRE(RemoveDirectoryA("F:\\GONE"));
  // The change watch drops the node while the listing still runs.
  CHECK(WaitUntil([&] { return FindTreeChild(program.Tree, drive, "GONE") == nullptr; }, 20000));
  REQUIRE(Nwsim("fault clear"));
  program.WaitIdle();
  DWORD_PTR answer = 0;
  CHECK(SendMessageTimeoutA(program.Main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer) != 0);
  CHECK(SelectedTreeItem(program.Tree) == drive);
  program.Click(kListImage);
  CHECK(program.StatusText() == std::to_string(program.RowCount()) + " file(s)");
}

TEST_CASE("a change elsewhere on the drive while a folder is listed leaves that listing going") {
  REQUIRE(Nwsim("fault slow 5"));
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(F:)"});
  const HTREEITEM drive = SelectedTreeItem(program.Tree);
  // CLASH, which no other test here changes: 2,000 entries and README.TXT.
  const HTREEITEM clash = FindTreeChild(program.Tree, drive, "CLASH");
  REQUIRE(clash);
  SelectTreeItem(program.Tree, clash);
  REQUIRE(WaitUntil([&] { return program.RowCount() > 20; }, 30000));
  REQUIRE(CreateDirectoryA("F:\\LATE", nullptr));
  // The tree refreshes itself and selects CLASH again; the rows must only
  // ever grow meanwhile, as a listing started over would begin at none.
  int rows = program.RowCount();
  bool fell = false;
  const auto watch = [&] {
    const int now = program.RowCount();
    fell = fell || now < rows;
    rows = now;
  };
  CHECK(WaitUntil([&] { watch(); return FindTreeChild(program.Tree, drive, "LATE") != nullptr; }, 20000));
  WaitUntil([&] { watch(); return false; }, 1000);
  REQUIRE(Nwsim("fault clear"));
  program.WaitIdle();
  RemoveDirectoryA("F:\\LATE");
  CHECK_FALSE(fell);
  CHECK(program.RowCount() == 2001);
  CHECK(program.StatusText() == "2001 file(s)");
  CHECK(SelectedTreeItem(program.Tree) == clash);
}

TEST_CASE("a header click sorts Details by size as numbers and by deletion time; a second click reverses") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Click(kDetailsImage);
  program.Open({"Desktop", "My Computer", "(F:)", "DOCS"});
  const auto column = [&](int index) {
    std::vector<std::string> texts;
    for (const auto& row : ListViewRows(program.List, kColumns)) texts.push_back(row[static_cast<size_t>(index)]);
    return texts;
  };
  ClickListHeader(program.List, 1);
  CHECK(column(1) == std::vector<std::string>{"13", "13", "16", "23", "25"});
  ClickListHeader(program.List, 2);
  CHECK(column(0) == std::vector<std::string>{"README.TXT", "BUDGET.XLS", "MEMO.TXT", "MEMO.TXT", "LETTER.DOC"});
  CHECK(column(1) == std::vector<std::string>{"13", "25", "13", "23", "16"});
  ClickListHeader(program.List, 2);
  CHECK(column(0) == std::vector<std::string>{"LETTER.DOC", "MEMO.TXT", "MEMO.TXT", "BUDGET.XLS", "README.TXT"});
  CHECK(program.StatusText() == "5 file(s)");
  // Listed again (F5), the rows keep that order.
  PostMessageA(program.List, WM_KEYDOWN, VK_F5, 0);
  Sleep(500);
  program.WaitIdle();
  CHECK(column(0) == std::vector<std::string>{"LETTER.DOC", "MEMO.TXT", "MEMO.TXT", "BUDGET.XLS", "README.TXT"});

  // The columns were sorted and resized, but the list keeps nothing of
  // them between runs.
  ListView_SetColumnWidth(program.List, 3, 160);
  PostMessageA(program.Main, WM_CLOSE, 0, 0);
  REQUIRE(program.Ended(10000));
  HKEY columns = nullptr;
  CHECK(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vantorel\\Retrove\\Columns", 0, KEY_READ, &columns) ==
        ERROR_FILE_NOT_FOUND);
  if (columns) RegCloseKey(columns);
}


TEST_CASE("the window and its view settings are kept from one run to the next") {
  {
    TProgram program("RETROVE_E2E_CLIENT");
    program.FindControls();
    program.Click(kSmallIconsImage);
    REQUIRE(ToggleBar(program, program.ToolBar, 't'));
    REQUIRE(ToggleBar(program, program.Status, 'b'));
    // The bar between the panes, grabbed one pixel right of the tree pane
    // (195 wide) and dropped 64 pixels further right.
    const HWND splitter = FindDescendant(program.Main, "Retrove.TNsSplitter");
    REQUIRE(splitter);
    PostMessageA(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(196, 100));
    PostMessageA(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(260, 100));
    PostMessageA(splitter, WM_LBUTTONUP, 0, MAKELPARAM(260, 100));
    WaitForPostedMessages(program.Tree);
    ShowWindow(program.Main, SW_MAXIMIZE);
    Sleep(300);
    CloseAndWait(program);
  }
  const std::map<std::string, std::string> stored = StoredSettings();
  CHECK(StoredAs(stored, "ShowCmd", "3"));
  for (const char* name : {"Flags", "MinMaxPos", "NormPos"}) CHECK_MESSAGE(stored.count(name) == 1, name);
  const char* const offNames[] = {"BDetails_Down",      "BList_Down",     "BLargeIcons_Down", "MLargeIcons_Checked",
                                  "MToolBar_Checked",   "Toolbar_Visible", "MStatusBar_Checked",
                                  "StatusBar_Visible",  "MDetails_Checked", "MList_Checked"};
  for (const char* name : offNames) CHECK_MESSAGE(StoredAs(stored, name, "False"), name);
  for (const char* name : {"BSmallIcons_Down", "MSmallIcons_Checked"}) CHECK_MESSAGE(StoredAs(stored, name, "True"), name);
  CHECK(StoredAs(stored, "ListDel_ViewStyle", "vsSmallIcon"));
  CHECK(StoredAs(stored, "NsSplitter1_Position", "259"));
  CHECK(StoredAs(stored, "ListFilter_Pattern", ""));
  CHECK(stored.size() == 19);

  TProgram again("RETROVE_E2E_CLIENT", false);
  again.FindControls();
  CHECK(IsZoomed(again.Main));
  CHECK(ToolButtonChecked(again.ToolBar, kSmallIconsImage));
  CHECK((GetWindowLongA(again.List, GWL_STYLE) & LVS_TYPEMASK) == LVS_SMALLICON);
  CHECK_FALSE(IsWindowVisible(again.ToolBar));
  CHECK_FALSE(IsWindowVisible(again.Status));
  RECT treePane{};
  GetClientRect(GetParent(again.Tree), &treePane);
  CHECK(treePane.right == 259);
  // The ticks came back too: what this close stores is what the menu holds.
  // The maximised position is left out: the system sets it when the window
  // is maximised, and this time it already came up maximised.
  CloseAndWait(again);
  std::map<std::string, std::string> storedAgain = StoredSettings();
  CHECK(storedAgain.erase("MinMaxPos") == 1);
  std::map<std::string, std::string> storedFirst = stored;
  storedFirst.erase("MinMaxPos");
  CHECK(storedAgain == storedFirst);
}

TEST_CASE("a bar and its View tick stored out of step come together at the first toggle") {
  ForgetSettings();
  StoreSetting("MToolBar_Checked", "False");
  StoreSetting("NormPos", "0x7FFFFFFF,-99999999999,abc,");
  TProgram program("RETROVE_E2E_CLIENT", false);
  program.FindControls();
  REQUIRE(IsWindowVisible(program.ToolBar));
  REQUIRE(ToggleBar(program, program.ToolBar, 't'));
  REQUIRE(ToggleBar(program, program.ToolBar, 't'));

  // The damaged rectangle was ignored, and this close writes a sound one.
  RECT frame{};
  GetWindowRect(program.Main, &frame);
  CHECK(frame.left < GetSystemMetrics(SM_CXSCREEN));
  CHECK(frame.right > 0);
  CloseAndWait(program);
  const std::map<std::string, std::string> stored = StoredSettings();
  CHECK(StoredAs(stored, "Toolbar_Visible", "True"));
  CHECK(StoredAs(stored, "MToolBar_Checked", "True"));
  const std::string normal = std::to_string(frame.left) + "," + std::to_string(frame.top) + "," +
                             std::to_string(frame.right) + "," + std::to_string(frame.bottom);
  CHECK(StoredAs(stored, "NormPos", normal.c_str()));
}

TEST_CASE("the About box names the server, its version and the user the program works as") {
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  ChooseMenuItem(program.Main, 'h', 'a');
  HWND about = program.WaitForWindow(nullptr, "About", 10000);
  REQUIRE(about);
  // The box is made, hidden, when the program starts, and its lines are
  // filled just before it shows: read before, they are still empty.
  REQUIRE(WaitUntil([&] { return IsWindowVisible(about) != FALSE; }, 10000));
  std::vector<std::string> lines;
  for (int index = 0; HWND label = FindDescendant(about, "Retrove.TLabel", index); ++index)
    lines.push_back(WindowText(label));
  const auto shows = [&](const std::string& text) { return std::ranges::find(lines, text) != lines.end(); };
  CHECK(shows("ACME_FS1 \x97 NetWare 4.11 \x97 CN=ADMIN.O=ACME"));
  // The version is the one the file's properties give.
  const std::string version = retrove::ProductVersion(std::getenv("RETROVE_E2E_CLIENT"));
  REQUIRE(!version.empty());
  CHECK(shows("Version " + version));
  PostMessageA(about, WM_CLOSE, 0, 0);
  CHECK(WaitUntil([&] { return !IsWindowVisible(about); }, 5000));
  CloseAndWait(program);
}

TEST_CASE("an owner known only to directory services is named in the Details view") {
  REQUIRE(Nwsim("add-user DSONLY --directory-only"));
  REQUIRE(Nwsim("put DATA:PROJECTS/DSFILE.TXT --text x"));
  REQUIRE(Nwsim("delete DATA:PROJECTS/DSFILE.TXT --by JSMITH --owner DSONLY"));
  TProgram program("RETROVE_E2E_CLIENT");
  program.FindControls();
  program.Open({"Desktop", "My Computer", "(G:)", "PROJECTS"});
  program.Click(kDetailsImage);
  const int row = program.FindRow("DSFILE.TXT");
  REQUIRE(row >= 0);
  const auto rows = ListViewRows(program.List, kColumns);
  // The bindery does not know the owner; the directory does.
  CHECK(rows[static_cast<size_t>(row)][4] == "DSONLY.ACME");
  CHECK(rows[static_cast<size_t>(row)][3] == "JSMITH");
  CloseAndWait(program);
}
