#pragma once

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <set>
#include <vector>

#include "IdList.h"

namespace retrove::test {

// Counts what it hands out and takes back, and refuses to allocate when told.
class TCountingAllocator final : public TIdListAllocator {
public:
  void* Alloc(std::size_t size) override {
    if (FailNext) return nullptr;
    void* block = std::malloc(size);
    FLive.insert(block);
    ++Allocs;
    return block;
  }
  void Free(void* block) noexcept override {
    if (FLive.erase(block) == 1) ++Frees;
    else ++ForeignFrees;
    std::free(block);
  }
  std::size_t Live() const { return FLive.size(); }

  bool FailNext = false;
  int Allocs = 0;
  int Frees = 0;
  int ForeignFrees = 0;

private:
  std::set<void*> FLive;
};

// A list built from item payload sizes, each payload byte numbered so that
// items differ: Items({18, 12}) has items of sizes 20 and 14.
inline std::vector<std::uint8_t> Items(std::initializer_list<std::size_t> payloads, std::uint8_t seed = 1) {
  std::vector<std::uint8_t> list;
  for (std::size_t payload : payloads) {
    const std::size_t size = payload + 2;
    list.push_back(static_cast<std::uint8_t>(size));
    list.push_back(static_cast<std::uint8_t>(size >> 8));
    for (std::size_t i = 0; i < payload; ++i) list.push_back(seed++);
  }
  list.push_back(0);
  list.push_back(0);
  return list;
}

inline std::vector<std::uint8_t> Bytes(const std::uint8_t* list) {
  return std::vector<std::uint8_t>(list, list + IdListSize(list));
}

}  // namespace retrove::test
