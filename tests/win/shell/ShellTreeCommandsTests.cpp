#include <doctest/doctest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Form.h"
#include "Menus.h"
#include "MenuItem.h"
#include "GuiTesting.h"
#include "ShellTestSupport.h"
#include "ShellTreeMenu.h"
#include "UNsShell95.h"
#include "UNsShellControls.h"
#include "UNsShellUtils.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr int kSendToFolder = 9;
// A refresh comes a moment after its notice; a machine busy with other
// work can take much longer to carry it out.
constexpr DWORD kRefreshWait = 20000;

// A shown tree on a form with a fresh folder "Work" (holding "Sub")
// selected.
class TCommandForm {
public:
  TCommandForm() : Form(nullptr) {
    EnsureApplication();
    Work = Temp.Child("Work");
    CreateDirectoryA(Work.c_str(), nullptr);
    CreateDirectoryA((Work + "\\Sub").c_str(), nullptr);
    Tree = new TNsShellTree(&Form);
    Tree->SetParent(&Form);
    Tree->SetAlign(alClient);
    Form.SetBounds(40, 40, 320, 480);
    Form.Show();
    Node = Select(Work);
  }
  ~TCommandForm() { RemoveDirectoryA((Work + "\\Sub").c_str()); }

  HTREEITEM Select(const std::string& path) {
    Tree->SelectIdList(Parse(path).Get());
    return Tree->Selected();
  }

  // The middle of a node's label on the screen.
  POINTL LabelPoint(HTREEITEM node) {
    Tree->MakeVisible(node);
    const RECT label = Tree->LabelRect(node);
    POINT point{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ClientToScreen(Tree->Hwnd(), &point);
    return POINTL{point.x, point.y};
  }

  void PressKey(WPARAM key, bool control = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    Tree->Perform(WM_KEYDOWN, key, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }

  TTempFolder Temp;
  std::string Work;
  TForm Form;
  TNsShellTree* Tree;
  HTREEITEM Node;
};

// Pop-up menus of this thread, seen from a timer inside their modal loop
// and closed at once.
class TPopupMenuCloser {
public:
  TPopupMenuCloser() {
    Current = this;
    FTimer = SetTimer(nullptr, 0, 50, &Tick);
  }
  ~TPopupMenuCloser() {
    KillTimer(nullptr, FTimer);
    Current = nullptr;
  }

  int MenusSeen = 0;
  int ItemsSeen = 0;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!Current || !popup || !IsWindowVisible(popup)) return;
    ++Current->MenusSeen;
    auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    Current->ItemsSeen = menu ? GetMenuItemCount(menu) : 0;
    EndMenu();
  }

  static inline TPopupMenuCloser* Current = nullptr;
  UINT_PTR FTimer;
};

// Watches from a second thread for a dialog box of this process and
// answers it with No (or Cancel).
class TDialogDeclier {
public:
  TDialogDeclier() : FThread([this] { Watch(); }) {}
  ~TDialogDeclier() {
    FStop = true;
    FThread.join();
  }
  bool Seen() const { return FSeen; }

private:
  void Watch() {
    for (int i = 0; i < 1000 && !FStop && !FSeen; ++i) {
      EnumWindows(&Match, reinterpret_cast<LPARAM>(this));
      Sleep(10);
    }
  }
  static BOOL CALLBACK Match(HWND window, LPARAM data) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (processId != GetCurrentProcessId() || std::string(className) != "#32770" || !IsWindowVisible(window))
      return TRUE;
    auto* self = reinterpret_cast<TDialogDeclier*>(data);
    self->FSeen = true;
    PostMessageA(window, WM_COMMAND, GetDlgItem(window, IDNO) ? IDNO : IDCANCEL, 0);
    return FALSE;
  }

  std::atomic<bool> FStop{false};
  std::atomic<bool> FSeen{false};
  std::thread FThread;
};

// An entry put into the user's Send To folder for one test.
class TSendToEntryScope {
public:
  explicit TSendToEntryScope(const std::string& name) {
    const std::string folder = SpecialFolderPath(nullptr, kSendToFolder);
    REQUIRE(!folder.empty());
    CreateDirectoryA(folder.c_str(), nullptr);
    FPath = folder + "\\" + name;
    REQUIRE(CreateDirectoryA(FPath.c_str(), nullptr));
  }
  ~TSendToEntryScope() { RemoveDirectoryA(FPath.c_str()); }

private:
  std::string FPath;
};

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ClipboardFile() {
  std::string path;
  if (!OpenClipboard(nullptr)) return path;
  if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    char name[MAX_PATH] = {};
    if (DragQueryFileA(drop, 0, name, sizeof name)) path = name;
  }
  CloseClipboard();
  return path;
}

}  // namespace

TEST_CASE("the context menu: the shell's commands and a Send To submenu filled with its entries when it opens") {
  TCommandForm window;
  TSendToEntryScope entry("Retrove test");
  TNsShTreeData* data = window.Tree->NodeData(window.Node);
  auto menu = TNsShellContextMenu::Build(window.Tree->Hwnd(), data->ParentFolder(), data->Parent()->AbsoluteIdList(),
                                         data->RelIdList());
  REQUIRE(menu);
  CHECK(GetMenuItemCount(menu->Menu()) > 1);
  REQUIRE(menu->SendToMenu());
  CHECK(GetMenuItemCount(menu->SendToMenu()) == 0);

  LRESULT result = 1;
  CHECK(menu->HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->SendToMenu()), 0, result));
  const auto& entries = menu->SendToEntries();
  REQUIRE(!entries.empty());
  REQUIRE(GetMenuItemCount(menu->SendToMenu()) == static_cast<int>(entries.size()));
  for (std::size_t index = 0; index < entries.size(); ++index)
    CHECK(GetMenuItemID(menu->SendToMenu(), static_cast<int>(index)) == index + 1);

  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemID = 1;
  CHECK(menu->HandleMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure), result));
  CHECK(measure.itemWidth > 20);
  CHECK(measure.itemHeight >= 16);
  CHECK(menu->HintOf(MAKEWPARAM(1, MF_OWNERDRAW)).empty());
  CHECK(menu->Run(0) == S_FALSE);
  // An id past the entries is nobody's.
  CHECK(menu->Run(static_cast<UINT>(entries.size() + 1)) == S_FALSE);
  CHECK(menu->Run(1) == S_OK);
}

TEST_CASE("right-clicking a folder shows its menu; the top node shows none, and no own pop-up either") {
  TCommandForm window;
  TPopupMenu ownMenu(nullptr);
  auto* ownItem = new TMenuItem(&ownMenu);
  ownItem->SetCaption("Own");
  ownMenu.Items().Add(ownItem);
  window.Tree->SetPopupMenu(&ownMenu);
  TPopupMenuCloser closer;

  const POINTL folder = window.LabelPoint(window.Node);
  window.Tree->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(folder.x, folder.y));
  CHECK(closer.MenusSeen == 1);
  CHECK(closer.ItemsSeen > 1);

  const POINTL top = window.LabelPoint(window.Tree->TopNode());
  window.Tree->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(top.x, top.y));
  CHECK(closer.MenusSeen == 1);

  // From the keyboard: the selected node's menu.
  window.Tree->Perform(WM_CONTEXTMENU, 0, -1);
  CHECK(closer.MenusSeen == 2);

  // Without shell menus the control's own pop-up shows instead.
  window.Tree->SetOptions(kDefaultShellTreeOptions - TNsShellTreeOptions{nsstoContextMenus});
  window.Tree->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(top.x, top.y));
  CHECK(closer.MenusSeen == 3);
  CHECK(closer.ItemsSeen == 1);
}

TEST_CASE("keys: Ctrl+C copies the folder, F5 brings a new folder in, keys on the top node and missing verbs do nothing") {
  TCommandForm window;
  window.PressKey('C', true);
  CHECK(lstrcmpiA(ClipboardFile().c_str(), window.Work.c_str()) == 0);

  CreateDirectoryA((window.Work + "\\New").c_str(), nullptr);
  window.Tree->Expand(window.Node);
  window.PressKey(VK_F5);
  bool found = false;
  for (HTREEITEM child = window.Tree->FirstChild(window.Node); child; child = window.Tree->NextSibling(child))
    found = found || window.Tree->Text(child) == "New";
  CHECK(found);
  RemoveDirectoryA((window.Work + "\\New").c_str());

  // No folder holds the top node, and this shell has no paste verb: nothing
  // may run, least of all the menu's first command.
  window.Tree->Select(window.Tree->TopNode());
  window.PressKey(VK_DELETE);
  window.Select(window.Work);
  window.PressKey('V', true);
  PumpUntil([] { return false; }, 500);
  CHECK(FileExists(window.Work));
  CHECK(window.Tree->SelectedPath() == window.Work);
}

TEST_CASE("Delete lets the shell ask first; answered No, the folder stays") {
  TCommandForm window;
  TDialogDeclier decline;
  window.PressKey(VK_DELETE);
  PumpUntil([&] { return decline.Seen(); }, 10000);
  CHECK(decline.Seen());
  CHECK(FileExists(window.Work));
}

TEST_CASE("renaming: only in an editable tree, only a renamable folder, and the tree follows the new name") {
  TCommandForm window;
  window.Tree->SetReadOnly(true);
  window.PressKey(VK_F2);
  CHECK_FALSE(window.Tree->Editing());

  window.Tree->SetReadOnly(false);
  window.Tree->EditLabel(window.Tree->TopNode());
  CHECK_FALSE(window.Tree->Editing());
  window.PressKey(VK_F2);
  REQUIRE(window.Tree->Editing());
  auto edit = reinterpret_cast<HWND>(window.Tree->Perform(TVM_GETEDITCONTROL));
  SetWindowTextA(edit, "Renamed");
  window.Tree->Perform(TVM_ENDEDITLABELNOW, FALSE);
  const std::string renamed = window.Temp.Child("Renamed");
  CHECK(FileExists(renamed + "\\Sub"));
  CHECK(window.Tree->Text(window.Node) == "Renamed");
  CHECK(lstrcmpiA(IdListToPath(window.Tree->CurrentFolder().IdList()).c_str(), renamed.c_str()) == 0);
  // The nodes below take their new place too.
  window.Tree->Expand(window.Node);
  HTREEITEM sub = window.Tree->FirstChild(window.Node);
  REQUIRE(sub);
  CHECK(lstrcmpiA(window.Tree->NodeData(sub)->Path().c_str(), (renamed + "\\Sub").c_str()) == 0);
  RemoveDirectoryA((renamed + "\\Sub").c_str());
  RemoveDirectoryA(renamed.c_str());
}

TEST_CASE("dropping on the tree: the folder's own effect, none on the top node, highlight and scrolling") {
  TCommandForm window;
  for (int index = 0; index < 40; ++index)
    CreateDirectoryA((window.Work + "\\Sub\\f" + std::to_string(index)).c_str(), nullptr);
  TTempFolder source;
  const std::string file = source.Child("dropped.txt");
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  ShellIdList sourceList = Parse(source.Path());
  ShellIdList fileList = Parse(file);
  TComPtr<IShellFolder> sourceFolder;
  REQUIRE(BindToFolder(sourceList.Get(), sourceFolder) == S_OK);
  TComPtr<IDataObject> data;
  REQUIRE(CreateDataObject(sourceFolder.Get(), sourceList.Get(), {fileList.Get() + IdListSize(sourceList.Get()) - 2},
                           data) == S_OK);
  IDropTarget* target = window.Tree->DropTarget();
  REQUIRE(target);
  // Not the selected node: this tree view will not highlight that one.
  window.Tree->Expand(window.Node);
  HTREEITEM sub = window.Tree->FirstChild(window.Node);
  REQUIRE(sub);

  const DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  DWORD effect = offered;
  CHECK(target->DragEnter(data.Get(), MK_LBUTTON, window.LabelPoint(sub), &effect) == S_OK);
  CHECK(effect != DROPEFFECT_NONE);
  CHECK((effect & ~offered) == 0);
  effect = offered;
  CHECK(target->DragOver(MK_LBUTTON, window.LabelPoint(sub), &effect) == S_OK);
  CHECK(window.Tree->DropHighlighted() == sub);
  CHECK((effect & DROPEFFECT_SCROLL) != 0);
  CHECK((effect & offered) != 0);
  effect = offered;
  CHECK(target->DragOver(MK_LBUTTON, window.LabelPoint(window.Tree->TopNode()), &effect) == S_OK);
  CHECK(effect == DROPEFFECT_SCROLL);
  CHECK(window.Tree->DropHighlighted() == window.Tree->TopNode());

  // Near the top edge the tree scrolls one line, then waits.
  window.Tree->Expand(sub);
  HTREEITEM last = window.Tree->FirstChild(sub);
  REQUIRE(last);
  while (HTREEITEM next = window.Tree->NextSibling(last)) last = next;
  window.Tree->MakeVisible(last);
  const int scrolled = GetScrollPos(window.Tree->Hwnd(), SB_VERT);
  REQUIRE(scrolled > 2);
  POINT nearTop{40, 5};
  ClientToScreen(window.Tree->Hwnd(), &nearTop);
  Sleep(250);
  target->DragOver(MK_LBUTTON, POINTL{nearTop.x, nearTop.y}, &effect);
  CHECK(GetScrollPos(window.Tree->Hwnd(), SB_VERT) == scrolled - 1);
  target->DragOver(MK_LBUTTON, POINTL{nearTop.x, nearTop.y}, &effect);
  CHECK(GetScrollPos(window.Tree->Hwnd(), SB_VERT) == scrolled - 1);
  Sleep(250);
  target->DragOver(MK_LBUTTON, POINTL{nearTop.x, nearTop.y}, &effect);
  CHECK(GetScrollPos(window.Tree->Hwnd(), SB_VERT) == scrolled - 2);

  CHECK(target->DragLeave() == S_OK);
  CHECK(window.Tree->DropHighlighted() == nullptr);
  effect = offered;
  CHECK(target->DragEnter(data.Get(), MK_LBUTTON, window.LabelPoint(sub), &effect) == S_OK);
  effect = offered;
  CHECK(target->Drop(data.Get(), 0, window.LabelPoint(sub), &effect) == S_OK);
  CHECK(effect != DROPEFFECT_NONE);
  CHECK(window.Tree->DropHighlighted() == nullptr);
  for (int index = 0; index < 40; ++index)
    RemoveDirectoryA((window.Work + "\\Sub\\f" + std::to_string(index)).c_str());
  DeleteFileA((window.Work + "\\Sub\\dropped.txt").c_str());
}

TEST_CASE("dragging a folder: never onto itself or below it, and the changes meanwhile are caught up after") {
  TCommandForm window;
  window.Tree->Expand(window.Node);
  HTREEITEM sub = window.Tree->FirstChild(window.Node);
  REQUIRE(sub);
  CHECK(window.Tree->DragNode(window.Tree->TopNode(), 0) == DROPEFFECT_NONE);

  const long objectsBefore = LiveComObjects();
  for (HTREEITEM over : {window.Node, sub}) {
    const POINTL point = window.LabelPoint(over);
    SetCursorPos(point.x, point.y);
    CreateDirectoryA((window.Work + "\\Later").c_str(), nullptr);
    // A change that arrives while the drag runs.
    PostMessageA(window.Tree->Hwnd(), kChangeNoticeMessage, 0, 0);
    CHECK(window.Tree->DragNode(window.Node, 0) == DROPEFFECT_NONE);
    CHECK_FALSE(window.Tree->DragActive());
    CHECK(PumpUntil(
        [&] {
          for (HTREEITEM child = window.Tree->FirstChild(window.Node); child; child = window.Tree->NextSibling(child))
            if (window.Tree->Text(child) == "Later") return true;
          return false;
        },
        kRefreshWait));
    RemoveDirectoryA((window.Work + "\\Later").c_str());
    window.Tree->Resync();
    sub = window.Tree->FirstChild(window.Node);
  }
  CHECK(LiveComObjects() == objectsBefore);
}

TEST_CASE("custom drawing: every stage is offered, item stages with their node, and changes are applied") {
  TCommandForm window;
  int prePaints = 0;
  int itemPrePaints = 0;
  bool nodesHaveData = true;
  window.Tree->OnCustomDrawShEx = [&](TObject&, TNsCustomDraw& draw, HTREEITEM node, TNsShTreeData* data) {
    if (draw.Stage() == TNsDrawStage::PrePaint) ++prePaints;
    if (draw.Stage() == TNsDrawStage::ItemPrePaint) nodesHaveData = nodesHaveData && node && data;
  };
  window.Tree->OnCustomDrawSh = [&](TObject&, TNsCustomDraw& draw, HTREEITEM, TNsShTreeData*) {
    ++itemPrePaints;
    CHECK(draw.Stage() == TNsDrawStage::ItemPrePaint);
  };
  InvalidateRect(window.Tree->Hwnd(), nullptr, TRUE);
  UpdateWindow(window.Tree->Hwnd());
  CHECK(prePaints >= 1);
  CHECK(itemPrePaints >= 2);
  CHECK(nodesHaveData);

  HDC dc = CreateCompatibleDC(nullptr);
  NMTVCUSTOMDRAW record{};
  record.nmcd.hdc = dc;
  record.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  {
    TNsCustomDraw draw(record);
    CHECK(draw.Result() == CDRF_DODEFAULT);
  }
  {
    TNsCustomDraw draw(record);
    draw.Font().SetColor(0x0000FF);
    draw.SetBrushColor(0x00FF00);
    CHECK(draw.Result() == CDRF_NEWFONT);
    CHECK(record.clrText == 0x0000FF);
    CHECK(record.clrTextBk == 0x00FF00);
    CHECK(draw.TakeFont());
  }
  {
    TNsCustomDraw draw(record);
    draw.SkipDefault = true;
    CHECK(draw.Result() == CDRF_SKIPDEFAULT);
    record.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
    CHECK(draw.Result() == CDRF_DODEFAULT);
  }
  DeleteDC(dc);
}
