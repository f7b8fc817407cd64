#include "UNsShell95.h"

#include <cstring>
#include <new>
#include <utility>

#include "Handle.h"
#include "SysError.h"
#include "UNsShellUtils.h"

namespace retrove {

namespace {

static_assert(sizeof(DROPFILES) == kFileDropHeaderSize, "the file-drop header is the platform's record");

constexpr DWORD kAllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

std::atomic<long> gLiveComObjects{0};

struct TFreeGlobal {
  void operator()(HGLOBAL block) const { GlobalFree(block); }
};
using TGlobalHandle = TOwnedHandle<HGLOBAL, TFreeGlobal>;

// A global block locked for reading, unlocked once.
class TGlobalLock {
public:
  explicit TGlobalLock(HGLOBAL block) : FBlock(block), FData(static_cast<std::uint8_t*>(GlobalLock(block))) {}
  ~TGlobalLock() {
    if (FData) GlobalUnlock(FBlock);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;

  std::uint8_t* Data() const { return FData; }
  std::size_t Size() const { return FData ? GlobalSize(FBlock) : 0; }

private:
  HGLOBAL FBlock;
  std::uint8_t* FData;
};

// A medium from GetData, released once.
class TMediumScope {
public:
  TMediumScope() = default;
  ~TMediumScope() { ReleaseStgMedium(&Medium); }
  TMediumScope(const TMediumScope&) = delete;
  TMediumScope& operator=(const TMediumScope&) = delete;

  STGMEDIUM Medium{};
};

// A movable global copy of `block`, for a receiver to free.
HGLOBAL GlobalCopy(const TBytes& block) {
  TGlobalHandle copy(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, block.size()));
  if (!copy) return nullptr;
  {
    TGlobalLock lock(copy.Get());
    if (!lock.Data()) return nullptr;
    if (!block.empty()) std::memcpy(lock.Data(), block.data(), block.size());
  }
  return copy.Release();
}

FORMATETC ContentFormat(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

long LiveComObjects() {
  return gLiveComObjects.load();
}

void CountComObject(long change) {
  gLiveComObjects += change;
}

CLIPFORMAT ShellIdListFormat() {
  static const auto format = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Shell IDList Array"));
  return format;
}

TNsFormatEtcList::TNsFormatEtcList(const std::vector<CLIPFORMAT>& formats) {
  for (CLIPFORMAT format : formats) FEntries.push_back(ContentFormat(format));
}

TNsFormatEtcList::~TNsFormatEtcList() {
  for (FORMATETC& entry : FEntries) CoTaskMemFree(entry.ptd);
}

TNsFormatEtcList::TNsFormatEtcList(const TNsFormatEtcList& other) {
  FEntries.reserve(other.Count());
  for (std::size_t index = 0; index < other.Count(); ++index) {
    FORMATETC copy;
    if (!other.CopyEntry(index, copy)) throw std::bad_alloc();
    FEntries.push_back(copy);
  }
}

bool TNsFormatEtcList::CopyEntry(std::size_t index, FORMATETC& out) const {
  out = FEntries[index];
  const DVTARGETDEVICE* device = FEntries[index].ptd;
  if (!device) return true;
  out.ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(device->tdSize));
  if (!out.ptd) return false;
  std::memcpy(out.ptd, device, device->tdSize);
  return true;
}

TDragBlocks MakeDragBlocks(IShellFolder* parentFolder, const std::uint8_t* parentList,
                           const std::vector<const std::uint8_t*>& items) {
  std::vector<TByteView> itemBytes;
  std::vector<std::string> names;
  std::string text;
  for (const std::uint8_t* item : items) {
    itemBytes.push_back(IdListBytes(item));
    names.push_back(GetDisplayName(parentFolder, item, 2));
    if (!text.empty()) text += "\r\n";
    text += names.back();
  }
  return TDragBlocks{BuildIdListArray(IdListBytes(parentList), itemBytes), BuildFileDropBlock(names),
                     BuildTextBlock(text)};
}

TDataObject::TDataObject(TDragBlocks blocks)
    : FFormats({ShellIdListFormat(), CF_HDROP, CF_TEXT}), FBlocks(std::move(blocks)) {}

const TBytes* TDataObject::BlockOf(CLIPFORMAT format) const {
  if (format == ShellIdListFormat()) return &FBlocks.IdListArray;
  if (format == CF_HDROP) return &FBlocks.FileDrop;
  if (format == CF_TEXT) return &FBlocks.Text;
  return nullptr;
}

HRESULT TDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!medium) return E_POINTER;
  *medium = STGMEDIUM{};
  const HRESULT status = QueryGetData(format);
  if (status != S_OK) return status;
  const TBytes* block = BlockOf(format->cfFormat);
  if (!block) return DV_E_FORMATETC;
  HGLOBAL copy = GlobalCopy(*block);
  if (!copy) return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = copy;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT TDataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  if (format->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
  for (std::size_t index = 0; index < FFormats.Count(); ++index) {
    const FORMATETC& entry = FFormats.Entry(index);
    if (entry.cfFormat != format->cfFormat) continue;
    return (entry.tymed & format->tymed) ? S_OK : DV_E_TYMED;
  }
  return DV_E_FORMATETC;
}

HRESULT TDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT TDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  auto* created = new (std::nothrow) TEnumFormatEtc(this, FFormats);
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  *enumerator = created;
  return S_OK;
}

HRESULT CreateDataObject(IShellFolder* parentFolder, const std::uint8_t* parentList,
                         const std::vector<const std::uint8_t*>& items, TComPtr<IDataObject>& object) {
  try {
    auto* created = new TDataObject(MakeDragBlocks(parentFolder, parentList, items));
    created->AddRef();
    object.Reset(created);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

TEnumFormatEtc::TEnumFormatEtc(IUnknown* owner, const TNsFormatEtcList& formats, std::size_t position)
    : FOwner(owner), FFormats(formats), FCursor(formats.Count(), position) {
  FOwner->AddRef();
}

HRESULT TEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (count > 0 && !formats) return E_POINTER;
  const std::size_t first = FCursor.Position();
  const std::size_t copied = FCursor.Next(count);
  for (std::size_t index = 0; index < copied; ++index) {
    if (FFormats.CopyEntry(first + index, formats[index])) continue;
    for (std::size_t made = 0; made < index; ++made) CoTaskMemFree(formats[made].ptd);
    FCursor = TFormatCursor(FFormats.Count(), first);
    return E_OUTOFMEMORY;
  }
  if (fetched) *fetched = static_cast<ULONG>(copied);
  return copied == count ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(ULONG count) {
  return FCursor.Skip(count) ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Reset() {
  FCursor.Reset();
  return S_OK;
}

HRESULT TEnumFormatEtc::Clone(IEnumFORMATETC** copy) {
  if (!copy) return E_POINTER;
  *copy = nullptr;
  auto* created = new (std::nothrow) TEnumFormatEtc(FOwner.Get(), FFormats, FCursor.Position());
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  *copy = created;
  return S_OK;
}

HRESULT TDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  switch (NextDragStep(escapePressed != FALSE, keyState, FButton)) {
    case TDragStep::Continue:
      return S_OK;
    case TDragStep::Drop:
      return DRAGDROP_S_DROP;
    case TDragStep::Cancel:
      break;
  }
  return DRAGDROP_S_CANCEL;
}

namespace {

// Runs one client call; a missing client or a throwing call means no drop.
template <class TCall>
HRESULT CallClient(TNsDropClient* client, DWORD* effect, TCall call) {
  if (!effect) return E_INVALIDARG;
  if (!client) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  try {
    return call(*client);
  } catch (...) {
    *effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
}

}  // namespace

HRESULT TDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  return CallClient(FClient, effect,
                    [&](TNsDropClient& client) { return client.DragEnter(data, keyState, point, *effect); });
}

HRESULT TDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  return CallClient(FClient, effect, [&](TNsDropClient& client) { return client.DragOver(keyState, point, *effect); });
}

HRESULT TDropTarget::DragLeave() {
  if (!FClient) return S_OK;
  try {
    return FClient->DragLeave();
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  return CallClient(FClient, effect,
                    [&](TNsDropClient& client) { return client.Drop(data, keyState, point, *effect); });
}

DWORD DropEffectOf(IDataObject* data) {
  FORMATETC format = ContentFormat(ShellIdListFormat());
  TMediumScope medium;
  if (FAILED(data->GetData(&format, &medium.Medium))) return kAllEffects;
  if (medium.Medium.tymed != TYMED_HGLOBAL || !medium.Medium.hGlobal) return DROPEFFECT_NONE;
  TGlobalLock lock(medium.Medium.hGlobal);
  if (!lock.Data()) return DROPEFFECT_NONE;
  const auto block = ReadIdListArray(TByteView(lock.Data(), lock.Size()));
  if (!block) return DROPEFFECT_NONE;
  // The block's lists may sit at any offset; the shell is handed aligned copies.
  const ShellIdList parent = CopyIdList(nullptr, block->Parent);
  std::vector<ShellIdList> items;
  std::vector<LPCITEMIDLIST> itemPointers;
  for (TByteView item : block->Items) {
    items.push_back(CopyIdList(nullptr, item));
    if (!items.back()) throw std::bad_alloc();
    itemPointers.push_back(AsItemIdList(items.back().Get()));
  }
  if (!parent) throw std::bad_alloc();
  TComPtr<IShellFolder> folder;
  OleCheck(BindToFolder(parent.Get(), folder));
  ULONG attributes = kAllEffects;
  OleCheck(folder->GetAttributesOf(static_cast<UINT>(itemPointers.size()), itemPointers.data(), &attributes));
  return attributes & kAllEffects;
}

}  // namespace retrove
