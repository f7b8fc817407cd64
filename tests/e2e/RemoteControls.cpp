#include "RemoteControls.h"

#include <commctrl.h>

#include <cctype>
#include <cstring>
#include <iterator>

namespace e2e {

namespace {

// A block of memory in the process that owns a window, for messages whose
// parameters point at buffers.
class TRemoteBuffer {
public:
  TRemoteBuffer(HWND window, size_t size) : FSize(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    FProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (FProcess) FAddress = VirtualAllocEx(FProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~TRemoteBuffer() {
    if (FAddress) VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE);
    if (FProcess) CloseHandle(FProcess);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  bool Valid() const { return FAddress != nullptr; }
  void* Address() const { return FAddress; }
  char* At(size_t offset) const { return static_cast<char*>(FAddress) + offset; }
  bool Write(const void* data, size_t size, size_t offset = 0) const {
    return WriteProcessMemory(FProcess, At(offset), data, size, nullptr);
  }
  bool Read(void* data, size_t size, size_t offset = 0) const {
    return ReadProcessMemory(FProcess, At(offset), data, size, nullptr);
  }

private:
  HANDLE FProcess = nullptr;
  void* FAddress = nullptr;
  size_t FSize;
};

struct TFindTop {
  DWORD ProcessId;
  const char* ClassName;
  const char* Title;
  HWND Found;
};

BOOL CALLBACK MatchTop(HWND window, LPARAM data) {
  auto* find = reinterpret_cast<TFindTop*>(data);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (find->ProcessId && processId != find->ProcessId) return TRUE;
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  if (find->ClassName && std::strcmp(className, find->ClassName) != 0) return TRUE;
  // The title as the system keeps it: asking the window would wait while
  // the program is busy.
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (find->Title && std::strcmp(title, find->Title) != 0) return TRUE;
  find->Found = window;
  return FALSE;
}

struct TFindChild {
  const char* ClassName;
  int Remaining;
  HWND Found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto* find = reinterpret_cast<TFindChild*>(data);
  char className[256] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpiA(className, find->ClassName) != 0) return TRUE;
  if (find->Remaining-- > 0) return TRUE;
  find->Found = window;
  return FALSE;
}

constexpr size_t kTextSize = 1024;

// The toolbar button with image `imageIndex`, read in the other process.
bool FindToolButton(HWND toolBar, int imageIndex, TBBUTTON& button) {
  TRemoteBuffer remote(toolBar, sizeof(TBBUTTON));
  if (!remote.Valid()) return false;
  const int count = static_cast<int>(SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (!SendMessageA(toolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote.Address()))) continue;
    if (!remote.Read(&button, sizeof button)) return false;
    if (!(button.fsStyle & BTNS_SEP) && button.iBitmap == imageIndex) return true;
  }
  return false;
}

}  // namespace

HWND WaitForTopWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  TFindTop find{processId, className, title, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(&MatchTop, reinterpret_cast<LPARAM>(&find));
        return find.Found != nullptr;
      },
      timeoutMs);
  return find.Found;
}

HWND FindDescendant(HWND parent, const char* className, int index) {
  TFindChild find{className, index, nullptr};
  EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

std::string WindowText(HWND window) {
  char text[kTextSize] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns) {
  std::vector<std::vector<std::string>> rows;
  TRemoteBuffer remote(listView, sizeof(LVITEMA) + kTextSize);
  if (!remote.Valid()) return rows;
  const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> row;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = remote.At(sizeof(LVITEMA));
      item.cchTextMax = kTextSize;
      remote.Write(&item, sizeof item);
      SendMessageA(listView, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote.Address()));
      char text[kTextSize] = {};
      remote.Read(text, kTextSize - 1, sizeof(LVITEMA));
      row.emplace_back(text);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

int ListViewSelectedCount(HWND listView) {
  return static_cast<int>(SendMessageA(listView, LVM_GETSELECTEDCOUNT, 0, 0));
}

void ListViewSelect(HWND listView, int row, bool selected) {
  TRemoteBuffer remote(listView, sizeof(LVITEMA));
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  remote.Write(&item, sizeof item);
  SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.Address()));
}

std::string StatusBarText(HWND statusBar, int part) {
  TRemoteBuffer remote(statusBar, kTextSize);
  if (!remote.Valid()) return {};
  SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote.Address()));
  char text[kTextSize] = {};
  remote.Read(text, kTextSize - 1);
  return text;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
  TRemoteBuffer remote(tree, sizeof(TVITEMA) + kTextSize);
  TVITEMA query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = remote.At(sizeof(TVITEMA));
  query.cchTextMax = kTextSize;
  remote.Write(&query, sizeof query);
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address()));
  char text[kTextSize] = {};
  remote.Read(text, kTextSize - 1, sizeof(TVITEMA));
  return text;
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM item) {
  if (item) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  std::vector<HTREEITEM> children;
  auto child = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, item ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(item)));
  while (child) {
    children.push_back(child);
    child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
  }
  return children;
}

HTREEITEM FindTreeChild(HWND tree, HTREEITEM parent, const std::string& part) {
  for (HTREEITEM child : TreeChildren(tree, parent))
    if (TreeItemText(tree, child).find(part) != std::string::npos) return child;
  return nullptr;
}

void SelectTreeItem(HWND tree, HTREEITEM item) {
  // Posted: a sent message would wait for the whole listing.
  PostMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  WaitUntil([&] { return SelectedTreeItem(tree) == item; }, 10000);
  WaitForPostedMessages(tree);
}

namespace {

// A marker posted behind the messages now queued for the window's thread:
// an insert mark's colour, which the program never shows, reads back once
// the marker has been handled.
void WaitForMarker(HWND window, UINT setColor, UINT getColor) {
  static COLORREF marker = RGB(1, 2, 3);
  marker ^= RGB(0, 0, 1);
  PostMessageA(window, setColor, 0, static_cast<LPARAM>(marker));
  // Generous: a machine busy with other work can hold the program up long;
  // a wait that still runs out shows in the caller's next check.
  WaitUntil([&] { return static_cast<COLORREF>(SendMessageA(window, getColor, 0, 0)) == marker; }, 30000);
}

}  // namespace

void WaitForPostedMessages(HWND tree) {
  WaitForMarker(tree, TVM_SETINSERTMARKCOLOR, TVM_GETINSERTMARKCOLOR);
}

void ClickListHeader(HWND listView, int column) {
  const HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
  TRemoteBuffer remote(header, sizeof(RECT));
  RECT rect{};
  if (!remote.Valid() || !SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                                       reinterpret_cast<LPARAM>(remote.Address())) ||
      !remote.Read(&rect, sizeof rect))
    return;
  const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(header, WM_LBUTTONUP, 0, point);
  WaitForMarker(listView, LVM_SETINSERTMARKCOLOR, LVM_GETINSERTMARKCOLOR);
}

namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

void ChooseMenuItem(HWND window, char popupKey, char itemKey) {
  SetForegroundWindow(window);
  const auto popup = static_cast<WORD>(std::toupper(static_cast<unsigned char>(popupKey)));
  const auto item = static_cast<WORD>(std::toupper(static_cast<unsigned char>(itemKey)));
  INPUT keys[] = {KeyInput(VK_MENU, false), KeyInput(popup, false), KeyInput(popup, true),
                  KeyInput(VK_MENU, true),  KeyInput(item, false),  KeyInput(item, true)};
  SendInput(static_cast<UINT>(std::size(keys)), keys, sizeof(INPUT));
}

void ChooseComboEntry(HWND combo, int index) {
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK),
               reinterpret_cast<LPARAM>(combo));
}

HTREEITEM SelectedTreeItem(HWND tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool PressToolButton(HWND toolBar, int imageIndex) {
  TBBUTTON button{};
  if (!FindToolButton(toolBar, imageIndex, button)) return false;
  TRemoteBuffer remote(toolBar, sizeof(RECT));
  if (!SendMessageA(toolBar, TB_GETRECT, button.idCommand, reinterpret_cast<LPARAM>(remote.Address()))) return false;
  RECT rect{};
  remote.Read(&rect, sizeof rect);
  // A click, so that check buttons change state as they do for a user.
  const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  return PostMessageA(toolBar, WM_LBUTTONUP, 0, centre);
}

bool ToolButtonEnabled(HWND toolBar, int imageIndex) {
  TBBUTTON button{};
  return FindToolButton(toolBar, imageIndex, button) && (button.fsState & TBSTATE_ENABLED);
}

bool ToolButtonChecked(HWND toolBar, int imageIndex) {
  TBBUTTON button{};
  return FindToolButton(toolBar, imageIndex, button) && (button.fsState & TBSTATE_CHECKED);
}

}  // namespace e2e
