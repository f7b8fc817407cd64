#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// Reading and working the controls of another process's windows, as an
// end-to-end test sees the program: by window class and text, and through
// the controls' own messages (with buffers placed in the other process where
// a message needs one).
namespace e2e {

// The first top-level window of process `processId` (0 = any) and of
// `className` (nullptr = any) whose title is `title`, waiting up to
// `timeoutMs`; nullptr when none appears.
HWND WaitForTopWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs);

// The `index`-th (0-based, in Z order) descendant of `parent` of `className`.
HWND FindDescendant(HWND parent, const char* className, int index = 0);

std::string WindowText(HWND window);

// The rows of a list view: caption and `columns - 1` sub-items each.
std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns);
int ListViewSelectedCount(HWND listView);
void ListViewSelect(HWND listView, int row, bool selected);

std::string StatusBarText(HWND statusBar, int part);

// Tree views: a node's text, its children (expanding it first), selecting.
std::string TreeItemText(HWND tree, HTREEITEM item);
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM item);  // nullptr = the top level
// The child of `parent` whose text contains `part`; nullptr when none.
HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& part);
// Selects a node as a click would, and returns once the program has taken
// the selection and started the listing it calls for (which may still run).
void SelectTreeItem(HWND tree, HTREEITEM item);
// Returns once the program has handled the messages now posted to its
// thread (a tree view's window stands for the thread).
void WaitForPostedMessages(HWND tree);
HTREEITEM SelectedTreeItem(HWND tree);

// Clicks a list view's column header as the user would, and returns once
// the program has handled the click.
void ClickListHeader(HWND listView, int column);

// Tool-bar buttons are known by their image index, which is unique per
// button. Pressing one posts a mouse click on it. The test must have the program's bitness (TBBUTTON's layout).
bool PressToolButton(HWND toolBar, int imageIndex);
bool ToolButtonEnabled(HWND toolBar, int imageIndex);
bool ToolButtonChecked(HWND toolBar, int imageIndex);

// Chooses an item of a window's main menu by the keys of its pop-up and
// its own, as Alt+V, T would: under Wine another process's menus cannot be
// read, so their ticks are seen only in what the program stores.
void ChooseMenuItem(HWND window, char popupKey, char itemKey);

// Picks an entry of a drop-down list as a click in its open list would:
// the list's choice, then its notice to its parent.
void ChooseComboEntry(HWND combo, int index);

// Waits until `done` holds or the time is up; true when it held.
template <class Predicate>
bool WaitUntil(Predicate done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace e2e
