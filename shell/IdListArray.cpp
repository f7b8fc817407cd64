#include "IdListArray.h"

#include <string>

namespace retrove {

TNsIdListArray::TNsIdListArray(const std::uint8_t* list, TIdListAllocator* allocator)
    : FList(IdListBytes(list)), FCount(IdListCount(list)), FAllocator(allocator) {}

TNsIdListArray::TNsIdListArray(std::span<const std::uint8_t> buffer, TIdListAllocator* allocator)
    : FList(IdListBytes(buffer)), FCount(IdListCount(FList.data())), FAllocator(allocator) {}

std::size_t TNsIdListArray::OffsetOf(std::size_t index) const {
  std::size_t offset = 0;
  for (std::size_t i = 0; i < index; ++i) offset += ReadItemSize(FList.data() + offset);
  return offset;
}

const std::uint8_t* TNsIdListArray::Item(int index) {
  FPiece.Reset();
  const bool known = FList.data() && index >= 0;
  if (!known || (FCount != 0 && static_cast<std::size_t>(index) >= FCount))
    throw EListError("TNsIdListArray - index " + std::to_string(index) + " out of range");
  if (FCount == 0) {
    if (index == 0) FPiece = CopyIdList(FAllocator, FList);
    return FPiece.Get();
  }
  const std::size_t offset = OffsetOf(static_cast<std::size_t>(index));
  FPiece = IdListFromItems(FAllocator, FList.subspan(offset, ReadItemSize(FList.data() + offset)));
  return FPiece.Get();
}

const std::uint8_t* TNsIdListArray::Ancestor(int levels) {
  FPiece.Reset();
  if (!FList.data() || levels < 0 || static_cast<std::size_t>(levels) > FCount) return nullptr;
  const std::size_t itemBytes = OffsetOf(FCount - static_cast<std::size_t>(levels));
  FPiece = IdListFromItems(FAllocator, FList.first(itemBytes));
  return FPiece.Get();
}

}  // namespace retrove
