#pragma once

// The small OLE objects of drag and drop: a data object that describes a
// dragged shell item in the shell's own formats, the enumerator of its
// formats, the drop source that ends a drag, and a drop target that hands
// its calls to a client which can be told to forget it.
//
// Every object starts with no reference; whoever makes one takes the first
// reference (TComPtr) and holds it for as long as OLE may call it. No C++
// exception leaves a COM method: a failure answers with a status and has no
// effect.

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "DragFormats.h"

namespace retrove {

// COM objects of this unit alive now; for leak checks.
long LiveComObjects();
void CountComObject(long change);

// Reference counting and QueryInterface for one interface.
template <class TInterface>
class TComObject : public TInterface {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == __uuidof(TInterface)) {
      AddRef();
      *object = static_cast<TInterface*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++FReferences); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --FReferences;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

protected:
  TComObject() { CountComObject(1); }
  virtual ~TComObject() { CountComObject(-1); }

private:
  std::atomic<long> FReferences{0};
};

// The clipboard format of "Shell IDList Array", registered on first use.
CLIPFORMAT ShellIdListFormat();

// Format entries for global memory and the whole content.
class TNsFormatEtcList {
public:
  explicit TNsFormatEtcList(const std::vector<CLIPFORMAT>& formats);
  ~TNsFormatEtcList();
  TNsFormatEtcList(const TNsFormatEtcList& other);
  TNsFormatEtcList& operator=(const TNsFormatEtcList&) = delete;

  std::size_t Count() const { return FEntries.size(); }
  const FORMATETC& Entry(std::size_t index) const { return FEntries[index]; }
  // A copy for a receiver, with its own target-device block (CoTaskMem);
  // false when that block cannot be made.
  bool CopyEntry(std::size_t index, FORMATETC& out) const;

private:
  std::vector<FORMATETC> FEntries;
};

// The blocks of one dragged item, prepared in full before the drag.
struct TDragBlocks {
  TBytes IdListArray;
  TBytes FileDrop;
  TBytes Text;
};
// The blocks for `items` of the folder `parentList` (none: the Desktop);
// the names are each item's parsing name in `parentFolder`.
TDragBlocks MakeDragBlocks(IShellFolder* parentFolder, const std::uint8_t* parentList,
                           const std::vector<const std::uint8_t*>& items);

// Offers the item in "Shell IDList Array", file-drop and text form.
class TDataObject final : public TComObject<IDataObject> {
public:
  explicit TDataObject(TDragBlocks blocks);

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
  const TBytes* BlockOf(CLIPFORMAT format) const;

  TNsFormatEtcList FFormats;
  TDragBlocks FBlocks;
};

// The data object for `items` of one folder, with one reference for the
// caller.
HRESULT CreateDataObject(IShellFolder* parentFolder, const std::uint8_t* parentList,
                         const std::vector<const std::uint8_t*>& items, TComPtr<IDataObject>& object);

// Walks a format list; keeps the list's owner alive while it exists.
class TEnumFormatEtc final : public TComObject<IEnumFORMATETC> {
public:
  TEnumFormatEtc(IUnknown* owner, const TNsFormatEtcList& formats, std::size_t position = 0);

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

private:
  TComPtr<IUnknown> FOwner;
  const TNsFormatEtcList& FFormats;
  TFormatCursor FCursor;
};

// Ends a drag when its button is let go; cancels it on Escape or another
// button.
class TDropSource final : public TComObject<IDropSource> {
public:
  // 0 left, 1 right, 2 middle.
  explicit TDropSource(int button) : FButton(DragButtonBit(button)) {}

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
  std::uint32_t FButton;
};

// What a drop target hands its calls to. Effects are in and out.
class TNsDropClient {
public:
  virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) = 0;
  virtual HRESULT DragOver(DWORD keyState, POINTL point, DWORD& effect) = 0;
  virtual HRESULT DragLeave() = 0;
  virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) = 0;

protected:
  ~TNsDropClient() = default;
};

// Hands drops to its client until told to forget it; afterwards, and when a
// client call throws, it answers "no drop".
class TDropTarget final : public TComObject<IDropTarget> {
public:
  explicit TDropTarget(TNsDropClient* client) : FClient(client) {}
  void Forget() { FClient = nullptr; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
  TNsDropClient* FClient;
};

// The effects all items of a dropped data object allow (copy, move, link):
// all three when it carries no "Shell IDList Array", none when that block
// is malformed. Throws EOSError when the items' folder or attributes cannot
// be read.
DWORD DropEffectOf(IDataObject* data);

}  // namespace retrove
