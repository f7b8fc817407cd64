#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "GuiTesting.h"
#include "TestForm.h"

using namespace retrove;
using namespace retrove::test;

namespace {

LRESULT FindItem(HWND list, int start, UINT flags, const char* text, LPARAM param = 0) {
  LVFINDINFOA find{};
  find.flags = flags;
  find.psz = text;
  find.lParam = param;
  return SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find));
}

LRESULT FindItemWide(HWND list, int start, UINT flags, const wchar_t* text) {
  LVFINDINFOW find{};
  find.flags = flags;
  find.psz = text;
  return SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find));
}

// Asks the control for a row's display information as the window does.
NMLVDISPINFOA AskDisplayInfo(TCustomListView& list, int row, char* text, int textMax) {
  NMLVDISPINFOA info{};
  info.hdr.hwndFrom = list.Hwnd();
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list.Hwnd()));
  info.hdr.code = LVN_GETDISPINFOA;
  info.item.mask = LVIF_TEXT | LVIF_IMAGE;
  info.item.iItem = row;
  info.item.pszText = text;
  info.item.cchTextMax = textMax;
  info.item.iImage = -7;
  SendMessageA(GetParent(list.Hwnd()), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  return info;
}

std::string WindowText(HWND list, int row, int column) {
  char buffer[256] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

LRESULT WindowRowCount(TCustomListView& list) {
  return SendMessageA(list.Hwnd(), LVM_GETITEMCOUNT, 0, 0);
}

}  // namespace

TEST_CASE("display information for a reader without room is answered without writing") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  TCustomListView& list = *form.ListDel;
  list.AddItem("ALPHA.TXT", 4);

  SUBCASE("no buffer") {
    const NMLVDISPINFOA info = AskDisplayInfo(list, 0, nullptr, 64);
    CHECK(info.item.pszText == nullptr);
    CHECK(info.item.iImage == 4);
  }
  SUBCASE("a buffer of no characters") {
    char text[8] = "unused";
    const NMLVDISPINFOA info = AskDisplayInfo(list, 0, text, 0);
    CHECK(std::string(text) == "unused");
    CHECK(info.item.iImage == 4);
  }
  SUBCASE("through the window, with no characters to fill") {
    char text[8] = "unused";
    LVITEMA item{};
    item.pszText = text;
    item.cchTextMax = 0;
    SendMessageA(list.Hwnd(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    CHECK(std::string(text) == "unused");
  }
  SUBCASE("a row past the last") {
    char text[8] = "unused";
    AskDisplayInfo(list, 1, text, sizeof text);
    CHECK(std::string(text) == "unused");
  }
}

TEST_CASE("a find request without a match gives -1, also where row 0 would be a guess") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  TCustomListView& list = *form.ListDel;
  const HWND window = list.Hwnd();
  CHECK(FindItem(window, -1, LVFI_STRING, "ALPHA.TXT") == -1);  // no rows at all
  for (const char* name : {"ALPHA.TXT", "beta.doc", "GAMMA.XLS"}) list.AddItem(name);

  CHECK(FindItem(window, -1, LVFI_STRING, "beta.doc") == 1);
  CHECK(FindItem(window, -1, LVFI_STRING, "BETA") == -1);
  CHECK(FindItem(window, -1, LVFI_PARTIAL, "delta") == -1);
  CHECK(FindItem(window, -1, LVFI_PARAM, nullptr, 12345) == -1);
  CHECK(FindItem(window, 1, LVFI_PARTIAL, "alp") == -1);  // only before the start, without wrapping
  CHECK(FindItem(window, 1, LVFI_PARTIAL | LVFI_WRAP, "alp") == 0);
  CHECK(FindItemWide(window, -1, LVFI_STRING, L"omega") == -1);
  CHECK(FindItemWide(window, -1, LVFI_PARTIAL, L"gam") == 2);
}

TEST_CASE("rows added in a batch reach the window at its end, or when a call needs them") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  TCustomListView& list = *form.ListDel;
  int changes = 0;
  list.OnChange = [&changes](TObject&, int) { ++changes; };
  list.AddItem("FIRST.TXT");
  list.SetSelected(0, true);
  changes = 0;
  list.BeginAdding();
  for (const char* name : {"SECOND.TXT", "THIRD.TXT", "FOURTH.TXT"}) list.AddItem(name);
  CHECK(changes == 3);  // a change notice for every row, as ever
  CHECK(list.ItemCount() == 4);
  CHECK(WindowRowCount(list) == 1);
  CHECK(list.SelCount() == 1);

  SUBCASE("ending the batch tells the window") {
    list.EndAdding();
    CHECK(WindowRowCount(list) == 4);
    CHECK(WindowText(list.Hwnd(), 3, 0) == "FOURTH.TXT");
  }
  SUBCASE("selecting a new row tells the window first") {
    list.SetSelected(3, true);
    CHECK(WindowRowCount(list) == 4);
    CHECK(list.Selected(3));
    CHECK(list.SelCount() == 2);
    list.EndAdding();
    CHECK(WindowRowCount(list) == 4);
  }
  SUBCASE("finding a new row tells the window first, as it then shows the row") {
    CHECK(FindItem(list.Hwnd(), -1, LVFI_STRING, "FOURTH.TXT") == 3);
    CHECK(WindowRowCount(list) == 4);
  }
  SUBCASE("deleting a new row keeps the window's count and selection in step") {
    list.DeleteItem(2);
    CHECK(WindowRowCount(list) == 3);
    CHECK(WindowText(list.Hwnd(), 2, 0) == "FOURTH.TXT");
    CHECK(list.Selection() == 0);
    list.EndAdding();
    CHECK(WindowRowCount(list) == 3);
  }
  SUBCASE("clearing leaves nothing for the window to learn") {
    list.Clear();
    list.EndAdding();
    CHECK(WindowRowCount(list) == 0);
  }
  SUBCASE("an update within the batch holds the count until both end") {
    list.BeginUpdate();
    list.EndAdding();
    CHECK(WindowRowCount(list) == 1);
    list.EndUpdate();
    CHECK(WindowRowCount(list) == 4);
  }
}

TEST_CASE("sub-items set at once read back alone, through the window, and beside ones set singly") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  TCustomListView& list = *form.ListDel;
  const int row = list.AddItem("REPORT.TXT");
  list.SetSubItem(row, 3, "kept");
  const std::vector<std::string_view> texts = {"1024", "Tuesday, March 4, 1997 09:15 a"};
  list.SetSubItems(row, texts);
  CHECK(list.ItemCaption(row) == "REPORT.TXT");
  CHECK(list.SubItem(row, 0) == "1024");
  CHECK(list.SubItem(row, 1) == "Tuesday, March 4, 1997 09:15 a");
  CHECK(list.SubItem(row, 2).empty());
  CHECK(list.SubItem(row, 3) == "kept");
  CHECK(list.CellText(row, 2) == "Tuesday, March 4, 1997 09:15 a");
  CHECK(WindowText(list.Hwnd(), row, 1) == "1024");
  CHECK(WindowText(list.Hwnd(), row, 2) == "Tuesday, March 4, 1997 09:15 a");
  list.SetSubItem(row, -1, "RENAMED.TXT");
  CHECK(WindowText(list.Hwnd(), row, 0) == "RENAMED.TXT");
  CHECK(list.SubItem(row, 0) == "1024");
}
