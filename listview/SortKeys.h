#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "CellText.h"
#include "FormatSettings.h"

namespace retrove {

// A cell's text is classified once into a sort key; sorting then compares
// keys only. Cells of different classes sort by class, in this order: empty
// (a missing cell counts as empty), number, date-time, text — the way a file
// manager lists them, and the only way that stays a consistent order when a
// column mixes them ("9" < "10" as numbers, "10" < "10 KB" < "9" as texts).
enum class TCellClass : unsigned char { Empty, Number, DateTime, Text };

struct TSortKey {
  TCellClass Class = TCellClass::Empty;
  double Value = 0;       // a number, or a date-time as days on a time line
  std::string Collation;  // a text's collation key
};

// Text to bytes whose bytewise order is the order in which the user's locale
// sorts the texts.
using TCollation = std::function<std::string(std::string_view text)>;

// The text's own bytes: a collation for tests and for texts without a locale.
std::string BytewiseCollation(std::string_view text);

class TSortKeyMaker {
public:
  TSortKeyMaker(const TFormatSettings& settings, TCollation collation);

  // Numbers, short dates and the listing's date-times sort by value.
  TSortKey KeyOf(std::string_view cellText) const;

private:
  TDateTextReader FDates;
  TCollation FCollation;
};

// -1, 0 or +1; a strict weak order over keys of any classes.
int CompareSortKeys(const TSortKey& a, const TSortKey& b);

// The row indices 0..n-1 in the order of their keys; rows with equal keys
// keep their order, in either direction.
std::vector<size_t> StableSortedRows(const std::vector<TSortKey>& keys, bool ascending);

}  // namespace retrove
