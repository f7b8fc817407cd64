#include <doctest/doctest.h>

#include "IdList.h"
#include "TestLists.h"

using namespace retrove;
using namespace retrove::test;

TEST_CASE("list sizes count every item and the terminator") {
  const auto empty = Items({});
  const auto two = Items({18, 12});
  CHECK(IdListSize(static_cast<const std::uint8_t*>(nullptr)) == 0);
  CHECK(IdListSize(empty.data()) == 2);
  CHECK(IdListSize(two.data()) == 36);
  CHECK(IdListCount(nullptr) == 0);
  CHECK(IdListCount(empty.data()) == 0);
  CHECK(IdListCount(two.data()) == 2);
  CHECK(IdListIsEmpty(nullptr));
  CHECK(IdListIsEmpty(empty.data()));
  CHECK_FALSE(IdListIsEmpty(two.data()));
}

TEST_CASE("a bounded size ignores bytes after the terminator") {
  auto list = Items({4});
  list.push_back(0xFF);
  CHECK(IdListSize(std::span<const std::uint8_t>(list)) == 8);
  CHECK(IdListSize(std::span<const std::uint8_t>()) == 0);
}

TEST_CASE("copies and joins have the items of their sources, from the given allocator") {
  TCountingAllocator counter;
  const auto first = Items({18, 12});
  const auto second = Items({5}, 100);
  {
    const ShellIdList copyOfNone = CopyIdList(&counter, static_cast<const std::uint8_t*>(nullptr));
    CHECK(Bytes(copyOfNone.Get()) == Items({}));
    const ShellIdList copy = CopyIdList(&counter, first.data());
    CHECK(Bytes(copy.Get()) == first);

    auto expected = first;
    expected.resize(expected.size() - 2);
    expected.insert(expected.end(), second.begin(), second.end());
    const ShellIdList joined = ConcatIdLists(&counter, first.data(), second.data());
    CHECK(Bytes(joined.Get()) == expected);

    const auto empty = Items({});
    CHECK(Bytes(ConcatIdLists(&counter, empty.data(), second.data()).Get()) == second);
    CHECK(Bytes(ConcatIdLists(&counter, second.data(), nullptr).Get()) == second);
    CHECK(Bytes(ConcatIdLists(&counter, nullptr, nullptr).Get()) == empty);
    CHECK(counter.Live() == 3);
  }
  CHECK(counter.Allocs == 6);
  CHECK(counter.Frees == 6);
  CHECK(counter.ForeignFrees == 0);
}

TEST_CASE("a failed allocation gives none") {
  TCountingAllocator counter;
  counter.FailNext = true;
  const auto list = Items({3});
  CHECK_FALSE(CopyIdList(&counter, list.data()));
  CHECK_FALSE(ConcatIdLists(&counter, list.data(), list.data()));
}

TEST_CASE("the process-wide allocator serves operations given none, and the holder frees to it") {
  TCountingAllocator counter;
  InstallShellAllocator(&counter);
  {
    const auto list = Items({7});
    ShellIdList copy = CopyIdList(nullptr, list.data());
    ShellIdList moved = std::move(copy);
    CHECK_FALSE(copy);
    CHECK(Bytes(moved.Get()) == list);
    void* raw = ShellAlloc(10);
    ShellFree(raw);
    ShellFree(nullptr);
    moved = CopyIdList(nullptr, list.data());
    CHECK(counter.Live() == 1);
  }
  InstallShellAllocator(nullptr);
  CHECK(counter.Allocs == 3);
  CHECK(counter.Frees == 3);
  CHECK(counter.ForeignFrees == 0);
}

TEST_CASE("a released list is no longer freed by its holder") {
  TCountingAllocator counter;
  const auto list = Items({2});
  std::uint8_t* raw = nullptr;
  {
    ShellIdList copy = CopyIdList(&counter, list.data());
    raw = copy.Release();
  }
  CHECK(counter.Live() == 1);
  counter.Free(raw);
  CHECK(counter.Live() == 0);
}
