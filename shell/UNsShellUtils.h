#pragma once

// The shell namespace utilities: identifier lists to and from paths, names
// and icons, folders and their UI objects, context menus, shortcuts. Lists
// are the byte format of IdList.h; ShellIdList owns one, a plain pointer
// borrows. Lists from the shell are trusted to be well formed.
//
// Operations that give a status return the shell's HRESULT and leave raising
// to the caller (OleCheck); the ones documented as silent give "" or 0.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "Handle.h"
#include "DetailText.h"
#include "IdList.h"

namespace retrove {

inline LPCITEMIDLIST AsItemIdList(const std::uint8_t* list) {
  return reinterpret_cast<LPCITEMIDLIST>(list);
}
inline LPITEMIDLIST AsItemIdList(std::uint8_t* list) {
  return reinterpret_cast<LPITEMIDLIST>(list);
}
inline const std::uint8_t* AsBytes(LPCITEMIDLIST list) {
  return reinterpret_cast<const std::uint8_t*>(list);
}
// Takes over a list the shell allocated.
inline ShellIdList AdoptIdList(LPITEMIDLIST list) {
  return ShellIdList(reinterpret_cast<std::uint8_t*>(list));
}

// `text` in UTF-16: MAX_PATH characters and a NUL; a longer text is
// refused (false), not cut short.
bool ToWide(const std::string& text, wchar_t (&wide)[MAX_PATH + 1]);

// The shell's task allocator, as the process-wide list allocator uses it.
TIdListAllocator& ShellTaskAllocator();

// 0 equal; -1 when exactly one is none or empty; otherwise the shell's
// signed comparison, or kCompareUnknown when the shell cannot compare.
constexpr int kCompareUnknown = 0x7FFFFFFF;
int CompareIdLists(const std::uint8_t* first, const std::uint8_t* second);

HRESULT GetDesktopFolder(TComPtr<IShellFolder>& desktop);
// None and the empty list give the Desktop folder itself.
HRESULT BindToFolder(const std::uint8_t* list, TComPtr<IShellFolder>& folder);
// A path longer than MAX_PATH characters is refused, not cut short.
HRESULT PathToIdList(const std::string& path, ShellIdList& list);
// "" for items outside the file system; none is the Desktop.
std::string IdListToPath(const std::uint8_t* list);
std::string SpecialFolderPath(HWND window, int folder);
HRESULT GetSpecialFolderIdList(HWND window, int folder, ShellIdList& list);

int GetIconIndex(const std::uint8_t* list, UINT flags);
// 0 = small, 1 = large; any other size gives 0 (no list). The list is the
// shared system one: never destroy it.
HIMAGELIST GetSystemImageList(int size);

// kind 0 = normal, 1 = in folder, 2 = for parsing; "" on failure or for an
// unknown kind. A null folder means the Desktop.
std::string GetDisplayName(IShellFolder* folder, const std::uint8_t* item, int kind);
// As GetDisplayName with the caller's SHGDN flags; a failure is shown in a
// message box with the system's text and gives "".
std::string GetItemName(IShellFolder* folder, const std::uint8_t* item, DWORD flags);

// Parent folder, parent list (none for a top-level item) and last item of an
// absolute list; the Desktop itself stands for the Desktop directory.
HRESULT SplitIdList(const std::uint8_t* list, TComPtr<IShellFolder>& parent, ShellIdList& parentList,
                    ShellIdList& lastItem);
HRESULT GetUIObjectOfIdList(const std::uint8_t* list, REFIID iid, void** object);
HRESULT GetDesktopDropTarget(TComPtr<IDropTarget>& target);

// The items' context menu and a popup menu filled by it, shell commands
// numbered from firstId. A failing QueryContextMenu raises.
HRESULT GetContextMenu(HWND window, IShellFolder* folder, UINT count, LPCITEMIDLIST* items, UINT flags,
                       UINT firstId, TComPtr<IContextMenu>& menu, TMenuHandle& popup);
// Command offset of a verb ("delete", "copy", ...), -1 when the menu has none.
int FindVerbCommand(HWND window, IContextMenu* menu, const std::string& verb);
HRESULT InvokeCommand(HWND window, IContextMenu* menu, UINT offset);
HRESULT InvokeCommand(HWND window, IContextMenu* menu, const std::string& verb);

// The top-level window that `control` belongs to (itself when it is one);
// 0 for no window.
HWND OwnerFormHandle(HWND control);

// One line up or down on the control's bar (SB_HORZ or SB_VERT) when the bar
// can scroll at all.
void ScrollOneLine(HWND control, int bar, bool down);

struct ShortcutInfo {
  std::string TargetPath;
  std::string Arguments;
  std::string Description;
  std::string IconLocation;
  int IconIndex = 0;
  std::string WorkingDirectory;
  int ShowCommand = 0;
  WORD HotKey = 0;
  ShellIdList IdList;  // only when asked for
};
// Needs COM initialised on the calling thread.
HRESULT ReadShortcut(const std::string& path, bool wantIdList, ShortcutInfo& info);

// With the user's thousands separator.
std::string FormatKilobytes(std::uint64_t size);
// "System Folder" for items outside the file system, else the shell's type
// name ("" when it has none).
std::string TypeNameOf(const std::uint8_t* list, DWORD attributes);

// One entry of the user's Send To folder, known by its own item.
struct TSendToEntry {
  std::string Name;
  ShellIdList Item;  // relative to the Send To folder
  int Icon = 0;      // in the system's small image list
};
// The entries sorted by name, the first `limit` of them.
HRESULT ReadSendToEntries(HWND window, std::size_t limit, std::vector<TSendToEntry>& entries);
// Drops `data` on the Send To entry `item` as a left-button copy; S_FALSE
// when the entry takes no such drop.
HRESULT SendToFolderDrop(HWND window, const std::uint8_t* item, IDataObject* data);

}  // namespace retrove
