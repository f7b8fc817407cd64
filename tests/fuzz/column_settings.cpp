// The saved column texts are read back from the registry, where anything may
// have been written by hand or by another version.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ColumnSettingsText.h"
#include "FuzzCheck.h"

using namespace retrove;
using retrove::fuzz::Require;

namespace {

constexpr int kMostColumns = 40;

// Current widths include damaged ones, which a repair must keep as they are
// when the text gives nothing better.
std::vector<int> CurrentWidths(int columnCount, std::uint8_t seed) {
  std::vector<int> widths;
  for (int i = 0; i < columnCount; ++i) {
    switch ((seed + i) % 4) {
      case 0: widths.push_back(-1 - i); break;
      case 1: widths.push_back(kMaxColumnWidth + 1 + i); break;
      default: widths.push_back(i * 37); break;
    }
  }
  return widths;
}

void CheckOrder(std::string_view text, int columnCount) {
  const std::vector<int> order = RepairedColumnOrder(text, columnCount);
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < static_cast<int>(sorted.size()); ++i) Require(sorted[i] == i, "order is a permutation");
  Require(order.size() == static_cast<std::size_t>(std::max(columnCount, 0)), "order has one entry per column");
  Require(RepairedColumnOrder(ColumnListText(order), columnCount) == order, "a saved order reads back the same");
}

void CheckWidths(std::string_view text, const std::vector<int>& current) {
  const std::vector<int> widths = RepairedColumnWidths(text, current);
  Require(widths.size() == current.size(), "one width per column");
  for (std::size_t i = 0; i < widths.size(); ++i) {
    Require(widths[i] == current[i] || (widths[i] >= 0 && widths[i] <= kMaxColumnWidth),
            "a width is the current one or a sound one");
  }
  Require(RepairedColumnWidths(ColumnListText(widths), current) == widths, "saved widths read back the same");
}

}  // namespace

// The first byte chooses the column count (some of them negative) and the
// current widths; the rest is the stored text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int columnCount = data[0] % (kMostColumns + 3) - 2;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckOrder(text, columnCount);
  CheckWidths(text, CurrentWidths(std::max(columnCount, 0), data[0]));
  return 0;
}
