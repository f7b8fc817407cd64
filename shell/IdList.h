#pragma once

// The byte format of the shell's item-identifier lists and the operations on
// it that need no shell: a list is a run of items, each a 16-bit
// little-endian size (counting its own two bytes) and opaque data, ended by
// a 16-bit zero. The empty list (the terminator alone) is the Desktop; a
// missing list (null) is "none".
//
// Malformed input is refused with EIdListError, never read past: an item
// size of 1, or an item or the terminator running past the end of the
// buffer. Operations that take a span check the list against it; the
// pointer forms are for lists that came from the shell or from these
// operations (they still refuse a size of 1), and are meant for nothing else.

#include <cstddef>
#include <cstdint>
#include <span>

#include "Exceptions.h"

namespace retrove {

class EIdListError : public Exception {
  using Exception::Exception;
};

// Where identifier lists come from and go back to. Alloc gives null when
// it cannot allocate.
class TIdListAllocator {
public:
  virtual void* Alloc(std::size_t size) = 0;
  virtual void Free(void* block) noexcept = 0;

protected:
  ~TIdListAllocator() = default;
};

// The process-wide allocator of identifier lists: the shell's task
// allocator once the Windows shell layer is linked in (it installs itself
// at start-up), the C heap until then and in portable builds.
TIdListAllocator& ShellAllocator();
// Replaces the process-wide allocator; null puts the C heap back. Meant
// for start-up and for tests, before any list exists.
void InstallShellAllocator(TIdListAllocator* allocator);

void* ShellAlloc(std::size_t size);
void ShellFree(void* block) noexcept;

// The one owner of an identifier list: frees it to the allocator it came
// from. Move-only; a borrowed list is a plain `const std::uint8_t*`.
class ShellIdList {
public:
  ShellIdList() = default;
  // Takes over `list`, which `allocator` (null: the process-wide one) gave.
  explicit ShellIdList(std::uint8_t* list, TIdListAllocator* allocator = nullptr)
      : FList(list), FAllocator(allocator) {}
  ~ShellIdList() { Reset(); }
  ShellIdList(ShellIdList&& other) noexcept;
  ShellIdList& operator=(ShellIdList&& other) noexcept;
  ShellIdList(const ShellIdList&) = delete;
  ShellIdList& operator=(const ShellIdList&) = delete;

  const std::uint8_t* Get() const { return FList; }
  std::uint8_t* Get() { return FList; }
  explicit operator bool() const { return FList != nullptr; }
  // Gives up ownership; the caller frees the list to the same allocator.
  std::uint8_t* Release();
  void Reset(std::uint8_t* list = nullptr, TIdListAllocator* allocator = nullptr) noexcept;

private:
  std::uint8_t* FList = nullptr;
  TIdListAllocator* FAllocator = nullptr;
};

constexpr std::size_t kIdListTerminatorSize = 2;

// Bytes of the list including its terminator; 0 for none.
std::size_t IdListSize(const std::uint8_t* list);
// The same for the list at the start of `buffer` (extra bytes after the
// terminator are allowed); 0 when buffer.data() is null (none).
std::size_t IdListSize(std::span<const std::uint8_t> buffer);

// Number of items before the terminator; 0 for none and the empty list.
std::size_t IdListCount(const std::uint8_t* list);

// A new list with the items of `list`; for none, the empty list. Null when
// the allocation fails. A null allocator means the process-wide one.
ShellIdList CopyIdList(TIdListAllocator* allocator, const std::uint8_t* list);
ShellIdList CopyIdList(TIdListAllocator* allocator, std::span<const std::uint8_t> buffer);

// A new list with the items of `first`, then those of `second`; either may
// be none. Null when the allocation fails.
ShellIdList ConcatIdLists(TIdListAllocator* allocator, const std::uint8_t* first, const std::uint8_t* second);
ShellIdList ConcatIdLists(TIdListAllocator* allocator, std::span<const std::uint8_t> first,
                          std::span<const std::uint8_t> second);

// A new list of `items` (whole items taken from a checked list, no
// terminator) and a terminator. Null when the allocation fails.
ShellIdList IdListFromItems(TIdListAllocator* allocator, std::span<const std::uint8_t> items);

// The exact bytes of a list, terminator included; an empty span with a null
// data pointer for none. This is how a pointer form checks its list once.
std::span<const std::uint8_t> IdListBytes(const std::uint8_t* list);
std::span<const std::uint8_t> IdListBytes(std::span<const std::uint8_t> buffer);

// The 16-bit little-endian item size at `at`.
inline std::size_t ReadItemSize(const std::uint8_t* at) {
  return static_cast<std::size_t>(at[0]) | static_cast<std::size_t>(at[1]) << 8;
}

// Whether the list has no items (none counts as empty).
bool IdListIsEmpty(const std::uint8_t* list);

}  // namespace retrove
