#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Form.h"
#include "GuiTesting.h"
#include "ImageList.h"
#include "ListViewEx.h"
#include "TestKey.h"

using namespace retrove;
using namespace retrove::test;

namespace {

struct TExForm {
  TExForm() : Form(nullptr) {
    EnsureApplication();
    List = MakeList();
    Form.Show();
  }

  TListViewEx* MakeList() {
    auto* list = new TListViewEx(&Form);
    list->SetParent(&Form);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    for (const char* caption : {"Name", "Size", "Deleted", "Owner"}) list->AddColumn(caption, 100);
    return list;
  }

  // A notice as the control sends it to its parent.
  LRESULT Notify(UINT code) {
    NMHDR header{};
    header.hwndFrom = List->Hwnd();
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(List->Hwnd()));
    header.code = code;
    return SendMessageA(Form.Hwnd(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }

  std::string Text(int row, int column) {
    char text[64] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(List->Hwnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }

  TForm Form;
  TListViewEx* List;
};

}  // namespace

TEST_CASE("extended styles go to the control whole and read back from it") {
  TExForm window;
  TListViewEx& list = *window.List;
  list.SetExtendedStyles({lvxHeaderDragDrop});
  CHECK((SendMessageA(list.Hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0xFF) == 0x10);
  SendMessageA(list.Hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x21);
  CHECK(list.ExtendedStyles() == TLVExtendedStyles{lvxGridLines, lvxFullRowSelect});
}

TEST_CASE("the order the user gave the columns survives the window being made again") {
  TExForm window;
  TListViewEx& list = *window.List;
  list.SetExtendedStyles({lvxHeaderDragDrop});
  // As a header drag leaves it: Size in front of Name.
  const int dragged[] = {1, 0, 2, 3};
  SendMessageA(list.Hwnd(), LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(dragged));
  const HWND before = list.Hwnd();
  list.SetBorderStyle(bsNone);
  REQUIRE(list.Hwnd() != before);
  int order[4] = {};
  SendMessageA(list.Hwnd(), LVM_GETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order));
  CHECK(std::vector<int>(order, order + 4) == std::vector<int>{1, 0, 2, 3});
  CHECK(list.ExtendedStyles() == TLVExtendedStyles{lvxHeaderDragDrop});
  CHECK(list.ColumnOrder() == std::vector<int>{1, 0, 2, 3});
}

TEST_CASE("with AutoSave the widths and order go to the registry when the window goes and come back at loading") {
  const TTestKey key;
  {
    TExForm window;
    TListViewEx& list = *window.List;
    list.SaveSettings().SetRegistryKey("\\" + key.Path);
    list.SaveSettings().SetAutoSave(true);
    list.SetColumnWidth(2, 180);
    list.SetColumnOrder({3, 1, 0, 2});
  }
  CHECK(key.Get("Columns", "Sizes") == "100,100,180,100");
  CHECK(key.Get("Columns", "Order") == "3,1,0,2");

  TExForm window;
  TListViewEx* list = window.MakeList();
  list->SaveSettings().SetRegistryKey("\\" + key.Path);
  list->SaveSettings().SetAutoSave(true);
  list->BeginLoading();
  list->Loaded();
  CHECK(list->ColumnWidth(2) == 180);
  CHECK(list->ColumnOrder() == std::vector<int>{3, 1, 0, 2});
}

TEST_CASE("without AutoSave nothing is read or written; a damaged stored order is repaired, never written back") {
  const TTestKey key;
  key.PutText("Columns", L"Order", L"2,2,-1,abc");
  {
    TExForm window;
    TListViewEx& list = *window.List;
    list.SaveSettings().SetRegistryKey(key.Path);
    list.BeginLoading();
    list.Loaded();
    CHECK(list.ColumnOrder() == std::vector<int>{0, 1, 2, 3});
  }
  CHECK_FALSE(key.Exists("Columns\\Sizes"));
  CHECK(key.Get("Columns", "Sizes") == "(missing)");

  TExForm window;
  TListViewEx& list = *window.List;
  list.SaveSettings().SetRegistryKey(key.Path);
  list.SaveSettings().SetAutoSave(true);
  list.SaveSettings().SetSaveColumnSizes(false);
  list.BeginLoading();
  list.Loaded();
  CHECK(list.ColumnOrder() == std::vector<int>{2, 0, 1, 3});
  CHECK(key.Get("Columns", "Order") == "2,2,-1,abc");
}

TEST_CASE("a header image stands beside the column's own alignment, and only with small images to show") {
  TExForm window;
  TListViewEx& list = *window.List;
  LVCOLUMNA right{};
  right.mask = LVCF_FMT;
  right.fmt = LVCFMT_RIGHT;
  SendMessageA(list.Hwnd(), LVM_SETCOLUMNA, 1, reinterpret_cast<LPARAM>(&right));
  auto format = [&](int column) {
    LVCOLUMNA info{};
    info.mask = LVCF_FMT | LVCF_IMAGE;
    SendMessageA(list.Hwnd(), LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return std::pair{info.fmt, info.iImage};
  };
  list.ColumnsFormat().Add();
  list.ColumnsFormat().Add().SetImageAlignment(ciaLeftOfText);
  list.ColumnsFormat().Items(1).SetImageIndex(3);
  CHECK(format(1).first == LVCFMT_RIGHT);

  TImageList images(nullptr);
  HIMAGELIST handle = ImageList_Create(16, 16, ILC_COLOR24, 4, 0);
  ImageList_SetImageCount(handle, 4);
  images.SetHandle(handle);
  list.SetSmallImages(&images);
  list.ApplyAllColumnFormats();
  CHECK(format(1) == std::pair{LVCFMT_RIGHT | LVCFMT_IMAGE, 3});

  list.ColumnsFormat().Items(1).SetImageIndex(-1);
  CHECK(format(1).first == LVCFMT_RIGHT);
  CHECK(list.ColumnsFormat().Items(1).ImageAlignment() == ciaRightOfText);
  list.ColumnsFormat().Items(0).SetImageIndex(2);
  CHECK(format(0) == std::pair{LVCFMT_LEFT | LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT, 2});
  list.SetSmallImages(nullptr);
}

TEST_CASE("in virtual mode the owner answers for rows the control does not hold") {
  TExForm window;
  TListViewEx& list = *window.List;
  const HWND before = list.Hwnd();
  list.SetVirtualMode(true);
  CHECK(list.Hwnd() != before);
  std::vector<int> asked;
  list.OnVMGetItemInfo = [&](TObject&, int item, int subItem, TLVVMMaskItems mask, int&, LPARAM&, int&, int&,
                             std::string& text) {
    asked.push_back(item);
    CHECK(mask.Contains(lvmText));
    text = "row " + std::to_string(item) + " cell " + std::to_string(subItem) + std::string(100, '.');
  };
  list.SetVirtualItemCount(50000);
  CHECK(ListView_GetItemCount(list.Hwnd()) == 50000);
  CHECK(window.Text(41234, 2).starts_with("row 41234 cell 2..."));
  CHECK(window.Text(41234, 2).size() == 63);  // cut to the buffer, terminated
  REQUIRE_FALSE(asked.empty());
  CHECK(asked.back() == 41234);

  // No buffer, a zero size, or row -1: nothing is written.
  char untouched[4] = "abc";
  NMLVDISPINFOA request{};
  request.hdr.hwndFrom = list.Hwnd();
  request.hdr.code = LVN_GETDISPINFOA;
  request.item.mask = LVIF_TEXT;
  request.item.iItem = 3;
  request.item.pszText = untouched;
  request.item.cchTextMax = 0;
  SendMessageA(window.Form.Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  request.item.pszText = nullptr;
  request.item.cchTextMax = 4;
  SendMessageA(window.Form.Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  asked.clear();
  request.item.iItem = -1;
  request.item.pszText = untouched;
  SendMessageA(window.Form.Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  CHECK(std::string(untouched) == "abc");
  CHECK(asked.empty());

  // A search nobody answers finds nothing: -1, not the first row.
  LVFINDINFOA find{};
  find.flags = LVFI_STRING;
  find.psz = "row 7";
  CHECK(SendMessageA(list.Hwnd(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) == -1);
  list.OnVMFindItem = [](TObject&, NMLVFINDITEMA& info, bool& found) {
    found = info.lvfi.psz && std::string(info.lvfi.psz) == "row 7";
    info.iStart = 7;
  };
  CHECK(SendMessageA(list.Hwnd(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) == 7);
}

TEST_CASE("marquee and activation notices reach their events outside virtual mode only") {
  TExForm window;
  TListViewEx& list = *window.List;
  int activated = 0;
  list.OnItemActivate = [&](TObject&) { ++activated; };
  CHECK(window.Notify(LVN_MARQUEEBEGIN) == 0);
  list.OnMarqueeBegin = [](TObject&, bool& canBegin) { canBegin = false; };
  CHECK(window.Notify(LVN_MARQUEEBEGIN) == 1);
  window.Notify(LVN_ITEMACTIVATE);
  CHECK(activated == 1);

  list.SetVirtualMode(true);
  window.Notify(LVN_ITEMACTIVATE);
  CHECK(activated == 1);
}
