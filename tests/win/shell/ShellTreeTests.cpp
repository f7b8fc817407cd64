#include <doctest/doctest.h>

#include <shlwapi.h>

#include <chrono>
#include <functional>
#include <vector>

#include "Form.h"
#include "GuiTesting.h"
#include "ShellTestSupport.h"
#include "SysError.h"
#include "UNsShellUtils.h"
#include "UNsShellControls.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr int kMyComputer = 17;
// A change reaches the tree after the watch's delay; a machine busy with
// other work can take much longer to deliver it.
constexpr DWORD kWatchWait = 20000;

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// A form holding one shell tree, shown, so that the tree has filled itself.
class TTreeForm {
public:
  TTreeForm() : Form(nullptr) {
    EnsureApplication();
    Tree = new TNsShellTree(&Form);
    Tree->SetParent(&Form);
    Tree->SetAlign(alClient);
    Tree->OnChange = [this](TObject&, HTREEITEM) { ++Changes; };
    Form.SetBounds(40, 40, 320, 480);
    Form.Show();
  }

  HTREEITEM Select(const std::string& path) {
    Tree->SelectIdList(Parse(path).Get());
    return Tree->Selected();
  }

  std::vector<std::string> ChildNames(HTREEITEM node) {
    std::vector<std::string> names;
    for (HTREEITEM child = Tree->FirstChild(node); child; child = Tree->NextSibling(child))
      names.push_back(Tree->Text(child));
    return names;
  }

  HTREEITEM Child(HTREEITEM node, const std::string& name) {
    for (HTREEITEM child = Tree->FirstChild(node); child; child = Tree->NextSibling(child))
      if (SameText(Tree->Text(child), name)) return child;
    return nullptr;
  }

  TComScope Com;
  TForm Form;
  TNsShellTree* Tree;
  int Changes = 0;
};

// A test's own folder object, living on the test's stack: references do
// not count.
class TStackShellFolder : public IShellFolder {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id != IID_IUnknown && id != IID_IShellFolder) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

// A folder whose every name look-up fails with `Failure`.
class TNamelessFolder final : public TStackShellFolder {
public:
  static constexpr HRESULT Failure = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return Failure; }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override {
    return E_NOTIMPL;
  }
};

// A real folder whose items can be made to fail one by one: the item named
// `BadAttributes` has no attributes, the one named `BadName` no name, and
// the listing breaks off with `Failure` after `ItemsBeforeBreak` items
// (when set).
class TFaultyFolder final : public TStackShellFolder {
public:
  static constexpr HRESULT Failure = HRESULT_FROM_WIN32(ERROR_NETNAME_DELETED);

  explicit TFaultyFolder(IShellFolder* real) : FReal(real) {}

  std::string BadAttributes;
  std::string BadName;
  int ItemsBeforeBreak = -1;

  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND window, IBindCtx* context, LPWSTR name, ULONG* eaten,
                                             PIDLIST_RELATIVE* list, ULONG* attributes) override {
    return FReal->ParseDisplayName(window, context, name, eaten, list, attributes);
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND window, SHCONTF flags, IEnumIDList** items) override {
    const HRESULT status = FReal->EnumObjects(window, flags, items);
    if (status == S_OK && ItemsBeforeBreak >= 0) *items = new TBreakingEnum(*items, ItemsBeforeBreak);
    return status;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID id, void** out) override {
    return FReal->BindToObject(list, context, id, out);
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID id, void** out) override {
    return FReal->BindToStorage(list, context, id, out);
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM how, PCUIDLIST_RELATIVE a, PCUIDLIST_RELATIVE b) override {
    return FReal->CompareIDs(how, a, b);
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND window, REFIID id, void** out) override {
    return FReal->CreateViewObject(window, id, out);
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes) override {
    if (count == 1 && NameOf(items[0]) == BadAttributes) return Failure;
    return FReal->GetAttributesOf(count, items, attributes);
  }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND window, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID id,
                                          UINT* reserved, void** out) override {
    return FReal->GetUIObjectOf(window, count, items, id, reserved, out);
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name) override {
    if (NameOf(item) == BadName) return Failure;
    return FReal->GetDisplayNameOf(item, flags, name);
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND window, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags,
                                      PITEMID_CHILD* out) override {
    return FReal->SetNameOf(window, item, name, flags, out);
  }

private:
  // Hands out the first items of a real listing, then fails.
  class TBreakingEnum final : public IEnumIDList {
  public:
    TBreakingEnum(IEnumIDList* real, int items) : FReal(real), FLeft(items) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
      if (id != IID_IUnknown && id != IID_IEnumIDList) {
        *object = nullptr;
        return E_NOINTERFACE;
      }
      AddRef();
      *object = this;
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override {
      const ULONG left = --FReferences;
      if (left == 0) delete this;
      return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) override {
      if (FLeft-- <= 0) return Failure;
      return FReal->Next(count, items, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return FReal->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return FReal->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** out) override { return FReal->Clone(out); }

  private:
    ~TBreakingEnum() { FReal->Release(); }
    IEnumIDList* FReal;
    int FLeft;
    ULONG FReferences = 1;
  };

  std::string NameOf(PCUITEMID_CHILD item) {
    STRRET name{};
    char text[MAX_PATH] = {};
    if (FAILED(FReal->GetDisplayNameOf(item, SHGDN_INFOLDER, &name))) return {};
    StrRetToBufA(&name, item, text, sizeof text);
    return text;
  }

  IShellFolder* FReal;
};

}  // namespace

TEST_CASE("a failed name look-up is reported in the program's error box and gives no name") {
  EnsureApplication();
  TNamelessFolder folder;
  const std::uint8_t item[] = {4, 0, 'x', 0, 0, 0};
  TMessageBoxCloser closer("Retrove 97");
  CHECK(GetItemName(&folder, item, SHGDN_INFOLDER).empty());
  CHECK(closer.Seen());
  CHECK(closer.Text() == SysErrorMessage(static_cast<DWORD>(TNamelessFolder::Failure)));
  CHECK(closer.HasIcon());
}

TEST_CASE("the tree fills itself from the Desktop and selects its top node") {
  TTreeForm window;
  HTREEITEM top = window.Tree->TopNode();
  REQUIRE(top);
  CHECK(window.Tree->Selected() == top);
  CHECK(window.Tree->Expanded(top));
  CHECK(IdListIsEmpty(window.Tree->NodeData(top)->AbsoluteIdList()));
  CHECK(window.Tree->FirstChild(top));
  CHECK(window.Changes >= 1);
  // 0, the icon of a file of unknown type, is also what a failed look-up gives.
  CHECK(window.Tree->ImageIndex(top) > 0);
  CHECK(window.Tree->ImageIndex(top) == GetIconIndex(window.Tree->NodeData(top)->AbsoluteIdList(), SHGFI_SMALLICON));
}

TEST_CASE("SelectedPath: none for My Computer, a backslash for a drive, the full path for a folder") {
  TTreeForm window;
  TTempFolder folder;
  ShellIdList myComputer;
  REQUIRE(GetSpecialFolderIdList(nullptr, kMyComputer, myComputer) == S_OK);
  window.Tree->SelectIdList(myComputer.Get());
  REQUIRE(window.Tree->Selected() != window.Tree->TopNode());
  CHECK(window.Tree->SelectedPath().empty());

  window.Select("C:\\");
  CHECK(SameText(window.Tree->SelectedPath(), "C:\\"));

  window.Select(folder.Path());
  CHECK(SameText(window.Tree->SelectedPath(), folder.Path()));
  CHECK(SameText(IdListToPath(window.Tree->CurrentFolder().IdList()), folder.Path()));
}

TEST_CASE("UpOneLevel: nothing at the top, the parent with one OnChange below it") {
  TTreeForm window;
  HTREEITEM top = window.Tree->TopNode();
  window.Changes = 0;
  window.Tree->UpOneLevel();
  CHECK(window.Tree->Selected() == top);
  CHECK(window.Changes == 0);

  HTREEITEM drive = window.Select("C:\\");
  REQUIRE(drive);
  window.Changes = 0;
  window.Tree->UpOneLevel();
  CHECK(window.Changes == 1);
  HTREEITEM myComputer = window.Tree->Selected();
  CHECK(myComputer == window.Tree->ParentOf(drive));
  ShellIdList expected;
  REQUIRE(GetSpecialFolderIdList(nullptr, kMyComputer, expected) == S_OK);
  CHECK(CompareIdLists(window.Tree->NodeData(myComputer)->AbsoluteIdList(), expected.Get()) == 0);
  CHECK(window.Tree->SelectedPath().empty());
}

TEST_CASE("children are sorted by name; folders with subfolders get a button, files are left out") {
  TTreeForm window;
  TTempFolder folder;
  for (const char* name : {"Beta", "alpha", "Gamma"}) CreateDirectoryA(folder.Child(name).c_str(), nullptr);
  CreateDirectoryA((folder.Child("Beta") + "\\inner").c_str(), nullptr);
  CloseHandle(CreateFileA(folder.Child("file.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  HTREEITEM node = window.Select(folder.Child("alpha"));
  node = window.Tree->ParentOf(node);
  CHECK(window.ChildNames(node) == std::vector<std::string>{"alpha", "Beta", "Gamma"});
  CHECK(window.Tree->HasChildren(window.Child(node, "Beta")));
  CHECK_FALSE(window.Child(node, "file.txt"));
  RemoveDirectoryA((folder.Child("Beta") + "\\inner").c_str());
}

TEST_CASE("a watched drive's changes reach the loaded nodes after the delay") {
  TTreeForm window;
  TTempFolder folder;
  for (const char* name : {"b", "d", "f"}) CreateDirectoryA(folder.Child(name).c_str(), nullptr);
  HTREEITEM selected = window.Select(folder.Child("d"));
  REQUIRE(selected);
  HTREEITEM parent = window.Tree->ParentOf(selected);
  REQUIRE(window.ChildNames(parent) == std::vector<std::string>{"b", "d", "f"});

  SUBCASE("a new folder is added in its sorted place, the selection stays") {
    CreateDirectoryA(folder.Child("c").c_str(), nullptr);
    CHECK(PumpUntil([&] { return window.Child(parent, "c") != nullptr; }, kWatchWait));
    CHECK(window.ChildNames(parent) == std::vector<std::string>{"b", "c", "d", "f"});
    CHECK(window.Tree->Selected() == selected);
  }
  SUBCASE("deleting the selected folder selects its parent and fires OnChange") {
    window.Changes = 0;
    RemoveDirectoryA(folder.Child("d").c_str());
    CHECK(PumpUntil([&] { return window.Child(parent, "d") == nullptr; }, kWatchWait));
    CHECK(window.Tree->Selected() == parent);
    CHECK(window.Changes == 1);
    CHECK(SameText(window.Tree->SelectedPath(), folder.Path()));
  }
  SUBCASE("a folder made in a node never expanded shows on its first expansion") {
    CreateDirectoryA((folder.Child("f") + "\\inner").c_str(), nullptr);
    HTREEITEM f = window.Child(parent, "f");
    CHECK(PumpUntil([&] { return window.Tree->HasChildren(f); }, kWatchWait));
    window.Tree->Expand(f);
    CHECK(window.ChildNames(f) == std::vector<std::string>{"inner"});
    RemoveDirectoryA((folder.Child("f") + "\\inner").c_str());
  }
  SUBCASE("the last child going takes its parent's button") {
    CreateDirectoryA((folder.Child("b") + "\\only").c_str(), nullptr);
    HTREEITEM b = window.Child(parent, "b");
    CHECK(PumpUntil([&] { return window.Tree->HasChildren(b); }, kWatchWait));
    window.Tree->Expand(b);
    REQUIRE(window.ChildNames(b) == std::vector<std::string>{"only"});
    RemoveDirectoryA((folder.Child("b") + "\\only").c_str());
    CHECK(PumpUntil([&] { return !window.Tree->FirstChild(b); }, kWatchWait));
    CHECK_FALSE(window.Tree->HasChildren(b));
  }
}

TEST_CASE("hidden folders show in a first fill, not through a resync") {
  TTreeForm window;
  TTempFolder folder;
  for (const char* name : {"early", "plain"}) CreateDirectoryA(folder.Child(name).c_str(), nullptr);
  SetFileAttributesA(folder.Child("early").c_str(), FILE_ATTRIBUTE_HIDDEN);
  HTREEITEM parent = window.Tree->ParentOf(window.Select(folder.Child("plain")));
  CHECK(window.ChildNames(parent) == std::vector<std::string>{"early", "plain"});

  CreateDirectoryA(folder.Child("late").c_str(), nullptr);
  SetFileAttributesA(folder.Child("late").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA(folder.Child("visible").c_str(), nullptr);
  CHECK(PumpUntil([&] { return window.Child(parent, "visible") != nullptr; }, 8000));
  CHECK(window.ChildNames(parent) == std::vector<std::string>{"early", "plain", "visible"});
}

TEST_CASE("node data goes with its nodes, also when the window is made again") {
  TComScope com;
  int deleted = 0;
  int count = 0;
  {
    TTreeForm window;
    window.Select("C:\\");
    window.Tree->OnDeleteItem = [&](TObject&, HTREEITEM, TNsShTreeData* data) {
      CHECK(data);
      ++deleted;
    };
    count = window.Tree->Count();
    window.Tree->SetBorderStyle(bsNone);
    CHECK(deleted == count);
    CHECK(window.Tree->TopNode());
    deleted = 0;
    count = window.Tree->Count();
  }
  CHECK(deleted == count);
}

TEST_CASE("resyncing a folder of 5,000 subfolders, unchanged and after a change deep inside it") {
  TTreeForm window;
  TTempFolder folder;
  CreateDirectoryA(folder.Child("big").c_str(), nullptr);
  const std::string big = folder.Child("big");
  for (int i = 0; i < 5000; ++i) CreateDirectoryA((big + "\\sub" + std::to_string(10000 + i)).c_str(), nullptr);
  const std::string deep = big + "\\sub12345\\deep";
  CreateDirectoryA((big + "\\sub12345").c_str(), nullptr);
  CreateDirectoryA(deep.c_str(), nullptr);
  CreateDirectoryA((deep + "\\old").c_str(), nullptr);
  CreateDirectoryA((deep + "\\kept").c_str(), nullptr);
  HTREEITEM node = window.Select(big);
  REQUIRE(node);
  REQUIRE(window.Tree->HasChildren(node));

  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  window.Tree->Expand(node);
  const auto expandMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  CHECK(window.ChildNames(node).size() == 5000);

  start = Clock::now();
  window.Tree->Resync();
  const auto resyncMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  std::vector<std::string> names = window.ChildNames(node);
  CHECK(names.size() == 5000);
  CHECK(names.front() == "sub10000");
  CHECK(names.back() == "sub14999");
  CHECK(window.Tree->Selected() == node);
  MESSAGE("expand 5000: " << expandMs << " ms, resync: " << resyncMs << " ms");

  // Two levels down, with the selection on a folder that then goes.
  HTREEITEM deepNode = window.Select(deep + "\\old");
  REQUIRE(deepNode);
  deepNode = window.Tree->ParentOf(deepNode);
  CHECK(RemoveDirectoryA((deep + "\\old").c_str()));
  CHECK(CreateDirectoryA((deep + "\\new").c_str(), nullptr));
  window.Tree->Resync();
  CHECK(window.ChildNames(deepNode) == std::vector<std::string>{"kept", "new"});
  CHECK(window.Tree->Selected() == deepNode);
  names = window.ChildNames(node);
  CHECK(names.size() == 5000);
  CHECK(window.Child(node, "sub12345") == window.Tree->ParentOf(deepNode));

  window.Tree->Collapse(node);
  for (const char* name : {"new", "kept"}) RemoveDirectoryA((deep + "\\" + name).c_str());
  RemoveDirectoryA(deep.c_str());
  for (int i = 0; i < 5000; ++i) RemoveDirectoryA((big + "\\sub" + std::to_string(10000 + i)).c_str());
}

TEST_CASE("a fill shows no message while it runs; failing items are left out and reported after it") {
  TTreeForm window;
  TTempFolder folder;
  for (const char* name : {"a", "b", "c", "d"}) CreateDirectoryA(folder.Child(name).c_str(), nullptr);
  HTREEITEM node = window.Select(folder.Path());
  REQUIRE(node);
  REQUIRE_FALSE(window.Tree->FirstChild(node));
  TComPtr<IShellFolder> real;
  REQUIRE(BindToFolder(window.Tree->NodeData(node)->AbsoluteIdList(), real) == S_OK);
  TFaultyFolder faulty(real.Get());
  const std::string failure = SysErrorMessage(static_cast<DWORD>(TFaultyFolder::Failure));

  SUBCASE("an item without attributes is left out, one without a name has none") {
    faulty.BadAttributes = "b";
    faulty.BadName = "c";
    TMessageBoxCloser closer("Retrove 97");
    CHECK_NOTHROW(window.Tree->FillNode(&faulty, node));
    CHECK_FALSE(closer.Seen());
    CHECK(window.ChildNames(node) == std::vector<std::string>{"a", "", "d"});
    CHECK(PumpUntil([&] { return closer.Seen(); }, 5000));
    CHECK(closer.Text() == failure);
  }
  SUBCASE("a listing that breaks off leaves the folder to be filled again") {
    faulty.ItemsBeforeBreak = 2;
    {
      TMessageBoxCloser closer("Retrove 97");
      CHECK_NOTHROW(window.Tree->FillNode(&faulty, node));
      CHECK_FALSE(closer.Seen());
      CHECK_FALSE(window.Tree->FirstChild(node));
      CHECK(window.Tree->HasChildren(node));
      CHECK(PumpUntil([&] { return closer.Seen(); }, 5000));
      CHECK(closer.Text() == failure);
    }
    window.Tree->Expand(node);
    CHECK(window.ChildNames(node) == std::vector<std::string>{"a", "b", "c", "d"});
  }
}

TEST_CASE("a refresh that comes while a label is edited is carried out when the edit ends") {
  TTreeForm window;
  window.Tree->SetReadOnly(false);
  TTempFolder folder;
  for (const char* name : {"b", "d"}) CreateDirectoryA(folder.Child(name).c_str(), nullptr);
  HTREEITEM selected = window.Select(folder.Child("d"));
  REQUIRE(selected);
  HTREEITEM parent = window.Tree->ParentOf(selected);
  window.Tree->SetFocus();
  REQUIRE(window.Tree->Perform(TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(selected)) != 0);
  CreateDirectoryA(folder.Child("c").c_str(), nullptr);
  // Long enough for the change notice and a focused refresh to come and be held back.
  PumpUntil([] { return false; }, 4000);
  CHECK(window.ChildNames(parent) == std::vector<std::string>{"b", "d"});
  window.Tree->Perform(TVM_ENDEDITLABELNOW, TRUE);
  CHECK(PumpUntil([&] { return window.Child(parent, "c") != nullptr; }, 5000));
  CHECK(window.ChildNames(parent) == std::vector<std::string>{"b", "c", "d"});
}
