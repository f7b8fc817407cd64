#include "IdList.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace retrove {

namespace {

class THeapAllocator final : public TIdListAllocator {
public:
  constexpr THeapAllocator() = default;
  void* Alloc(std::size_t size) override { return std::malloc(size); }
  void Free(void* block) noexcept override { std::free(block); }
};

// Constant-initialised, so that an allocator installed while other files
// are initialised is never overwritten afterwards.
constinit THeapAllocator gHeapAllocator;
constinit TIdListAllocator* gShellAllocator = &gHeapAllocator;

TIdListAllocator& Choose(TIdListAllocator* allocator) {
  return allocator ? *allocator : ShellAllocator();
}

[[noreturn]] void RaiseMalformed() {
  throw EIdListError("Malformed item identifier list");
}

// Size of the list at `list`, terminator included, reading no byte at or
// beyond `extent`.
std::size_t WalkIdList(const std::uint8_t* list, std::size_t extent) {
  std::size_t offset = 0;
  for (;;) {
    if (extent - offset < kIdListTerminatorSize) RaiseMalformed();
    const std::size_t itemSize = ReadItemSize(list + offset);
    if (itemSize == 0) return offset + kIdListTerminatorSize;
    if (itemSize < kIdListTerminatorSize || itemSize > extent - offset) RaiseMalformed();
    offset += itemSize;
  }
}

// A new list of `head`'s and `tail`'s item bytes (terminators excluded)
// followed by a terminator.
ShellIdList Join(TIdListAllocator& allocator, std::span<const std::uint8_t> head, std::span<const std::uint8_t> tail) {
  auto* list = static_cast<std::uint8_t*>(allocator.Alloc(head.size() + tail.size() + kIdListTerminatorSize));
  if (!list) return {};
  if (!head.empty()) std::memcpy(list, head.data(), head.size());
  if (!tail.empty()) std::memcpy(list + head.size(), tail.data(), tail.size());
  list[head.size() + tail.size()] = 0;
  list[head.size() + tail.size() + 1] = 0;
  return ShellIdList(list, &allocator);
}

// The item bytes of a list, without its terminator; empty for none.
std::span<const std::uint8_t> Items(std::span<const std::uint8_t> buffer) {
  const auto bytes = IdListBytes(buffer);
  return bytes.empty() ? bytes : bytes.first(bytes.size() - kIdListTerminatorSize);
}

}  // namespace

TIdListAllocator& ShellAllocator() {
  return *gShellAllocator;
}

void InstallShellAllocator(TIdListAllocator* allocator) {
  gShellAllocator = allocator ? allocator : &gHeapAllocator;
}

void* ShellAlloc(std::size_t size) {
  return ShellAllocator().Alloc(size);
}

void ShellFree(void* block) noexcept {
  if (block) ShellAllocator().Free(block);
}

ShellIdList::ShellIdList(ShellIdList&& other) noexcept
    : FList(std::exchange(other.FList, nullptr)), FAllocator(std::exchange(other.FAllocator, nullptr)) {}

ShellIdList& ShellIdList::operator=(ShellIdList&& other) noexcept {
  if (this != &other) Reset(other.Release(), std::exchange(other.FAllocator, nullptr));
  return *this;
}

std::uint8_t* ShellIdList::Release() {
  return std::exchange(FList, nullptr);
}

void ShellIdList::Reset(std::uint8_t* list, TIdListAllocator* allocator) noexcept {
  if (FList) Choose(FAllocator).Free(FList);
  FList = list;
  FAllocator = allocator;
}

std::span<const std::uint8_t> IdListBytes(const std::uint8_t* list) {
  if (!list) return {};
  return {list, WalkIdList(list, std::numeric_limits<std::size_t>::max())};
}

std::span<const std::uint8_t> IdListBytes(std::span<const std::uint8_t> buffer) {
  if (!buffer.data()) return {};
  return buffer.first(WalkIdList(buffer.data(), buffer.size()));
}

std::size_t IdListSize(const std::uint8_t* list) {
  return IdListBytes(list).size();
}

std::size_t IdListSize(std::span<const std::uint8_t> buffer) {
  return IdListBytes(buffer).size();
}

std::size_t IdListCount(const std::uint8_t* list) {
  const auto items = Items(IdListBytes(list));
  std::size_t count = 0;
  for (std::size_t offset = 0; offset < items.size(); offset += ReadItemSize(items.data() + offset)) ++count;
  return count;
}

bool IdListIsEmpty(const std::uint8_t* list) {
  return !list || ReadItemSize(list) == 0;
}

ShellIdList IdListFromItems(TIdListAllocator* allocator, std::span<const std::uint8_t> items) {
  return Join(Choose(allocator), items, {});
}

ShellIdList CopyIdList(TIdListAllocator* allocator, const std::uint8_t* list) {
  return CopyIdList(allocator, IdListBytes(list));
}

ShellIdList CopyIdList(TIdListAllocator* allocator, std::span<const std::uint8_t> buffer) {
  return Join(Choose(allocator), Items(buffer), {});
}

ShellIdList ConcatIdLists(TIdListAllocator* allocator, const std::uint8_t* first, const std::uint8_t* second) {
  return ConcatIdLists(allocator, IdListBytes(first), IdListBytes(second));
}

ShellIdList ConcatIdLists(TIdListAllocator* allocator, std::span<const std::uint8_t> first,
                          std::span<const std::uint8_t> second) {
  return Join(Choose(allocator), Items(first), Items(second));
}

}  // namespace retrove
