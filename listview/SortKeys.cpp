#include "SortKeys.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace retrove {

namespace {

// A date-time before 30 December 1899 counts its time of day backwards from
// the day; on the time line every time of day counts forwards.
double TimeLine(TDateTime value) {
  const double day = std::trunc(value);
  return day + std::fabs(value - day);
}

template <typename T>
int Sign(const T& a, const T& b) {
  if (a < b) return -1;
  return b < a ? 1 : 0;
}

}  // namespace

std::string BytewiseCollation(std::string_view text) {
  return std::string(text);
}

TSortKeyMaker::TSortKeyMaker(const TFormatSettings& settings, TCollation collation)
    : FDates(settings), FCollation(std::move(collation)) {}

TSortKey TSortKeyMaker::KeyOf(std::string_view cellText) const {
  TSortKey key;
  if (cellText.empty()) return key;
  TDateTime date = 0;
  if (TextAsNumber(cellText, key.Value)) {
    key.Class = TCellClass::Number;
  } else if (FDates.ReadShortDate(cellText, date) || FDates.ReadListingDateTime(cellText, date)) {
    key.Class = TCellClass::DateTime;
    key.Value = TimeLine(date);
  } else {
    key.Class = TCellClass::Text;
    key.Collation = FCollation(cellText);
  }
  return key;
}

int CompareSortKeys(const TSortKey& a, const TSortKey& b) {
  if (a.Class != b.Class) return Sign(a.Class, b.Class);
  switch (a.Class) {
    case TCellClass::Number:
    case TCellClass::DateTime:
      return Sign(a.Value, b.Value);
    case TCellClass::Text:
      return Sign(a.Collation.compare(b.Collation), 0);
    case TCellClass::Empty:
      break;
  }
  return 0;
}

std::vector<size_t> StableSortedRows(const std::vector<TSortKey>& keys, bool ascending) {
  std::vector<size_t> rows(keys.size());
  std::iota(rows.begin(), rows.end(), size_t{0});
  const int before = ascending ? -1 : 1;
  std::stable_sort(rows.begin(), rows.end(),
                   [&keys, before](size_t a, size_t b) { return CompareSortKeys(keys[a], keys[b]) == before; });
  return rows;
}

}  // namespace retrove
