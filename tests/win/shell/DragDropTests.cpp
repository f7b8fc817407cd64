#include <doctest/doctest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "DragFormats.h"
#include "ShellTestSupport.h"
#include "UNsShell95.h"
#include "UNsShellUtils.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr int kSendTo = 9;
constexpr DWORD kAllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

bool SameText(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Drag and drop needs OLE, not only COM, on the thread.
class TOleScope {
public:
  TOleScope() { REQUIRE(SUCCEEDED(OleInitialize(nullptr))); }
  ~TOleScope() { OleUninitialize(); }
  TOleScope(const TOleScope&) = delete;
  TOleScope& operator=(const TOleScope&) = delete;
};

// The objects start with no reference: the test takes the first one.
template <class TInterface, class TObject>
TComPtr<TInterface> Own(TObject* object) {
  object->AddRef();
  return TComPtr<TInterface>(object);
}

FORMATETC Request(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
  return FORMATETC{format, nullptr, aspect, -1, tymed};
}

// The bytes GetData hands out for `format`; nothing when it refuses.
std::optional<TBytes> ReadBlock(IDataObject* data, CLIPFORMAT format) {
  FORMATETC request = Request(format);
  STGMEDIUM medium{};
  if (data->GetData(&request, &medium) != S_OK) return std::nullopt;
  REQUIRE(medium.tymed == TYMED_HGLOBAL);
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
  REQUIRE(bytes);
  TBytes copy(bytes, bytes + GlobalSize(medium.hGlobal));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return copy;
}

// A folder in a fresh temporary folder, and the data object dragging it.
struct TDraggedFolder {
  TDraggedFolder() {
    // Wine reuses process ids, so a crashed run may have left the folder.
    REQUIRE((CreateDirectoryA(Path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS));
    const ShellIdList list = Parse(Path);
    REQUIRE(SplitIdList(list.Get(), Parent, ParentList, Item) == S_OK);
    REQUIRE(CreateDataObject(Parent.Get(), ParentList.Get(), {Item.Get()}, Data) == S_OK);
    REQUIRE(Data);
  }
  TTempFolder Temp;
  std::string Path = Temp.Child("dragged");
  TComPtr<IShellFolder> Parent;
  ShellIdList ParentList;
  ShellIdList Item;
  TComPtr<IDataObject> Data;
};

// Another program's data object. Without an inner object GetData answers
// `Answer`, handing over `Medium` once when that is a success; with one it
// hands requests on and notes the formats read from it.
class TStubData final : public TComObject<IDataObject> {
public:
  explicit TStubData(HRESULT answer, STGMEDIUM medium = {}) : FAnswer(answer), FMedium(medium) {}
  explicit TStubData(IDataObject* inner) : FInner(inner) {}
  ~TStubData() override { ReleaseStgMedium(&FMedium); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (FInner) {
      const HRESULT status = FInner->GetData(format, medium);
      if (status == S_OK) Read.push_back(format->cfFormat);
      return status;
    }
    if (FAILED(FAnswer)) return FAnswer;
    *medium = std::exchange(FMedium, STGMEDIUM{});
    return FAnswer;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return FInner ? FInner->QueryGetData(format) : FAnswer;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
    return FInner ? FInner->EnumFormatEtc(direction, formats) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  std::vector<CLIPFORMAT> Read;

private:
  IDataObject* FInner = nullptr;
  HRESULT FAnswer = S_OK;
  STGMEDIUM FMedium{};
};

// Records what a drop target hands on, and answers as told.
class TRecordingClient final : public TNsDropClient {
public:
  HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override {
    return Record("enter", data, keyState, point, effect);
  }
  HRESULT DragOver(DWORD keyState, POINTL point, DWORD& effect) override {
    return Record("over", nullptr, keyState, point, effect);
  }
  HRESULT DragLeave() override {
    DWORD unused = DROPEFFECT_NONE;
    return Record("leave", nullptr, 0, POINTL{}, unused);
  }
  HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) override {
    return Record("drop", data, keyState, point, effect);
  }

  std::string Calls;
  IDataObject* Data = nullptr;
  DWORD KeyState = 0;
  POINTL Point{};
  DWORD EffectIn = 0;
  DWORD EffectOut = DROPEFFECT_NONE;
  HRESULT Answer = S_OK;
  bool Throw = false;

private:
  HRESULT Record(const char* call, IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
    Calls += std::string(call) + " ";
    if (Throw) throw std::runtime_error("client failure");
    Data = data;
    KeyState = keyState;
    Point = point;
    EffectIn = std::exchange(effect, EffectOut);
    return Answer;
  }
};

}  // namespace

TEST_CASE("a folder's data object gives its path as a file drop, as text and as an identifier-list array") {
  TComScope com;
  TDraggedFolder dragged;
  IDataObject* data = dragged.Data.Get();

  FORMATETC dropRequest = Request(CF_HDROP);
  STGMEDIUM first{};
  STGMEDIUM second{};
  REQUIRE(data->GetData(&dropRequest, &first) == S_OK);
  REQUIRE(data->GetData(&dropRequest, &second) == S_OK);
  CHECK(first.tymed == TYMED_HGLOBAL);
  CHECK(first.pUnkForRelease == nullptr);
  // Each receiver frees its own copy.
  CHECK(first.hGlobal != second.hGlobal);
  ReleaseStgMedium(&first);
  const auto drop = static_cast<HDROP>(second.hGlobal);
  CHECK(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) == 1);
  char name[MAX_PATH] = "";
  CHECK(DragQueryFileA(drop, 0, name, sizeof name) == dragged.Path.size());
  CHECK(SameText(name, dragged.Path));
  ReleaseStgMedium(&second);

  const auto text = ReadBlock(data, CF_TEXT);
  REQUIRE(text);
  CHECK(SameText(reinterpret_cast<const char*>(text->data()), dragged.Path + "\r\n"));

  const auto block = ReadBlock(data, ShellIdListFormat());
  REQUIRE(block);
  const auto lists = ReadIdListArray(*block);
  REQUIRE(lists);
  REQUIRE(lists->Items.size() == 1);
  const ShellIdList parent = CopyIdList(nullptr, lists->Parent);
  const ShellIdList item = CopyIdList(nullptr, lists->Items[0]);
  TComPtr<IShellFolder> folder;
  REQUIRE(BindToFolder(parent.Get(), folder) == S_OK);
  CHECK(SameText(GetDisplayName(folder.Get(), item.Get(), 2), dragged.Path));
  const ShellIdList whole = ConcatIdLists(nullptr, parent.Get(), item.Get());
  char path[MAX_PATH] = "";
  REQUIRE(SHGetPathFromIDListA(AsItemIdList(whole.Get()), path));
  CHECK(SameText(path, dragged.Path));

  for (CLIPFORMAT format : {ShellIdListFormat(), CLIPFORMAT(CF_HDROP), CLIPFORMAT(CF_TEXT)}) {
    FORMATETC either = Request(format, TYMED_ISTREAM | TYMED_HGLOBAL);
    CHECK(data->QueryGetData(&either) == S_OK);
  }
  FORMATETC streamOnly = Request(CF_TEXT, TYMED_ISTREAM);
  CHECK(data->QueryGetData(&streamOnly) == DV_E_TYMED);
  STGMEDIUM refused{};
  CHECK(data->GetData(&streamOnly, &refused) == DV_E_TYMED);
  FORMATETC unknown = Request(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Retrove test format")));
  CHECK(data->QueryGetData(&unknown) == DV_E_FORMATETC);
  FORMATETC thumbnail = Request(CF_TEXT, TYMED_HGLOBAL, DVASPECT_THUMBNAIL);
  CHECK(data->QueryGetData(&thumbnail) == DV_E_FORMATETC);

  auto* setFormats = reinterpret_cast<IEnumFORMATETC*>(std::uintptr_t{1});
  CHECK(data->EnumFormatEtc(DATADIR_SET, &setFormats) == E_NOTIMPL);
  CHECK(setFormats == nullptr);
}

TEST_CASE("the format enumerator walks the three formats and keeps its data object alive") {
  TComScope com;
  const long before = LiveComObjects();
  {
    TDraggedFolder dragged;
    TComPtr<IEnumFORMATETC> formats;
    REQUIRE(dragged.Data->EnumFormatEtc(DATADIR_GET, formats.Put()) == S_OK);
    dragged.Data.Reset();
    REQUIRE(LiveComObjects() == before + 2);

    FORMATETC got[5];
    got[3].cfFormat = 0x7777;
    ULONG fetched = 99;
    CHECK(formats->Next(5, got, &fetched) == S_FALSE);
    REQUIRE(fetched == 3);
    CHECK(got[0].cfFormat == ShellIdListFormat());
    CHECK(got[1].cfFormat == CF_HDROP);
    CHECK(got[2].cfFormat == CF_TEXT);
    CHECK(got[3].cfFormat == 0x7777);
    for (const FORMATETC& entry : std::span(got, 3))
      CHECK((entry.dwAspect == DVASPECT_CONTENT && entry.tymed == TYMED_HGLOBAL && entry.ptd == nullptr));
    CHECK(formats->Next(1, got, &fetched) == S_FALSE);
    CHECK(fetched == 0);

    // A clone starts where its original stands and then moves on its own.
    formats->Reset();
    formats->Skip(1);
    TComPtr<IEnumFORMATETC> clone;
    REQUIRE(formats->Clone(clone.Put()) == S_OK);
    CHECK(clone->Next(1, got, &fetched) == S_OK);
    CHECK(got[0].cfFormat == CF_HDROP);
    CHECK(clone->Next(1, got, &fetched) == S_OK);
    CHECK(got[0].cfFormat == CF_TEXT);
    CHECK(formats->Next(1, got, &fetched) == S_OK);
    CHECK(got[0].cfFormat == CF_HDROP);

    formats.Reset();
    CHECK(LiveComObjects() == before + 2);
    clone->Reset();
    CHECK(clone->Next(1, got, &fetched) == S_OK);
    CHECK(got[0].cfFormat == ShellIdListFormat());
  }
  CHECK(LiveComObjects() == before);
}

TEST_CASE("the drop source goes on while its button is held, drops when let go, cancels otherwise") {
  const TComPtr<IDropSource> right = Own<IDropSource>(new TDropSource(1));
  CHECK(right->QueryContinueDrag(FALSE, MK_RBUTTON | MK_SHIFT) == S_OK);
  CHECK(right->QueryContinueDrag(FALSE, MK_CONTROL) == DRAGDROP_S_DROP);
  CHECK(right->QueryContinueDrag(FALSE, MK_RBUTTON | MK_LBUTTON) == DRAGDROP_S_CANCEL);
  CHECK(right->QueryContinueDrag(TRUE, MK_RBUTTON) == DRAGDROP_S_CANCEL);
  CHECK(right->GiveFeedback(DROPEFFECT_COPY) == DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST_CASE("the drop target hands its calls to its client until it is told to forget it") {
  const long before = LiveComObjects();
  TRecordingClient client;
  auto* target = new TDropTarget(&client);
  TComPtr<IDropTarget> held = Own<IDropTarget>(target);
  const TComPtr<IDataObject> data = Own<IDataObject>(new TStubData(DV_E_FORMATETC));

  client.EffectOut = DROPEFFECT_MOVE;
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  CHECK(held->DragEnter(data.Get(), MK_LBUTTON | MK_SHIFT, POINTL{3, 4}, &effect) == S_OK);
  CHECK(client.Data == data.Get());
  CHECK(client.KeyState == (MK_LBUTTON | MK_SHIFT));
  CHECK((client.Point.x == 3 && client.Point.y == 4));
  CHECK(client.EffectIn == (DROPEFFECT_COPY | DROPEFFECT_MOVE));
  CHECK(effect == DROPEFFECT_MOVE);

  client.Answer = S_FALSE;
  client.EffectOut = DROPEFFECT_LINK;
  effect = kAllEffects;
  CHECK(held->DragOver(MK_RBUTTON, POINTL{5, 6}, &effect) == S_FALSE);
  CHECK((client.KeyState == MK_RBUTTON && client.Point.x == 5 && client.EffectIn == kAllEffects));
  CHECK(effect == DROPEFFECT_LINK);
  client.Answer = S_OK;
  CHECK(held->DragLeave() == S_OK);
  effect = DROPEFFECT_COPY;
  client.Data = nullptr;
  CHECK(held->Drop(data.Get(), 0, POINTL{7, 8}, &effect) == S_OK);
  CHECK((client.Data == data.Get() && client.Point.y == 8 && effect == DROPEFFECT_LINK));
  CHECK(client.Calls == "enter over leave drop ");
  CHECK(held->DragOver(0, POINTL{}, nullptr) == E_INVALIDARG);

  client.Throw = true;
  effect = DROPEFFECT_COPY;
  CHECK(held->DragEnter(data.Get(), 0, POINTL{}, &effect) == E_UNEXPECTED);
  CHECK(effect == DROPEFFECT_NONE);
  effect = DROPEFFECT_COPY;
  CHECK(held->Drop(data.Get(), 0, POINTL{}, &effect) == E_UNEXPECTED);
  CHECK(effect == DROPEFFECT_NONE);
  CHECK(held->DragLeave() == E_UNEXPECTED);

  client.Throw = false;
  client.Calls.clear();
  target->Forget();
  effect = DROPEFFECT_COPY;
  CHECK(held->DragEnter(data.Get(), MK_LBUTTON, POINTL{}, &effect) == S_OK);
  CHECK(effect == DROPEFFECT_NONE);
  effect = DROPEFFECT_COPY;
  CHECK(held->Drop(data.Get(), 0, POINTL{}, &effect) == S_OK);
  CHECK(effect == DROPEFFECT_NONE);
  CHECK(held->DragLeave() == S_OK);
  CHECK(client.Calls.empty());

  held.Reset();
  CHECK(LiveComObjects() == before + 1);
}

TEST_CASE("drop effects: all without an identifier-list array, none for a malformed one, else the shell's") {
  TComScope com;
  CHECK(DropEffectOf(Own<IDataObject>(new TStubData(DV_E_FORMATETC)).Get()) == kAllEffects);
  IStream* stream = nullptr;
  REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK);
  STGMEDIUM streamMedium{};
  streamMedium.tymed = TYMED_ISTREAM;
  streamMedium.pstm = stream;
  CHECK(DropEffectOf(Own<IDataObject>(new TStubData(S_OK, streamMedium)).Get()) == DROPEFFECT_NONE);

  TDraggedFolder dragged;
  ULONG asked = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
  LPCITEMIDLIST one = AsItemIdList(dragged.Item.Get());
  REQUIRE(dragged.Parent->GetAttributesOf(1, &one, &asked) == S_OK);
  const DWORD expected = asked & kAllEffects;
  CHECK(expected != DROPEFFECT_NONE);
  CHECK(DropEffectOf(dragged.Data.Get()) == expected);

  const TBytes intact = BuildIdListArray(IdListBytes(dragged.ParentList.Get()), {IdListBytes(dragged.Item.Get())});
  const auto effectOf = [](const TBytes& block) {
    const TComPtr<IDataObject> data = Own<IDataObject>(new TDataObject(TDragBlocks{block, {}, {}}));
    DWORD effect = 0xFF;
    CHECK_NOTHROW(effect = DropEffectOf(data.Get()));
    return effect;
  };
  CHECK(effectOf(intact) == expected);
  TBytes pastTheEnd = intact;
  const std::size_t beyond = intact.size() + 10;
  for (int index = 0; index < 4; ++index) pastTheEnd[8 + index] = static_cast<std::uint8_t>(beyond >> (8 * index));
  CHECK(effectOf(pastTheEnd) == DROPEFFECT_NONE);
  const TBytes truncated(intact.begin(), intact.end() - 3);
  CHECK(effectOf(truncated) == DROPEFFECT_NONE);
  TBytes hugeCount = intact;
  for (int index = 0; index < 4; ++index) hugeCount[index] = 0xFF;
  CHECK(effectOf(hugeCount) == DROPEFFECT_NONE);
}

namespace {

// Folders added to the user's Send To folder for one test; removed at the
// end with anything dropped into them, and the Send To folder too when the
// test made it.
class TSendToFolders {
public:
  explicit TSendToFolders(const std::vector<std::string>& names) {
    char path[MAX_PATH] = "";
    FMadeFolder = !SHGetSpecialFolderPathA(nullptr, path, kSendTo, FALSE) ||
                  GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
    REQUIRE(SHGetSpecialFolderPathA(nullptr, path, kSendTo, TRUE));
    FFolder = path;
    for (const std::string& name : names) {
      FAdded.push_back(Path(name));
      REQUIRE((CreateDirectoryA(Path(name).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS));
    }
  }
  ~TSendToFolders() {
    for (const std::string& folder : FAdded) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
      for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string path = folder + "\\" + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(path.c_str());
        else if (found.cFileName[0] != '.') RemoveDirectoryA(path.c_str());
      }
      if (search != INVALID_HANDLE_VALUE) FindClose(search);
      RemoveDirectoryA(folder.c_str());
    }
    if (FMadeFolder) RemoveDirectoryA(FFolder.c_str());
  }
  TSendToFolders(const TSendToFolders&) = delete;
  TSendToFolders& operator=(const TSendToFolders&) = delete;

  // Unique to this process, so that entries already there cannot be taken
  // for the test's own.
  static std::string Name(const std::string& name) {
    return "rtv" + std::to_string(GetCurrentProcessId()) + " " + name;
  }
  std::string Path(const std::string& name) const { return FFolder + "\\" + Name(name); }

private:
  std::string FFolder;
  std::vector<std::string> FAdded;
  bool FMadeFolder = false;
};

std::ptrdiff_t IndexOf(const std::vector<TSendToEntry>& entries, const std::string& name) {
  for (std::size_t index = 0; index < entries.size(); ++index)
    if (entries[index].Name == name) return static_cast<std::ptrdiff_t>(index);
  return -1;
}

}  // namespace

TEST_CASE("Send To entries come sorted by name regardless of case, cut at the limit, and take a drop") {
  TOleScope ole;
  // Made out of order; a case-sensitive sort would put "B" first.
  const TSendToFolders added({"c", "B", "a"});
  ShellIdList sendToList;
  REQUIRE(GetSpecialFolderIdList(nullptr, kSendTo, sendToList) == S_OK);

  std::vector<TSendToEntry> entries;
  REQUIRE(ReadSendToEntries(nullptr, 1000, entries) == S_OK);
  const std::ptrdiff_t a = IndexOf(entries, TSendToFolders::Name("a"));
  const std::ptrdiff_t b = IndexOf(entries, TSendToFolders::Name("B"));
  const std::ptrdiff_t c = IndexOf(entries, TSendToFolders::Name("c"));
  REQUIRE(a >= 0);
  CHECK(b == a + 1);
  CHECK(c == a + 2);
  for (const char* name : {"a", "B", "c"}) {
    const TSendToEntry& entry = entries[static_cast<std::size_t>(IndexOf(entries, TSendToFolders::Name(name)))];
    CHECK(IdListCount(entry.Item.Get()) == 1);
    const ShellIdList whole = ConcatIdLists(nullptr, sendToList.Get(), entry.Item.Get());
    CHECK(SameText(IdListToPath(whole.Get()), added.Path(name)));
    SHFILEINFOA byPath{};
    REQUIRE(SHGetFileInfoA(added.Path(name).c_str(), 0, &byPath, sizeof byPath, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    CHECK(entry.Icon == byPath.iIcon);
  }

  std::vector<TSendToEntry> cut;
  REQUIRE(ReadSendToEntries(nullptr, static_cast<std::size_t>(b + 1), cut) == S_OK);
  REQUIRE(cut.size() == static_cast<std::size_t>(b + 1));
  for (std::size_t index = 0; index < cut.size(); ++index) CHECK(cut[index].Name == entries[index].Name);
  REQUIRE(ReadSendToEntries(nullptr, 0, cut) == S_OK);
  CHECK(cut.empty());

  TDraggedFolder dragged;
  const TSendToEntry& target = entries[static_cast<std::size_t>(b)];
  auto* seen = new TStubData(dragged.Data.Get());
  const TComPtr<IDataObject> held = Own<IDataObject>(seen);
  CHECK(SendToFolderDrop(nullptr, target.Item.Get(), held.Get()) == S_OK);
  // Wine's folder target reads the block on entering and again on the drop.
  CHECK(std::count(seen->Read.begin(), seen->Read.end(), ShellIdListFormat()) >= 2);
}
