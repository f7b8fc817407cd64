#include <algorithm>
#include <cstring>

#include "SysError.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

constexpr UINT kFirstShellCommand = 50;
constexpr UINT kLastShellCommand = 0x7FFF;
constexpr int kSendToFolder = 9;

std::string TextOf(const char* buffer, std::size_t size) {
  return std::string(buffer, strnlen(buffer, size));
}

}  // namespace

bool ToWide(const std::string& text, wchar_t (&wide)[MAX_PATH + 1]) {
  return MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH + 1) != 0;
}

HRESULT GetContextMenu(HWND window, IShellFolder* folder, UINT count, LPCITEMIDLIST* items, UINT flags,
                       UINT firstId, TComPtr<IContextMenu>& menu, TMenuHandle& popup) {
  TComPtr<IContextMenu> contextMenu;
  const HRESULT status =
      folder->GetUIObjectOf(window, count, items, IID_IContextMenu, nullptr, contextMenu.PutVoid());
  if (FAILED(status)) return status;
  TMenuHandle newPopup(CreatePopupMenu());
  if (!newPopup) RaiseLastOSError();
  OleCheck(contextMenu->QueryContextMenu(newPopup.Get(), 0, firstId, kLastShellCommand, flags));
  menu = std::move(contextMenu);
  popup = std::move(newPopup);
  return status;
}

int FindVerbCommand(HWND, IContextMenu* menu, const std::string& verb) {
  TMenuHandle popup(CreatePopupMenu());
  if (!popup) RaiseLastOSError();
  OleCheck(menu->QueryContextMenu(popup.Get(), 0, kFirstShellCommand, kLastShellCommand, CMF_EXPLORE));
  const int count = GetMenuItemCount(popup.Get());
  for (int position = 0; position < count; ++position) {
    const UINT id = GetMenuItemID(popup.Get(), position);
    // Separators (0) and submenus (-1) carry no command of the menu's own.
    if (id == 0 || id == static_cast<UINT>(-1) || id < kFirstShellCommand) continue;
    char answer[261] = "";
    const UINT offset = id - kFirstShellCommand;
    if (FAILED(menu->GetCommandString(offset, GCS_VERBA, nullptr, answer, sizeof answer))) continue;
    if (lstrcmpiA(TextOf(answer, sizeof answer).c_str(), verb.c_str()) == 0) return static_cast<int>(offset);
  }
  return -1;
}

HRESULT InvokeCommand(HWND window, IContextMenu* menu, UINT offset) {
  CMINVOKECOMMANDINFO command{};
  command.cbSize = sizeof command;
  command.hwnd = window;
  command.lpVerb = MAKEINTRESOURCEA(offset);
  command.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&command);
}

HRESULT InvokeCommand(HWND window, IContextMenu* menu, const std::string& verb) {
  const int offset = FindVerbCommand(window, menu, verb);
  if (offset < 0) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
  return InvokeCommand(window, menu, static_cast<UINT>(offset));
}

HWND OwnerFormHandle(HWND control) {
  if (!control || !IsWindow(control)) return nullptr;
  return GetAncestor(control, GA_ROOT);
}

void ScrollOneLine(HWND control, int bar, bool down) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(control, bar, &info)) return;
  const int range = info.nMax - info.nMin + 1;
  if (range - static_cast<int>(info.nPage) <= 0) return;
  SendMessageA(control, bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
}

HRESULT ReadShortcut(const std::string& path, bool wantIdList, ShortcutInfo& info) {
  info = ShortcutInfo();
  wchar_t widePath[MAX_PATH + 1];
  if (!ToWide(path, widePath)) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  TComPtr<IShellLinkA> link;
  HRESULT status =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid());
  if (FAILED(status)) return status;
  TComPtr<IPersistFile> file;
  if (FAILED(status = link->QueryInterface(IID_IPersistFile, file.PutVoid()))) return status;
  if (FAILED(status = file->Load(widePath, STGM_READ))) return status;
  if (FAILED(status = link->Resolve(nullptr, SLR_ANY_MATCH))) return status;

  char text[261] = "";
  WIN32_FIND_DATAA found{};
  if (FAILED(status = link->GetPath(text, sizeof text, &found, 0))) return status;
  info.TargetPath = TextOf(text, sizeof text);
  if (FAILED(status = link->GetArguments(text, sizeof text))) return status;
  info.Arguments = TextOf(text, sizeof text);
  if (FAILED(status = link->GetDescription(text, sizeof text))) return status;
  info.Description = TextOf(text, sizeof text);
  if (FAILED(status = link->GetIconLocation(text, sizeof text, &info.IconIndex))) return status;
  info.IconLocation = TextOf(text, sizeof text);
  if (FAILED(status = link->GetWorkingDirectory(text, sizeof text))) return status;
  info.WorkingDirectory = TextOf(text, sizeof text);
  if (FAILED(status = link->GetShowCmd(&info.ShowCommand))) return status;
  if (FAILED(status = link->GetHotkey(&info.HotKey))) return status;
  if (wantIdList) {
    LPITEMIDLIST list = nullptr;
    status = link->GetIDList(&list);
    info.IdList = AdoptIdList(list);
  }
  return status;
}

std::string FormatKilobytes(std::uint64_t size) {
  char separator[4] = ",";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
  return FormatKilobytes(size, separator[0]);
}

std::string TypeNameOf(const std::uint8_t* list, DWORD attributes) {
  if (!(attributes & SFGAO_FILESYSTEM)) return "System Folder";
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, SHGFI_TYPENAME | SHGFI_PIDL)) return {};
  return TextOf(info.szTypeName, sizeof info.szTypeName);
}

HRESULT ReadSendToEntries(HWND window, std::size_t limit, std::vector<TSendToEntry>& entries) {
  entries.clear();
  ShellIdList sendToList;
  HRESULT status = GetSpecialFolderIdList(window, kSendToFolder, sendToList);
  if (FAILED(status)) return status;
  TComPtr<IShellFolder> sendTo;
  if (FAILED(status = BindToFolder(sendToList.Get(), sendTo))) return status;
  TComPtr<IEnumIDList> items;
  status = sendTo->EnumObjects(window, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.Put());
  if (FAILED(status) || !items) return status;
  LPITEMIDLIST raw = nullptr;
  ULONG fetched = 0;
  while (items->Next(1, &raw, &fetched) == S_OK && raw) {
    TSendToEntry entry;
    entry.Item = AdoptIdList(raw);
    raw = nullptr;
    entry.Name = GetDisplayName(sendTo.Get(), entry.Item.Get(), 0);
    const ShellIdList absolute = ConcatIdLists(nullptr, sendToList.Get(), entry.Item.Get());
    entry.Icon = GetIconIndex(absolute.Get(), SHGFI_SMALLICON);
    entries.push_back(std::move(entry));
  }
  std::stable_sort(entries.begin(), entries.end(), [](const TSendToEntry& a, const TSendToEntry& b) {
    return lstrcmpiA(a.Name.c_str(), b.Name.c_str()) < 0;
  });
  if (entries.size() > limit) entries.resize(limit);
  return S_OK;
}

HRESULT SendToFolderDrop(HWND window, const std::uint8_t* item, IDataObject* data) {
  ShellIdList sendToList;
  HRESULT status = GetSpecialFolderIdList(window, kSendToFolder, sendToList);
  if (FAILED(status)) return status;
  TComPtr<IShellFolder> sendTo;
  if (FAILED(status = BindToFolder(sendToList.Get(), sendTo))) return status;
  TComPtr<IDropTarget> target;
  LPCITEMIDLIST one = AsItemIdList(item);
  if (FAILED(status = sendTo->GetUIObjectOf(window, 1, &one, IID_IDropTarget, nullptr, target.PutVoid())))
    return status;
  const POINTL origin{0, 0};
  DWORD effect = DROPEFFECT_COPY;
  if (FAILED(status = target->DragEnter(data, MK_LBUTTON, origin, &effect))) return status;
  effect = DROPEFFECT_COPY;
  if (FAILED(status = target->DragOver(MK_LBUTTON, origin, &effect))) return status;
  if (effect == DROPEFFECT_NONE) {
    target->DragLeave();
    return S_FALSE;
  }
  effect = DROPEFFECT_COPY;
  return target->Drop(data, MK_LBUTTON, origin, &effect);
}

}  // namespace retrove
