#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "DateTime.h"
#include "FormatSettings.h"

namespace retrove {

// The kinds of cell text that the list sorts by value rather than as text.
// Each reader says whether the whole text is of its kind and sets the value
// only then.

// A decimal floating-point number: optional leading blanks, optional sign,
// digits, optional fraction after ".", optional exponent (E or e, optional
// sign, digits), nothing after. "." whatever the locale; no inf, nan, hex or
// digit grouping; a value beyond the range of a double is no number.
bool TextAsNumber(std::string_view text, double& value);

// Reads dates by one set of format settings, prepared once for many texts.
class TDateTextReader {
public:
  explicit TDateTextReader(const TFormatSettings& settings);

  // A date without time in the short date format: three unsigned numbers
  // split by the date separator, ordered as the short date pattern orders
  // day, month and year (month, day, year where the pattern does not say).
  // A year of one or two digits falls in 1950-2049; a longer one is taken
  // as written.
  bool ReadShortDate(std::string_view text, TDateTime& value) const;

  // The listing's date and time (the long date pattern, a blank, "hh:mm a"
  // or "hh:mm p" on a 12-hour clock), accepted only as it would be written:
  // a day name must be the date's own, a two-digit year falls in 1950-2049,
  // and a pattern without day, month or year reads nothing.
  bool ReadListingDateTime(std::string_view text, TDateTime& value) const;

private:
  bool ReadLongDate(std::string_view text, TDateParts& date) const;

  TFormatSettings FSettings;
  std::vector<TDatePatternPart> FLongDateParts;
  std::array<char, 3> FShortDateOrder;
};

}  // namespace retrove
