#include <doctest/doctest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "SafeSort.h"

using namespace retrove;

TEST_CASE("the safe sort orders as a stable sort does, and any answers at all still give a permutation") {
  std::mt19937 random(7);
  for (std::size_t count : {0u, 1u, 2u, 3u, 17u, 64u, 1000u}) {
    std::vector<std::pair<int, std::size_t>> items;
    for (std::size_t i = 0; i < count; ++i) items.emplace_back(static_cast<int>(random() % 5), i);
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };

    std::vector<std::pair<int, std::size_t>> expected = items;
    std::stable_sort(expected.begin(), expected.end(), byKey);
    std::vector<std::pair<int, std::size_t>> sorted = items;
    SafeStableSort(sorted, byKey);
    CHECK(sorted == expected);

    // A folder whose comparison contradicts itself: still every item once.
    std::vector<std::pair<int, std::size_t>> scrambled = items;
    SafeStableSort(scrambled, [&random](const auto&, const auto&) { return random() % 2 == 0; });
    std::sort(scrambled.begin(), scrambled.end());
    std::sort(items.begin(), items.end());
    CHECK(scrambled == items);
  }
}
