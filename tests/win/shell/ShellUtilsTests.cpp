#include <doctest/doctest.h>

#include "IdListArray.h"
#include "ShellTestSupport.h"
#include "UNsShellUtils.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr int kMyComputer = 17;
constexpr int kDesktop = 0;

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Counts the blocks of the task allocator that are handed out and not yet
// freed while it is registered.
class TMallocSpy final : public IMallocSpy {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* block) override {
    if (block) {
      ++Live;
      ++Allocations;
    }
    return block;
  }
  void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override {
    if (block && spied) --Live;
    return block;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
    *newBlock = block;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
  void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

  long Live = 0;
  long Allocations = 0;
};

}  // namespace

TEST_CASE("paths of drive roots and folders come back from their lists") {
  TComScope com;
  TTempFolder folder;
  const std::string root = IdListToPath(Parse("C:\\").Get());
  CHECK(SameText(root, "C:\\"));
  CHECK(SameText(IdListToPath(Parse(folder.Path()).Get()), folder.Path()));
  CHECK(SameText(IdListToPath(Parse("Z:\\").Get()), "Z:\\"));

  ShellIdList missing;
  CHECK(FAILED(PathToIdList(folder.Child("not there"), missing)));
  CHECK_FALSE(missing);
  ShellIdList tooLong;
  CHECK(PathToIdList("C:\\" + std::string(300, 'a'), tooLong) == HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
}

TEST_CASE("folders outside the file system have no path; special folders do") {
  TComScope com;
  ShellIdList myComputer;
  REQUIRE(GetSpecialFolderIdList(nullptr, kMyComputer | 0x80, myComputer) == S_OK);
  CHECK(IdListCount(myComputer.Get()) == 1);
  CHECK(IdListToPath(myComputer.Get()).empty());
  CHECK(SpecialFolderPath(nullptr, kMyComputer).empty());

  const std::string desktop = SpecialFolderPath(nullptr, kDesktop);
  CHECK_FALSE(desktop.empty());
  CHECK((GetFileAttributesA(desktop.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
  // None and the empty list both stand for the Desktop.
  CHECK(IdListToPath(nullptr) == desktop);
  CHECK(CompareIdLists(nullptr, nullptr) == 0);
}

TEST_CASE("comparisons tell the same folder from another") {
  TComScope com;
  TTempFolder folder;
  CreateDirectoryA(folder.Child("a").c_str(), nullptr);
  CreateDirectoryA(folder.Child("b").c_str(), nullptr);
  const ShellIdList a = Parse(folder.Child("a"));
  const ShellIdList a2 = Parse(folder.Child("a"));
  const ShellIdList b = Parse(folder.Child("b"));
  const std::uint8_t empty[] = {0, 0};
  CHECK(CompareIdLists(a.Get(), a2.Get()) == 0);
  const int ab = CompareIdLists(a.Get(), b.Get());
  CHECK(ab != 0);
  CHECK(ab != kCompareUnknown);
  CHECK(CompareIdLists(b.Get(), a.Get()) == -ab);
  CHECK(CompareIdLists(empty, a.Get()) == -1);
  CHECK(CompareIdLists(a.Get(), empty) == -1);
  CHECK(CompareIdLists(empty, empty) == 0);
  CHECK(CompareIdLists(a.Get(), nullptr) == -1);
}

TEST_CASE("a split list joins back to itself, and its parts name the folder") {
  TComScope com;
  TTempFolder folder;
  const std::string childPath = folder.Child("child folder");
  CreateDirectoryA(childPath.c_str(), nullptr);
  const ShellIdList child = Parse(childPath);

  TComPtr<IShellFolder> parent;
  ShellIdList parentList;
  ShellIdList lastItem;
  REQUIRE(SplitIdList(child.Get(), parent, parentList, lastItem) == S_OK);
  CHECK(IdListCount(lastItem.Get()) == 1);
  CHECK(SameText(IdListToPath(parentList.Get()), folder.Path()));
  const ShellIdList joined = ConcatIdLists(nullptr, parentList.Get(), lastItem.Get());
  CHECK(CompareIdLists(joined.Get(), child.Get()) == 0);

  CHECK(GetDisplayName(parent.Get(), lastItem.Get(), 1) == "child folder");
  CHECK(SameText(GetDisplayName(parent.Get(), lastItem.Get(), 2), childPath));
  CHECK(GetItemName(parent.Get(), lastItem.Get(), SHGDN_INFOLDER) == "child folder");
  CHECK(GetDisplayName(parent.Get(), lastItem.Get(), 3).empty());
  CHECK_FALSE(GetDisplayName(nullptr, child.Get(), 0).empty());

  TComPtr<IShellFolder> bound;
  REQUIRE(BindToFolder(parentList.Get(), bound) == S_OK);
  CHECK(GetDisplayName(bound.Get(), lastItem.Get(), 1) == "child folder");
}

TEST_CASE("the Desktop splits as the Desktop directory below the Desktop") {
  TComScope com;
  TComPtr<IShellFolder> parent;
  ShellIdList parentList;
  ShellIdList lastItem;
  REQUIRE(SplitIdList(nullptr, parent, parentList, lastItem) == S_OK);
  CHECK(parent);
  const ShellIdList joined = ConcatIdLists(nullptr, parentList.Get(), lastItem.Get());
  CHECK(IdListToPath(joined.Get()) == SpecialFolderPath(nullptr, kDesktop));

  TComPtr<IDropTarget> target;
  CHECK(GetDesktopDropTarget(target) == S_OK);
  CHECK(target);
}

TEST_CASE("a folder's context menu finds its verbs and refuses unknown ones") {
  TComScope com;
  TTempFolder folder;
  const ShellIdList list = Parse(folder.Path());
  TComPtr<IContextMenu> menu;
  REQUIRE(GetUIObjectOfIdList(list.Get(), IID_IContextMenu, menu.PutVoid()) == S_OK);
  CHECK(FindVerbCommand(nullptr, menu.Get(), "no such verb") == -1);
  CHECK(InvokeCommand(nullptr, menu.Get(), "no such verb") == HRESULT_FROM_WIN32(ERROR_NOT_FOUND));

  TComPtr<IShellFolder> parent;
  ShellIdList parentList;
  ShellIdList lastItem;
  REQUIRE(SplitIdList(list.Get(), parent, parentList, lastItem) == S_OK);
  LPCITEMIDLIST item = AsItemIdList(lastItem.Get());
  TComPtr<IContextMenu> contextMenu;
  TMenuHandle popup;
  REQUIRE(GetContextMenu(nullptr, parent.Get(), 1, &item, CMF_EXPLORE, 50, contextMenu, popup) == S_OK);
  REQUIRE(popup);
  const int count = GetMenuItemCount(popup.Get());
  int commands = 0;
  for (int position = 0; position < count; ++position) {
    const UINT id = GetMenuItemID(popup.Get(), position);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // a separator or a submenu
    CHECK(id >= 50);
    ++commands;
  }
  CHECK(commands > 0);
}

TEST_CASE("a shortcut file reads back what was written into it") {
  TComScope com;
  TTempFolder folder;
  const std::string target = folder.Child("target.txt");
  CloseHandle(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::string shortcut = folder.Child("target.lnk");
  {
    TComPtr<IShellLinkA> link;
    REQUIRE(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid()) ==
            S_OK);
    link->SetPath(target.c_str());
    link->SetArguments("/quiet");
    link->SetDescription("Notes");
    link->SetWorkingDirectory(folder.Path().c_str());
    TComPtr<IPersistFile> file;
    REQUIRE(link->QueryInterface(IID_IPersistFile, file.PutVoid()) == S_OK);
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, widePath, MAX_PATH);
    REQUIRE(file->Save(widePath, TRUE) == S_OK);
  }
  ShortcutInfo info;
  REQUIRE(SUCCEEDED(ReadShortcut(shortcut, true, info)));
  CHECK(SameText(info.TargetPath, target));
  CHECK(info.Arguments == "/quiet");
  CHECK(info.Description == "Notes");
  CHECK(SameText(info.WorkingDirectory, folder.Path()));
  // Wine 8 reads any stored show command back as SW_SHOWNORMAL.
  CHECK(info.ShowCommand == SW_SHOWNORMAL);
  REQUIRE(info.IdList);
  CHECK(SameText(IdListToPath(info.IdList.Get()), target));

  ShortcutInfo withoutList;
  REQUIRE(SUCCEEDED(ReadShortcut(shortcut, false, withoutList)));
  CHECK_FALSE(withoutList.IdList);
  CHECK(FAILED(ReadShortcut(folder.Child("missing.lnk"), false, withoutList)));
}

TEST_CASE("icons, image lists and detail texts") {
  TComScope com;
  const ShellIdList root = Parse("C:\\");
  const HIMAGELIST small = GetSystemImageList(0);
  REQUIRE(small != nullptr);
  // A failed look-up gives index 0, the icon of a file of unknown type,
  // which a drive never has; the index must be the one the shell gives
  // the drive by its path.
  SHFILEINFOA byPath{};
  REQUIRE(SHGetFileInfoA("C:\\", 0, &byPath, sizeof byPath, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  const int rootIcon = GetIconIndex(root.Get(), SHGFI_SMALLICON);
  CHECK(rootIcon == byPath.iIcon);
  CHECK(rootIcon > 0);
  CHECK(rootIcon < ImageList_GetImageCount(small));
  CHECK(GetSystemImageList(0x80) == small);
  CHECK(GetSystemImageList(1) != nullptr);
  CHECK(GetSystemImageList(2) == nullptr);

  ShellIdList myComputer;
  REQUIRE(GetSpecialFolderIdList(nullptr, kMyComputer, myComputer) == S_OK);
  CHECK(TypeNameOf(myComputer.Get(), SFGAO_FOLDER) == "System Folder");
  CHECK(FormatKilobytes(0) == "0KB");
  CHECK(FormatKilobytes(1) == "1KB");
  CHECK(FormatKilobytes(1024) == "1KB");
  CHECK(FormatKilobytes(1025) == "2KB");
}

TEST_CASE("the owner form of a control is its top-level window") {
  HWND form = CreateWindowExA(0, "STATIC", "form", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  REQUIRE(form);
  HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 50, 50, form, nullptr, nullptr, nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, panel, nullptr, nullptr, nullptr);
  CHECK(OwnerFormHandle(button) == form);
  CHECK(OwnerFormHandle(form) == form);
  CHECK(OwnerFormHandle(nullptr) == nullptr);
  DestroyWindow(form);
  CHECK(OwnerFormHandle(button) == nullptr);
}

TEST_CASE("the shell's task allocator gets back every list the utilities take from it") {
  TComScope com;
  TTempFolder folder;
  CreateDirectoryA(folder.Child("x").c_str(), nullptr);
  TMallocSpy spy;
  REQUIRE(CoRegisterMallocSpy(&spy) == S_OK);
  const auto round = [&] {
    const ShellIdList child = Parse(folder.Child("x"));
    TComPtr<IShellFolder> parent;
    ShellIdList parentList;
    ShellIdList lastItem;
    SplitIdList(child.Get(), parent, parentList, lastItem);
    const ShellIdList joined = ConcatIdLists(nullptr, parentList.Get(), lastItem.Get());
    TNsIdListArray levels(joined.Get());
    levels.Item(0);
    levels.Ancestor(1);
    CompareIdLists(joined.Get(), child.Get());
    IdListToPath(joined.Get());
    GetDisplayName(parent.Get(), lastItem.Get(), 1);
    SpecialFolderPath(nullptr, kMyComputer);
    ShellIdList special;
    GetSpecialFolderIdList(nullptr, kMyComputer, special);
  };
  round();
  const long afterFirst = spy.Live;
  const long allocationsBefore = spy.Allocations;
  for (int i = 0; i < 20; ++i) round();
  const long afterMore = spy.Live;
  const long allocationsMade = spy.Allocations - allocationsBefore;
  CoRevokeMallocSpy();
  // Only a spy that saw the lists being taken can tell they all came back.
  CHECK(allocationsMade >= 20);
  CHECK(afterFirst == afterMore);
}
