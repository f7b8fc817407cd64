#include <doctest/doctest.h>

#include "LocatorStream.h"
#include "TestLists.h"

using namespace retrove;
using namespace retrove::test;

TEST_CASE("a list locator streams as kind, size and list, and reads back the same") {
  const auto list = Items({18, 12});
  const auto data = WriteLocatorStream(0, 28, list.data());
  REQUIRE(data.size() == 1 + 4 + 36);
  CHECK(data[0] == 0);
  CHECK(data[1] == 36);
  CHECK(data[2] == 0);
  TCountingAllocator counter;
  {
    const TLocatorStreamData read = ReadLocatorStream(data, &counter);
    CHECK(read.Kind == 0);
    CHECK(Bytes(read.IdList.Get()) == list);
    CHECK(counter.Live() == 1);
  }
  CHECK(counter.Live() == 0);
}

TEST_CASE("a special-folder locator streams as two bytes; any kind but 0 reads back as 1") {
  CHECK(WriteLocatorStream(1, 17, nullptr) == std::vector<std::uint8_t>{1, 17});
  const std::vector<std::uint8_t> data{7, 5};
  const TLocatorStreamData read = ReadLocatorStream(data);
  CHECK(read.Kind == 1);
  CHECK(read.SpecialFolder == 5);
  CHECK_FALSE(read.IdList);
}

TEST_CASE("the Desktop streams as the empty list") {
  const auto data = WriteLocatorStream(0, 0, nullptr);
  CHECK(data == std::vector<std::uint8_t>{0, 2, 0, 0, 0, 0, 0});
  CHECK(Bytes(ReadLocatorStream(data).IdList.Get()) == Items({}));
}
