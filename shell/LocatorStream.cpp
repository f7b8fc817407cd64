#include "LocatorStream.h"

#include <new>

namespace retrove {

namespace {

constexpr std::size_t kSizeFieldBytes = 4;

[[noreturn]] void RaiseBadStream() {
  throw EIdListError("Invalid folder reference data");
}

std::int64_t ReadInt32(std::span<const std::uint8_t> at) {
  const std::uint32_t value = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
                              static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::vector<std::uint8_t> WriteLocatorStream(std::uint8_t kind, std::uint8_t specialFolder, const std::uint8_t* list) {
  if (kind != 0) return {kind, specialFolder};
  static constexpr std::uint8_t kEmptyList[kIdListTerminatorSize] = {0, 0};
  const auto bytes = IdListBytes(list ? list : kEmptyList);
  const auto size = static_cast<std::uint32_t>(bytes.size());
  std::vector<std::uint8_t> data{0, static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                 static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
  data.insert(data.end(), bytes.begin(), bytes.end());
  return data;
}

TLocatorStreamData ReadLocatorStream(std::span<const std::uint8_t> data, TIdListAllocator* allocator) {
  if (data.empty()) RaiseBadStream();
  TLocatorStreamData result;
  if (data[0] != 0) {
    if (data.size() != 2) RaiseBadStream();
    result.Kind = 1;
    result.SpecialFolder = data[1];
    return result;
  }
  const auto rest = data.subspan(1);
  if (rest.size() < kSizeFieldBytes) RaiseBadStream();
  const std::int64_t statedSize = ReadInt32(rest);
  const auto listBytes = rest.subspan(kSizeFieldBytes);
  if (statedSize < static_cast<std::int64_t>(kIdListTerminatorSize) ||
      static_cast<std::uint64_t>(statedSize) != listBytes.size())
    RaiseBadStream();
  if (IdListSize(listBytes) != listBytes.size()) RaiseBadStream();
  result.IdList = CopyIdList(allocator, listBytes);
  if (!result.IdList) throw std::bad_alloc();
  return result;
}

}  // namespace retrove
