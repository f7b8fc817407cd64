#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace retrove {

// The texts of the saved column settings: "Sizes" holds each column's width
// in pixels, "Order" the display order (entry k is the column shown at
// position k from the left). Both are decimal integers joined by ",".

// Widths above this are taken for a damaged value, not for a wide column.
inline constexpr int kMaxColumnWidth = 10000;

// "100,100,250": no blanks, no trailing separator.
std::string ColumnListText(const std::vector<int>& values);

// Each entry that is a width from 0 to kMaxColumnWidth replaces the current
// width of its column; any other entry, a missing one or a column without an
// entry leaves the current width; entries beyond the columns are ignored.
std::vector<int> RepairedColumnWidths(std::string_view sizesText, std::vector<int> currentWidths);

// Always a permutation of 0..columnCount-1: the valid entries in their
// order (a column index, not seen before), then the columns they left out,
// ascending. An empty text gives 0, 1, ..., columnCount-1.
std::vector<int> RepairedColumnOrder(std::string_view orderText, int columnCount);

}  // namespace retrove
