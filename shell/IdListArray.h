#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "IdList.h"

namespace retrove {

// A level-by-level view of one absolute identifier list. The wrapped list is
// borrowed and must outlive the view; it is checked once, at construction
// (EIdListError when malformed). Each Item or Ancestor call gives a new
// piece that the view owns until the next such call or its destruction.
class TNsIdListArray {
public:
  explicit TNsIdListArray(const std::uint8_t* list, TIdListAllocator* allocator = nullptr);
  explicit TNsIdListArray(std::span<const std::uint8_t> buffer, TIdListAllocator* allocator = nullptr);

  std::size_t Count() const { return FCount; }
  // The i-th item (0-based) as a one-item list. EListError with "TNsIdListArray
  // - index %d out of range" for none, i < 0 or i >= Count (of a non-empty
  // list). For the empty list, Item(0) is the empty list and any other index
  // gives none.
  const std::uint8_t* Item(int index);
  // The list of the first Count - levels items (Ancestor(1) is the parent);
  // none for none, for levels < 0 and for levels > Count.
  const std::uint8_t* Ancestor(int levels);

private:
  // Offset of the item at `index`, or of the terminator for index == Count.
  std::size_t OffsetOf(std::size_t index) const;

  std::span<const std::uint8_t> FList;
  std::size_t FCount = 0;
  TIdListAllocator* FAllocator;
  ShellIdList FPiece;
};

}  // namespace retrove
