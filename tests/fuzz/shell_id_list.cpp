// Identifier lists and folder references come back from the registry and
// from the shell as bytes; malformed ones must be refused, sound ones must
// survive every operation unchanged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "IdList.h"
#include "IdListArray.h"
#include "LocatorStream.h"
#include "TestLists.h"

using namespace retrove;
using retrove::fuzz::Require;
using retrove::test::TCountingAllocator;

namespace {

using Bytes = std::span<const std::uint8_t>;

bool Same(Bytes a, Bytes b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

Bytes ItemsOf(Bytes list) {
  return list.first(list.size() - kIdListTerminatorSize);
}

void CheckLocator(Bytes data) {
  TCountingAllocator counter;
  try {
    const TLocatorStreamData read = ReadLocatorStream(data, &counter);
    const std::vector<std::uint8_t> written = WriteLocatorStream(read.Kind, read.SpecialFolder, read.IdList.Get());
    if (data[0] <= 1) Require(Same(written, data), "a stream that reads writes back the same bytes");
    else Require(written == std::vector<std::uint8_t>{1, data[1]}, "any other kind writes back as kind 1");
  } catch (const EIdListError&) {
    Require(counter.Allocs == 0, "a refused stream takes nothing from the allocator");
  }
  Require(counter.Live() == 0, "every list read is freed");
}

// The view's items, one after another, are the list's items; each ancestor
// is the list cut after its level.
void CheckView(Bytes list) {
  TCountingAllocator counter;
  {
    TNsIdListArray view(list, &counter);
    Require(view.Count() == IdListCount(list.data()), "the view counts the list's items");
    std::vector<std::uint8_t> joined;
    for (std::size_t i = 0; i < view.Count(); ++i) {
      const Bytes item = IdListBytes(view.Item(static_cast<int>(i)));
      Require(IdListCount(item.data()) == 1, "an item is a one-item list");
      joined.insert(joined.end(), item.begin(), item.end() - kIdListTerminatorSize);
    }
    Require(Same(joined, ItemsOf(list)), "the items make up the list");
    for (std::size_t levels = 0; levels <= view.Count(); ++levels) {
      const Bytes ancestor = IdListBytes(view.Ancestor(static_cast<int>(levels)));
      Require(IdListCount(ancestor.data()) == view.Count() - levels, "an ancestor drops its levels");
      Require(Same(ItemsOf(ancestor), ItemsOf(list).first(ancestor.size() - kIdListTerminatorSize)),
              "an ancestor is the front of the list");
    }
  }
  Require(counter.Live() == 0, "every piece of the view is freed");
}

void CheckList(Bytes buffer) {
  Bytes list;
  try {
    list = IdListBytes(buffer);
  } catch (const EIdListError&) {
    return;
  }
  Require(list.data() == buffer.data() && list.size() == IdListSize(buffer), "a list is the front of its buffer");
  TCountingAllocator counter;
  {
    const ShellIdList copy = CopyIdList(&counter, buffer);
    Require(Same(IdListBytes(copy.Get()), list), "a copy has the same bytes");
    const ShellIdList twice = ConcatIdLists(&counter, list, list);
    Require(IdListCount(twice.Get()) == 2 * IdListCount(copy.Get()), "a list joined to itself has its items twice");
    const ShellIdList rebuilt = IdListFromItems(&counter, ItemsOf(list));
    Require(Same(IdListBytes(rebuilt.Get()), list), "a list rebuilt from its items is the same");
    CheckView(IdListBytes(copy.Get()));
  }
  Require(counter.Live() == 0, "every list made is freed");
}

}  // namespace

// The same bytes as a folder reference's stream form and as a list with
// whatever follows it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, size);
  if (size > 0) CheckLocator(bytes);
  CheckList(bytes);
  return 0;
}
