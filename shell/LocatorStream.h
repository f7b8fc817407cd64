#pragma once

// The stream form "Pidl" of a folder reference: a kind byte; for kind 0 a
// 32-bit signed little-endian list size and the list with its terminator,
// for any other kind the special-folder number.

#include <cstdint>
#include <span>
#include <vector>

#include "IdList.h"

namespace retrove {

struct TLocatorStreamData {
  std::uint8_t Kind = 0;  // 0 = by list, 1 = by special-folder number
  std::uint8_t SpecialFolder = 0;
  ShellIdList IdList;  // kind 0 only
};

// Kind 0 writes `list` (none is written as the empty list).
std::vector<std::uint8_t> WriteLocatorStream(std::uint8_t kind, std::uint8_t specialFolder, const std::uint8_t* list);

// Raises EIdListError, taking nothing from the allocator, when `data` is not
// exactly one stream form: missing bytes, a stated size that is negative,
// below the terminator's or beyond the data, a list that does not fill its
// stated size exactly, or bytes left over. Any kind but 0 reads back as 1.
TLocatorStreamData ReadLocatorStream(std::span<const std::uint8_t> data, TIdListAllocator* allocator = nullptr);

}  // namespace retrove
