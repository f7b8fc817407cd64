// A list column can hold any text; its sort keys must still give one
// consistent order, and a text read as a date must be the date it reads as.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CellText.h"
#include "FuzzCheck.h"
#include "FuzzSettings.h"
#include "Nwtools.h"
#include "SortKeys.h"

using namespace retrove;
using retrove::fuzz::AllSettings;
using retrove::fuzz::Require;

namespace {

constexpr std::size_t kMostCells = 8;

std::vector<std::string_view> Cells(std::string_view text) {
  std::vector<std::string_view> cells;
  while (cells.size() + 1 < kMostCells) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) break;
    cells.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  cells.push_back(text);
  return cells;
}

void CheckDates(std::string_view cell, const TFormatSettings& settings) {
  const TDateTextReader reader(settings);
  TDateTime value = 0;
  if (reader.ReadListingDateTime(cell, value)) {
    Require(DateTimeText(value) == cell, "a listing date-time is written as it was read");
  }
  if (reader.ReadShortDate(cell, value)) {
    const std::string written = FormatDate(settings.ShortDatePattern, value, settings);
    TDateTime again = 0;
    Require(reader.ReadShortDate(written, again) && again == value, "a short date written reads back the same");
  }
}

void CheckKey(const TSortKey& key) {
  Require(CompareSortKeys(key, key) == 0, "no key sorts before itself");
  if (key.Class == TCellClass::Number || key.Class == TCellClass::DateTime) {
    Require(std::isfinite(key.Value), "a value key is finite");
  }
}

void CheckPair(const TSortKey& a, const TSortKey& b) {
  Require(CompareSortKeys(a, b) == -CompareSortKeys(b, a), "comparison is antisymmetric");
}

// Both the order and the equivalence of a strict weak order are transitive.
void CheckTriple(const TSortKey& a, const TSortKey& b, const TSortKey& c) {
  const int ab = CompareSortKeys(a, b);
  const int bc = CompareSortKeys(b, c);
  const int ac = CompareSortKeys(a, c);
  if (ab <= 0 && bc <= 0) Require(ac <= 0 && (ac < 0) == (ab < 0 || bc < 0), "comparison is transitive");
}

void CheckSorted(const std::vector<TSortKey>& keys) {
  const std::vector<std::size_t> rows = StableSortedRows(keys, true);
  std::vector<std::size_t> seen = rows;
  std::sort(seen.begin(), seen.end());
  for (std::size_t i = 0; i < seen.size(); ++i) Require(seen[i] == i, "sorted rows are a permutation");
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const int order = CompareSortKeys(keys[rows[i - 1]], keys[rows[i]]);
    Require(order < 0 || (order == 0 && rows[i - 1] < rows[i]), "rows are sorted, equal ones stably");
  }
}

}  // namespace

// The first byte chooses the format settings; the rest is up to eight cells
// split at line feeds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const TFormatSettings& settings = AllSettings()[data[0] % AllSettings().size()];
  SetFormatSettings(settings);
  const TSortKeyMaker maker(settings, BytewiseCollation);
  std::vector<TSortKey> keys;
  for (std::string_view cell : Cells(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1))) {
    CheckDates(cell, settings);
    keys.push_back(maker.KeyOf(cell));
    CheckKey(keys.back());
  }
  for (const TSortKey& a : keys) {
    for (const TSortKey& b : keys) {
      CheckPair(a, b);
      for (const TSortKey& c : keys) CheckTriple(a, b, c);
    }
  }
  CheckSorted(keys);
  return 0;
}
