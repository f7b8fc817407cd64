#include <doctest/doctest.h>

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstring>

#include "Exceptions.h"
#include "GuiTesting.h"
#include "TestForm.h"

using namespace retrove;
using namespace retrove::test;

namespace {

// Clicks a tool button with the mouse messages a user's click sends.
void ClickToolButton(TToolBar& toolBar, TToolButton& button) {
  const RECT rect = toolBar.ButtonRect(button);
  const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageA(toolBar.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageA(toolBar.Hwnd(), WM_LBUTTONUP, 0, point);
}

std::string MenuText(HMENU menu, UINT command) {
  char text[128] = {};
  GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
  return text;
}

// How many views of shell32.dll the process holds as data, which is how a
// module an animation plays from is loaded.
int Shell32DataViews() {
  int count = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.Type != MEM_MAPPED || region.BaseAddress != region.AllocationBase) continue;
    char name[MAX_PATH] = {};
    const DWORD length = GetMappedFileNameA(GetCurrentProcess(), region.BaseAddress, name, MAX_PATH);
    if (length >= 12 && _stricmp(name + length - 12, "\\shell32.dll") == 0) ++count;
  }
  return count;
}

// Whether the system's own animation control opens shell32's copy animation.
bool SystemOpensCopyAnimation(HWND parent) {
  const TModuleHandle shell(LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
  const TWindowHandle animation(
      CreateWindowExA(0, ANIMATE_CLASSA, "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr));
  return SendMessageA(animation.Get(), ACM_OPENA, reinterpret_cast<WPARAM>(shell.Get()),
                      reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(161))) != 0;
}

// Notes, as the window is destroyed, how many views of shell32 are left.
LRESULT CALLBACK CountViewsAtDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR viewsAtDestroy) {
  if (message == WM_DESTROY) *reinterpret_cast<int*>(viewsAtDestroy) = Shell32DataViews();
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &CountViewsAtDestroy, id);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

TEST_CASE("grouped check buttons: at most one down, and a click on the down one releases it") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  const int largeIndex = 4;
  const int detailsIndex = 7;
  CHECK((ToolButtonState(*form.Toolbar, largeIndex) & TBSTATE_CHECKED) != 0);

  ClickToolButton(*form.Toolbar, *form.BDetails);
  CHECK(form.ViewClicks == 1);
  CHECK(form.DownSeenByClick);  // the state had changed when OnClick ran
  CHECK(form.BDetails->Down());
  CHECK_FALSE(form.BLargeIcons->Down());
  CHECK((ToolButtonState(*form.Toolbar, detailsIndex) & TBSTATE_CHECKED) != 0);
  CHECK_FALSE((ToolButtonState(*form.Toolbar, largeIndex) & TBSTATE_CHECKED) != 0);

  ClickToolButton(*form.Toolbar, *form.BDetails);
  CHECK(form.ViewClicks == 2);
  CHECK_FALSE(form.DownSeenByClick);
  for (TToolButton* button : {form.BLargeIcons, form.BSmallIcons, form.BList, form.BDetails})
    CHECK_FALSE(button->Down());
  CHECK_FALSE((ToolButtonState(*form.Toolbar, detailsIndex) & TBSTATE_CHECKED) != 0);

  SUBCASE("without all-up the down button stays down") {
    for (TToolButton* button : {form.BLargeIcons, form.BSmallIcons, form.BList, form.BDetails})
      button->SetAllowAllUp(false);
    form.BList->SetDown(true);
    ClickToolButton(*form.Toolbar, *form.BList);
    CHECK(form.BList->Down());
    CHECK((ToolButtonState(*form.Toolbar, 6) & TBSTATE_CHECKED) != 0);
  }
  SUBCASE("a disabled button does not click") {
    form.BSmallIcons->SetEnabled(false);
    CHECK_FALSE((ToolButtonState(*form.Toolbar, 5) & TBSTATE_ENABLED) != 0);
    ClickToolButton(*form.Toolbar, *form.BSmallIcons);
    CHECK(form.ViewClicks == 2);
    CHECK_FALSE(form.BSmallIcons->Down());
  }
}

TEST_CASE("tool buttons give their hints, and the combo box stands on its separator") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  char text[80] = {};
  NMTBGETINFOTIPA tip{};
  tip.hdr.hwndFrom = form.Toolbar->Hwnd();
  tip.hdr.code = TBN_GETINFOTIPA;
  tip.pszText = text;
  tip.cchTextMax = sizeof text;
  TBBUTTON up{};
  SendMessageA(form.Toolbar->Hwnd(), TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&up));
  tip.iItem = up.idCommand;
  SendMessageA(form.Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  CHECK(std::string(text) == "Up One Level");
  CHECK(up.iBitmap == 11);

  CHECK(GetParent(form.Combo->Hwnd()) == form.Toolbar->Hwnd());
  const RECT slot = form.Toolbar->ButtonRect(*form.Toolbar->Buttons(0));
  CHECK(slot.right - slot.left == 193);
  CHECK(ChildRect(form.Combo->Hwnd()).left == slot.left);
}

TEST_CASE("menu captions, ticks, radio groups and enabled states reach the menu") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  HMENU menu = GetMenu(form.Hwnd());
  REQUIRE(menu == form.MainMenu1->Handle());
  CHECK(MenuText(menu, form.MRetrove->Command()) == " &Retrove\tF2");
  CHECK(MenuText(menu, form.MRefresh->Command()) == " &Refresh\tF5");
  MENUITEMINFOA separator{};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(GetSubMenu(menu, 0), 1, TRUE, &separator);
  CHECK((separator.fType & MFT_SEPARATOR) != 0);

  auto checked = [menu](TMenuItem* item) {
    return (GetMenuState(menu, item->Command(), MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  CHECK(checked(form.MLargeIcons));
  form.MList->SetChecked(true);
  CHECK(checked(form.MList));
  CHECK_FALSE(checked(form.MLargeIcons));
  CHECK_FALSE(form.MLargeIcons->Checked());
  // Ticks outside the radio group stay as they are.
  CHECK(checked(form.MToolBar));
  form.MToolBar->SetChecked(false);
  CHECK_FALSE(checked(form.MToolBar));
  CHECK(checked(form.MList));
  MENUITEMINFOA radio{};
  radio.cbSize = sizeof radio;
  radio.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(menu, form.MList->Command(), FALSE, &radio);
  CHECK((radio.fType & MFT_RADIOCHECK) != 0);

  form.MRetrove->SetEnabled(false);
  CHECK((GetMenuState(menu, form.MRetrove->Command(), MF_BYCOMMAND) & MF_GRAYED) != 0);
  form.MRetrove->SetEnabled(true);
  CHECK_FALSE((GetMenuState(menu, form.MRetrove->Command(), MF_BYCOMMAND) & MF_GRAYED) != 0);

  SUBCASE("adding an item rebuilds the menu with the states kept") {
    auto* extra = new TMenuItem(&form);
    form.MFile->Add(extra);
    extra->SetCaption(" E&xtra");
    HMENU rebuilt = GetMenu(form.Hwnd());
    CHECK(MenuText(rebuilt, extra->Command()) == " E&xtra");
    CHECK((GetMenuState(rebuilt, form.MList->Command(), MF_BYCOMMAND) & MF_CHECKED) != 0);
  }
}

TEST_CASE("shortcut keys click their menu items through the message loop") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  form.ListDel->SetFocus();
  auto press = [&form](WORD key) {
    PostMessageA(form.ListDel->Hwnd(), WM_KEYDOWN, key, 1);
    Application.ProcessMessages();
  };
  press(VK_F2);
  CHECK(form.RetroveClicks == 1);
  press(VK_F5);
  CHECK(form.RefreshClicks == 1);
  form.MRetrove->SetEnabled(false);
  press(VK_F2);
  CHECK(form.RetroveClicks == 1);
  press(VK_F3);
  CHECK(form.RetroveClicks + form.RefreshClicks == 2);
}

TEST_CASE("status-bar panels show their texts") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  HWND bar = form.StatusBar->Hwnd();
  CHECK(SendMessageA(bar, SB_GETPARTS, 0, 0) == 1);
  char text[64] = {};
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  CHECK(std::string(text) == "3 file(s)");
  form.StatusBar->SetPanelText(0, "0 file(s)");
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  CHECK(std::string(text) == "0 file(s)");
  CHECK(form.StatusBar->PanelText(0) == "0 file(s)");
  CHECK(form.StatusBar->Height() == 19);
}

TEST_CASE("list rows: captions, sub-items, images, selection and change notices") {
  EnsureApplication();
  TTestForm form(nullptr);
  int changes = 0;
  form.ListDel->OnChange = [&changes](TObject&, int) { ++changes; };
  const int first = form.ListDel->AddItem("LETTERS.DOC", 3);
  form.ListDel->SetSubItem(first, 0, "1024");
  form.ListDel->AddItem("REPORT.TXT", 5);
  CHECK(changes >= 2);
  CHECK(form.ListDel->ItemCount() == 2);
  CHECK(form.ListDel->ItemCaption(1) == "REPORT.TXT");
  CHECK(form.ListDel->SubItem(0, 0) == "1024");
  CHECK(form.ListDel->ImageIndex(1) == 5);
  CHECK(form.ListDel->SelCount() == 0);

  const int before = changes;
  form.ListDel->SetSelected(0, true);
  form.ListDel->SetSelected(1, true);
  CHECK(changes > before);
  CHECK(form.ListDel->SelCount() == 2);
  CHECK(form.ListDel->Selection() == 0);
  form.ListDel->Clear();
  CHECK(form.ListDel->ItemCount() == 0);
  CHECK(form.ListDel->SelCount() == 0);
  CHECK(form.ListDel->ColumnCount() == 4);
  CHECK(form.ListDel->ColumnWidth(3) == 100);
}

namespace {

// A row's text as another program reads it, through the window.
std::string WindowRowText(HWND list, int row, int column, int bufferSize = 256) {
  std::string buffer(static_cast<size_t>(bufferSize), '\0');
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = bufferSize;
  const auto length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer.substr(0, static_cast<size_t>(length));
}

}  // namespace

TEST_CASE("list rows are held by the control: the window shows them, also when made again") {
  EnsureApplication();
  TTestForm form(nullptr);
  TCustomListView& list = *form.ListDel;
  for (const char* name : {"ALPHA.TXT", "beta.doc", "GAMMA.XLS", "BETTER.TXT"})
    list.AddItem(name, 2, reinterpret_cast<LPARAM>(name));
  list.SetSubItem(1, 0, "2147483648");
  form.Show();
  HWND window = list.Hwnd();
  CHECK(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0) == 4);
  CHECK(WindowRowText(window, 1, 0) == "beta.doc");
  CHECK(WindowRowText(window, 1, 1) == "2147483648");
  CHECK(WindowRowText(window, 1, 1, 5) == "2147");  // cut to the reader's buffer, terminated
  CHECK(WindowRowText(window, 2, 3).empty());        // a sub-item never set
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 3;
  REQUIRE(SendMessageA(window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  CHECK(item.iImage == 2);
  CHECK(std::string(reinterpret_cast<const char*>(list.ItemData(3))) == "BETTER.TXT");

  SUBCASE("typing a name's first letters finds the next row that starts so") {
    LVFINDINFOA find{};
    find.flags = LVFI_PARTIAL | LVFI_WRAP;
    find.psz = "be";
    CHECK(SendMessageA(window, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) == 1);
    CHECK(SendMessageA(window, LVM_FINDITEMA, 2, reinterpret_cast<LPARAM>(&find)) == 3);
    find.psz = "delta";
    CHECK(SendMessageA(window, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)) == -1);
  }
  SUBCASE("a deleted row takes its selection along; later rows keep theirs") {
    list.SetSelected(1, true);
    list.SetSelected(3, true);
    list.DeleteItem(1);
    CHECK(list.ItemCount() == 3);
    CHECK(list.SelCount() == 1);
    CHECK(list.Selection() == 2);
    CHECK(WindowRowText(window, 2, 0) == "BETTER.TXT");
  }
  SUBCASE("reordered rows take their selection and focus along, with one change notice") {
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    LVITEMA focus{};
    focus.stateMask = LVIS_FOCUSED;
    focus.state = LVIS_FOCUSED;
    SendMessageA(window, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&focus));
    int changes = 0;
    list.OnChange = [&changes](TObject&, int) { ++changes; };
    list.ReorderRows({3, 2, 1, 0});
    CHECK(changes == 1);
    CHECK(WindowRowText(window, 0, 0) == "BETTER.TXT");
    CHECK(list.SubItem(2, 0) == "2147483648");
    CHECK(list.SelCount() == 2);
    CHECK(list.Selected(1));  // GAMMA.XLS
    CHECK(list.Selected(3));  // ALPHA.TXT
    CHECK(SendMessageA(window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) == 1);
    CHECK_THROWS_AS(list.ReorderRows({0, 0, 1, 2}), EListError);
    CHECK_THROWS_AS(list.ReorderRows({0, 1}), EListError);
    CHECK(list.ItemCaption(0) == "BETTER.TXT");
  }
  SUBCASE("the rows outlive the window") {
    list.SetBorderStyle(bsNone);
    REQUIRE(list.Hwnd() != window);
    CHECK(SendMessageA(list.Hwnd(), LVM_GETITEMCOUNT, 0, 0) == 4);
    CHECK(WindowRowText(list.Hwnd(), 3, 0) == "BETTER.TXT");
    CHECK(list.SubItem(1, 0) == "2147483648");
  }
  CHECK_THROWS_AS(list.ItemCaption(list.ItemCount()), EListError);
}

TEST_CASE("a right click shows the control's pop-up menu, and none once it is detached") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  int popups = 0;
  form.PopDel->OnPopup = [&popups](TObject&) { ++popups; };
  TTimer closer(nullptr);
  closer.SetInterval(50);
  closer.OnTimer = [](TObject&) { EndMenu(); };
  RECT rect;
  GetWindowRect(form.ListDel->Hwnd(), &rect);
  SendMessageA(form.ListDel->Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.ListDel->Hwnd()),
               MAKELPARAM(rect.left + 20, rect.top + 20));
  CHECK(popups == 1);
  // From the keyboard (Apps key, Shift+F10) the position is -1.
  SendMessageA(form.ListDel->Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.ListDel->Hwnd()), -1);
  CHECK(popups == 2);
  form.ListDel->SetPopupMenu(nullptr);
  SendMessageA(form.ListDel->Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.ListDel->Hwnd()),
               MAKELPARAM(rect.left + 20, rect.top + 20));
  CHECK(popups == 2);
}

TEST_CASE("image lists: a strip from the resources, and a shared list is never destroyed") {
  EnsureApplication();
  TTestForm form(nullptr);
  CHECK(form.ExpImage->Count() == 14);
  CHECK(form.ExpImage->Width() == 16);

  HIMAGELIST system = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  // A destroyed list counts no images, so this one has one.
  REQUIRE(ImageList_SetImageCount(system, 1));
  {
    TImageList shared(nullptr);
    shared.ShareHandle(system);
    form.ListDel->SetSmallImages(&shared);
    CHECK(SendMessageA(form.ListDel->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0) == reinterpret_cast<LRESULT>(system));
  }
  CHECK(ImageList_GetImageCount(system) == 1);
  CHECK(SendMessageA(form.ListDel->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0) == 0);
  CHECK(ImageList_Destroy(system));
}

TEST_CASE("the copy animation opens where the system has it and is silently empty elsewhere") {
  EnsureApplication();
  TTestDialog dialog(nullptr);
  dialog.Show();
  CHECK(dialog.Animate1->HandleAllocated());
  CHECK(IsWindowVisible(dialog.Animate1->Hwnd()));
  // Wine's 64-bit shell32 has the animation; the control may stay empty,
  // but only where the system itself cannot open it.
  CHECK(dialog.Animate1->Opened() == SystemOpensCopyAnimation(dialog.Hwnd()));
  CHECK(dialog.Image1->Icon() != nullptr);
}

TEST_CASE("an animation's window goes before the module it plays from") {
  EnsureApplication();
  TTestDialog dialog(nullptr);
  dialog.Show();
  const int before = Shell32DataViews();
  auto* animate = new TAnimate(&dialog);
  animate->SetParent(&dialog);
  animate->SetCommonAVI(aviCopyFile);
  REQUIRE(animate->Handle() != nullptr);
  REQUIRE(Shell32DataViews() == before + 1);
  int viewsAtDestroy = -1;
  SetWindowSubclass(animate->Hwnd(), &CountViewsAtDestroy, 1, reinterpret_cast<DWORD_PTR>(&viewsAtDestroy));
  delete animate;
  CHECK(viewsAtDestroy == before + 1);
  CHECK(Shell32DataViews() == before);
}
