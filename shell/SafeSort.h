#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace retrove {

// A stable merge sort that stays inside the range whatever `less` answers.
// A shell folder's comparison is not always a strict weak order (it fails
// for some items, and a failure reads as "equal"); std::sort may then read
// past the ends, while this only ever chooses between two elements and so
// always gives a permutation of the input.
template <class T, class Less>
void SafeStableSort(std::vector<T>& items, Less less) {
  const std::size_t count = items.size();
  std::vector<T> merged(count);
  for (std::size_t width = 1; width < count; width *= 2) {
    for (std::size_t left = 0; left < count; left += 2 * width) {
      const std::size_t middle = std::min(left + width, count);
      const std::size_t right = std::min(left + 2 * width, count);
      std::size_t a = left;
      std::size_t b = middle;
      std::size_t out = left;
      while (a < middle && b < right) merged[out++] = std::move(less(items[b], items[a]) ? items[b++] : items[a++]);
      while (a < middle) merged[out++] = std::move(items[a++]);
      while (b < right) merged[out++] = std::move(items[b++]);
    }
    items.swap(merged);
  }
}

}  // namespace retrove
