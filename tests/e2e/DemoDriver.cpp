// Works the running program as a user would for the demo screenshot:
// opens the folder named by the arguments in the folder tree (each argument
// a part of a node's text, from the top node down, e.g. "My Computer"
// "(F:)" "DOCS"), switches to Details and waits for the listing. With
// --sort N last, it then clicks the header of column N; with --recover
// last, it selects every row and presses Retrove, and ends without waiting
// (for a picture of the progress window); with --tree-menu last, it opens
// the context menu of the selected folder in the tree with its Send To
// submenu and leaves them open; with --about last, it opens the About box.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "RemoteControls.h"

int main(int argc, char** argv) {
  HWND main = e2e::WaitForTopWindow(0, nullptr, "Retrove", 60000);
  DWORD_PTR answer = 0;
  if (!main || !SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer)) {
    std::fprintf(stderr, "demo-driver: the main window did not appear\n");
    return 1;
  }
  HWND tree = e2e::FindDescendant(main, "Retrove.TNsShellTree");
  HWND toolBar = e2e::FindDescendant(main, "Retrove.TToolBar");
  HWND statusBar = e2e::FindDescendant(main, "Retrove.TStatusBar");
  if (!tree || !toolBar || !statusBar) {
    std::fprintf(stderr, "demo-driver: controls not found\n");
    return 1;
  }
  const bool recover = argc > 1 && std::strcmp(argv[argc - 1], "--recover") == 0;
  if (recover) --argc;
  const bool treeMenu = argc > 1 && std::strcmp(argv[argc - 1], "--tree-menu") == 0;
  if (treeMenu) --argc;
  const bool about = argc > 1 && std::strcmp(argv[argc - 1], "--about") == 0;
  if (about) --argc;
  int sortColumn = -1;
  if (argc > 2 && std::strcmp(argv[argc - 2], "--sort") == 0) {
    sortColumn = std::atoi(argv[argc - 1]);
    argc -= 2;
  }
  HTREEITEM node = nullptr;
  for (int i = 1; i < argc; ++i) {
    HTREEITEM next = nullptr;
    e2e::WaitUntil([&] { return (next = e2e::FindTreeChild(tree, node, argv[i])) != nullptr; }, 10000);
    if (!next) {
      std::fprintf(stderr, "demo-driver: no tree node like \"%s\"\n", argv[i]);
      return 1;
    }
    node = next;
  }
  if (node) e2e::SelectTreeItem(tree, node);
  Sleep(500);
  e2e::PressToolButton(toolBar, 3);
  const bool listed = e2e::WaitUntil(
      [&] { return e2e::ToolButtonChecked(toolBar, 3) && !e2e::ToolButtonEnabled(toolBar, 13); }, 20000);
  Sleep(1000);
  HWND list = e2e::FindDescendant(main, "Retrove.TListViewEx");
  if (sortColumn >= 0) {
    e2e::ClickListHeader(list, sortColumn);
    Sleep(500);
  }
  if (recover) {
    e2e::ListViewSelect(list, -1, true);
    Sleep(500);
    e2e::PressToolButton(toolBar, 12);
  }
  if (about) {
    e2e::ChooseMenuItem(main, 'h', 'a');
    Sleep(1500);
  }
  if (treeMenu) {
    // As the menu key does; posted, because the menu runs its own loop.
    SetForegroundWindow(main);
    PostMessageA(tree, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), -1);
    Sleep(1000);
    // Opens the Send To submenu by its access key.
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
      key.type = INPUT_KEYBOARD;
      key.ki.wVk = 'T';
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(1000);
  }
  std::printf("demo-driver: %s\n", e2e::StatusBarText(statusBar, 0).c_str());
  return listed ? 0 : 1;
}
