#include <doctest/doctest.h>

#include <string>

#include "IdListArray.h"
#include "TestLists.h"

using namespace retrove;
using namespace retrove::test;

TEST_CASE("items and ancestors of a three-level list") {
  TCountingAllocator counter;
  const auto list = Items({3, 5, 1});
  {
    TNsIdListArray levels(list.data(), &counter);
    REQUIRE(levels.Count() == 3);
    CHECK(Bytes(levels.Item(0)) == Items({3}, 1));
    CHECK(Bytes(levels.Item(1)) == Items({5}, 4));
    CHECK(Bytes(levels.Item(2)) == Items({1}, 9));
    CHECK(Bytes(levels.Ancestor(0)) == list);
    CHECK(Bytes(levels.Ancestor(1)) == Items({3, 5}));
    CHECK(Bytes(levels.Ancestor(3)) == Items({}));
    CHECK(levels.Ancestor(4) == nullptr);
    CHECK(levels.Ancestor(-1) == nullptr);
    CHECK(Bytes(levels.Item(1)) == Items({5}, 4));
    // Each call freed the piece before it; only the last one is alive.
    CHECK(counter.Live() == 1);
  }
  CHECK(counter.Live() == 0);
}

TEST_CASE("an index outside the list is refused with the index in the message") {
  const auto list = Items({3, 5});
  TNsIdListArray levels(list.data());
  for (int index : {2, -1, 100}) {
    CAPTURE(index);
    try {
      levels.Item(index);
      FAIL("no exception");
    } catch (const EListError& e) {
      CHECK(e.Message() == "TNsIdListArray - index " + std::to_string(index) + " out of range");
    }
  }
  TNsIdListArray none(static_cast<const std::uint8_t*>(nullptr));
  CHECK(none.Count() == 0);
  CHECK_THROWS_AS(none.Item(0), EListError);
  CHECK(none.Ancestor(0) == nullptr);
}

TEST_CASE("the empty list has one empty item at 0 and nothing elsewhere") {
  const auto empty = Items({});
  TNsIdListArray levels(empty.data());
  CHECK(levels.Count() == 0);
  CHECK(Bytes(levels.Item(0)) == empty);
  CHECK(levels.Item(1) == nullptr);
  CHECK(Bytes(levels.Ancestor(0)) == empty);
  CHECK(levels.Ancestor(1) == nullptr);
}

TEST_CASE("the parent of a one-item list is the Desktop") {
  const auto list = Items({10});
  TNsIdListArray levels(list.data());
  CHECK(Bytes(levels.Ancestor(1)) == Items({}));
}
