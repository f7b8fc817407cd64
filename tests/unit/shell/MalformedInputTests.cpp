#include <doctest/doctest.h>

#include <random>

#include "IdListArray.h"
#include "LocatorStream.h"
#include "TestLists.h"

using namespace retrove;
using namespace retrove::test;

namespace {

using Buffer = std::vector<std::uint8_t>;

// A zero-length buffer that is not "none" needs a data pointer of its own.
const std::uint8_t kSomewhere = 0;

std::span<const std::uint8_t> View(const Buffer& buffer) {
  return {buffer.empty() ? &kSomewhere : buffer.data(), buffer.size()};
}

Buffer Stream(std::int32_t statedSize, const Buffer& list) {
  const auto size = static_cast<std::uint32_t>(statedSize);
  Buffer data{0};
  for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<std::uint8_t>(size >> shift));
  for (std::uint8_t byte : list) data.push_back(byte);
  return data;
}

}  // namespace

TEST_CASE("lists that run past their buffer or hold a size of 1 are refused") {
  const Buffer cases[] = {
      {},                  // no terminator at all (a zero-length buffer, not none)
      {0},                 // half a terminator
      {6, 0, 1, 2},        // item longer than the buffer
      {4, 0, 1, 2},        // item fits, terminator missing
      {4, 0, 1, 2, 0},     // half a terminator after the item
      {1, 0, 0, 0},        // size 1
      {3, 0, 9, 1, 0, 0},  // size 1 after a good item
  };
  for (const Buffer& buffer : cases) {
    CAPTURE(buffer.size());
    // Copies on the heap have exactly their own size, so ASan sees any
    // read past the end.
    const Buffer exact = buffer;
    CHECK_THROWS_AS(IdListSize(View(exact)), EIdListError);
    CHECK_THROWS_AS(CopyIdList(nullptr, View(exact)), EIdListError);
    CHECK_THROWS_AS(ConcatIdLists(nullptr, View(exact), {}), EIdListError);
    CHECK_THROWS_AS(TNsIdListArray(View(exact)), EIdListError);
  }
  const Buffer sizeOne{1, 0, 0, 0};
  CHECK_THROWS_AS(IdListSize(sizeOne.data()), EIdListError);
}

TEST_CASE("locator streams with impossible sizes are refused before anything is allocated") {
  TCountingAllocator counter;
  const Buffer list = Items({4});
  const Buffer cases[] = {
      Stream(-1, list),
      Stream(INT32_MIN, list),
      Stream(0, {}),
      Stream(1, {0}),
      Stream(INT32_MAX, list),
      Stream(7, list),                // longer than the data
      Stream(5, list),                // shorter than the list
      Stream(8, Buffer{4, 0, 1, 2, 0, 0, 9, 9}),  // list ends early inside its stated size
      Stream(8, Buffer{9, 0, 1, 2, 3, 4, 0, 0}),  // item runs past the stated size
      Buffer{},
      Buffer{0, 8, 0, 0},             // size field cut short
      Buffer{1},                      // folder number missing
      Buffer{1, 2, 3},                // bytes left over
  };
  for (const Buffer& data : cases) {
    CAPTURE(data.size());
    CHECK_THROWS_AS(ReadLocatorStream(View(data), &counter), EIdListError);
  }
  CHECK(counter.Allocs == 0);
}

TEST_CASE("random garbage is refused or read, never read past") {
  std::mt19937 random(20240501);
  TCountingAllocator counter;
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    Buffer buffer(random() % 24);
    for (auto& byte : buffer) byte = static_cast<std::uint8_t>(random() % 8 == 0 ? 0 : random() % 12);
    try {
      const std::size_t size = IdListSize(View(buffer));
      CHECK(size <= buffer.size());
      TNsIdListArray levels(View(buffer), &counter);
      for (std::size_t i = 0; i < levels.Count(); ++i) CHECK(levels.Item(static_cast<int>(i)) != nullptr);
      CHECK(IdListSize(levels.Ancestor(0)) == size);
      ++accepted;
    } catch (const EIdListError&) {
    }
    Buffer stream{0};
    stream.insert(stream.end(), buffer.begin(), buffer.end());
    try {
      ReadLocatorStream(View(stream), &counter);
    } catch (const EIdListError&) {
    }
  }
  CHECK(accepted > 100);
  CHECK(counter.Live() == 0);
}
