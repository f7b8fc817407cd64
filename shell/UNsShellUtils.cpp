#include "UNsShellUtils.h"

#include <cstring>

#include "Application.h"
#include "IdListArray.h"
#include "SysError.h"

namespace retrove {

namespace {

// The shell's task allocator; the interface is fetched once and kept for the
// life of the process, like the allocator itself.
class TShellMalloc final : public TIdListAllocator {
public:
  void* Alloc(std::size_t size) override { return Malloc() ? Malloc()->Alloc(size) : nullptr; }
  void Free(void* block) noexcept override {
    if (Malloc()) Malloc()->Free(block);
  }

private:
  static IMalloc* Malloc() {
    static IMalloc* const malloc = [] {
      IMalloc* shellMalloc = nullptr;
      if (FAILED(SHGetMalloc(&shellMalloc))) return static_cast<IMalloc*>(nullptr);
      shellMalloc->Release();
      return shellMalloc;
    }();
    return malloc;
  }
};

TShellMalloc gShellMalloc;

// Lists handed out by the shell and by the list operations must come from
// one allocator, so the shell's is installed before anything runs.
const bool gShellMallocInstalled = (InstallShellAllocator(&gShellMalloc), true);

constexpr DWORD kDisplayFlags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING};
constexpr int kDesktopFolder = 0;

std::string WideToText(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), length, nullptr, nullptr);
  result.resize(static_cast<std::size_t>(length - 1));
  return result;
}

// The three forms of a returned shell string; the offset form points into
// the item's own list, so it is read no further than the list's end.
std::string StrRetToString(const STRRET& value, const std::uint8_t* item) {
  switch (value.uType) {
    case STRRET_WSTR:
      return value.pOleStr ? WideToText(value.pOleStr) : std::string();
    case STRRET_OFFSET: {
      const std::size_t size = IdListSize(item);
      if (value.uOffset >= size) return {};
      const char* text = reinterpret_cast<const char*>(item + value.uOffset);
      return std::string(text, strnlen(text, size - value.uOffset));
    }
    case STRRET_CSTR:
      return std::string(value.cStr, strnlen(value.cStr, sizeof value.cStr));
    default:
      return {};
  }
}

HRESULT DisplayNameOf(IShellFolder* folder, const std::uint8_t* item, DWORD flags, std::string& name) {
  TComPtr<IShellFolder> desktop;
  if (!folder) {
    const HRESULT status = GetDesktopFolder(desktop);
    if (FAILED(status)) return status;
    folder = desktop.Get();
  }
  STRRET value{};
  value.uType = STRRET_CSTR;
  name.clear();
  const HRESULT status = folder->GetDisplayNameOf(AsItemIdList(item), flags, &value);
  if (status != S_OK) return status;
  name = StrRetToString(value, item);
  if (value.uType == STRRET_WSTR) CoTaskMemFree(value.pOleStr);
  return status;
}

}  // namespace

TIdListAllocator& ShellTaskAllocator() {
  return gShellMalloc;
}

int CompareIdLists(const std::uint8_t* first, const std::uint8_t* second) {
  if (!first && !second) return 0;
  if (!first || !second) return -1;
  const bool firstEmpty = IdListIsEmpty(first);
  const bool secondEmpty = IdListIsEmpty(second);
  if (firstEmpty || secondEmpty) return firstEmpty == secondEmpty ? 0 : -1;
  TComPtr<IShellFolder> desktop;
  if (FAILED(GetDesktopFolder(desktop))) return kCompareUnknown;
  const HRESULT status = desktop->CompareIDs(0, AsItemIdList(first), AsItemIdList(second));
  if (FAILED(status)) return kCompareUnknown;
  return static_cast<short>(HRESULT_CODE(status));
}

HRESULT GetDesktopFolder(TComPtr<IShellFolder>& desktop) {
  return SHGetDesktopFolder(desktop.Put());
}

HRESULT BindToFolder(const std::uint8_t* list, TComPtr<IShellFolder>& folder) {
  TComPtr<IShellFolder> desktop;
  const HRESULT status = GetDesktopFolder(desktop);
  if (FAILED(status) || IdListIsEmpty(list)) {
    folder = std::move(desktop);
    return status;
  }
  return desktop->BindToObject(AsItemIdList(list), nullptr, IID_IShellFolder, folder.PutVoid());
}

HRESULT PathToIdList(const std::string& path, ShellIdList& list) {
  list.Reset();
  wchar_t text[MAX_PATH + 1];
  if (!ToWide(path, text)) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  TComPtr<IShellFolder> desktop;
  HRESULT status = GetDesktopFolder(desktop);
  if (FAILED(status)) return status;
  LPITEMIDLIST parsed = nullptr;
  status = desktop->ParseDisplayName(nullptr, nullptr, text, nullptr, &parsed, nullptr);
  list = AdoptIdList(parsed);
  if (FAILED(status)) list.Reset();
  return status;
}

std::string IdListToPath(const std::uint8_t* list) {
  static constexpr std::uint8_t kDesktop[kIdListTerminatorSize] = {0, 0};
  char path[MAX_PATH] = "";
  if (!SHGetPathFromIDListA(AsItemIdList(list ? list : kDesktop), path)) return {};
  return std::string(path, strnlen(path, MAX_PATH));
}

std::string SpecialFolderPath(HWND window, int folder) {
  LPITEMIDLIST location = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(window, folder, &location))) return {};
  const ShellIdList list = AdoptIdList(location);
  return IdListToPath(list.Get());
}

HRESULT GetSpecialFolderIdList(HWND window, int folder, ShellIdList& list) {
  LPITEMIDLIST location = nullptr;
  const HRESULT status = SHGetSpecialFolderLocation(window, folder & 0x7F, &location);
  list = AdoptIdList(location);
  return status;
}

int GetIconIndex(const std::uint8_t* list, UINT flags) {
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags | SHGFI_SYSICONINDEX | SHGFI_PIDL);
  return info.iIcon;
}

HIMAGELIST GetSystemImageList(int size) {
  static constexpr UINT kSizeFlags[] = {SHGFI_SMALLICON, SHGFI_LARGEICON};
  const int index = size & 0x7F;
  if (index > 1) return nullptr;
  SHFILEINFOA info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | kSizeFlags[index]));
}

std::string GetDisplayName(IShellFolder* folder, const std::uint8_t* item, int kind) {
  if (kind < 0 || kind > 2) return {};
  std::string name;
  if (DisplayNameOf(folder, item, kDisplayFlags[kind], name) != S_OK) return {};
  return name;
}

std::string GetItemName(IShellFolder* folder, const std::uint8_t* item, DWORD flags) {
  std::string name;
  const HRESULT status = DisplayNameOf(folder, item, flags, name);
  if (status == S_OK) return name;
  Application.ShowException(SysErrorMessage(static_cast<DWORD>(status)));
  return {};
}

HRESULT SplitIdList(const std::uint8_t* list, TComPtr<IShellFolder>& parent, ShellIdList& parentList,
                    ShellIdList& lastItem) {
  parent.Reset();
  parentList.Reset();
  lastItem.Reset();
  ShellIdList desktopDirectory;
  if (IdListIsEmpty(list)) {
    const HRESULT status = PathToIdList(SpecialFolderPath(nullptr, kDesktopFolder), desktopDirectory);
    if (FAILED(status)) return status;
    list = desktopDirectory.Get();
  }
  TNsIdListArray levels(list);
  if (levels.Count() == 0) return E_INVALIDARG;
  if (levels.Count() == 1) {
    lastItem = CopyIdList(nullptr, list);
    return GetDesktopFolder(parent);
  }
  parentList = CopyIdList(nullptr, levels.Ancestor(1));
  lastItem = CopyIdList(nullptr, levels.Item(static_cast<int>(levels.Count()) - 1));
  return BindToFolder(parentList.Get(), parent);
}

HRESULT GetUIObjectOfIdList(const std::uint8_t* list, REFIID iid, void** object) {
  *object = nullptr;
  TComPtr<IShellFolder> parent;
  ShellIdList parentList;
  ShellIdList lastItem;
  const HRESULT status = SplitIdList(list, parent, parentList, lastItem);
  if (FAILED(status)) return status;
  LPCITEMIDLIST item = AsItemIdList(lastItem.Get());
  return parent->GetUIObjectOf(nullptr, 1, &item, iid, nullptr, object);
}

HRESULT GetDesktopDropTarget(TComPtr<IDropTarget>& target) {
  return GetUIObjectOfIdList(nullptr, IID_IDropTarget, target.PutVoid());
}

}  // namespace retrove
