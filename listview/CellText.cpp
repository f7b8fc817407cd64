#include "CellText.h"

#include <charconv>
#include <system_error>

namespace retrove {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t DigitRun(std::string_view text, size_t start) {
  size_t end = start;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - start;
}

bool IsSign(std::string_view text, size_t at) {
  return at < text.size() && (text[at] == '+' || text[at] == '-');
}

// Where the number that starts at `start` ends, or npos when the grammar
// does not hold there.
size_t NumberEnd(std::string_view text, size_t start) {
  size_t i = start + (IsSign(text, start) ? 1 : 0);
  const size_t wholeDigits = DigitRun(text, i);
  i += wholeDigits;
  size_t fractionDigits = 0;
  if (i < text.size() && text[i] == '.') {
    fractionDigits = DigitRun(text, i + 1);
    i += 1 + fractionDigits;
  }
  if (wholeDigits + fractionDigits == 0) return std::string_view::npos;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (IsSign(text, i)) ++i;
    const size_t exponentDigits = DigitRun(text, i);
    if (exponentDigits == 0) return std::string_view::npos;
    i += exponentDigits;
  }
  return i;
}

// Two-digit years keep sorted dates near the present: 50-99 are the 1900s.
int WindowedYear(int year) {
  return year < 50 ? 2000 + year : 1900 + year;
}

// Walks a text from the left, taking the expected pieces off its front.
class TTextCursor {
public:
  explicit TTextCursor(std::string_view text) : FRest(text) {}

  bool AtEnd() const { return FRest.empty(); }

  bool Skip(std::string_view literal) {
    if (FRest.substr(0, literal.size()) != literal) return false;
    FRest.remove_prefix(literal.size());
    return true;
  }

  bool Digits(size_t least, size_t most, int& value, size_t& count) {
    count = DigitRun(FRest.substr(0, most), 0);
    if (count < least) return false;
    value = 0;
    for (size_t i = 0; i < count; ++i) value = value * 10 + (FRest[i] - '0');
    FRest.remove_prefix(count);
    return true;
  }

  bool Digits(size_t least, size_t most, int& value) {
    size_t count = 0;
    return Digits(least, most, value, count);
  }

  // The longest of the names that the text starts with; `index` is 1-based.
  template <size_t N>
  bool Name(const std::array<std::string, N>& names, int& index) {
    size_t longest = 0;
    for (size_t i = 0; i < N; ++i) {
      if (names[i].size() > longest && FRest.substr(0, names[i].size()) == names[i]) {
        longest = names[i].size();
        index = static_cast<int>(i) + 1;
      }
    }
    FRest.remove_prefix(longest);
    return longest > 0;
  }

private:
  std::string_view FRest;
};

bool ReadYear(TTextCursor& cursor, size_t least, size_t most, int& year) {
  size_t count = 0;
  if (!cursor.Digits(least, most, year, count)) return false;
  if (count <= 2) year = WindowedYear(year);
  return true;
}

bool ReadLongDateField(const TDatePatternPart& part, const TFormatSettings& settings, TTextCursor& cursor,
                       TDateParts& date) {
  int dayName = 0;
  switch (part.Field) {
    case 'd':
      if (part.Count == 3) return cursor.Name(settings.ShortDayNames, dayName);
      if (part.Count == 4) return cursor.Name(settings.LongDayNames, dayName);
      return cursor.Digits(static_cast<size_t>(part.Count), 2, date.Day);
    case 'm':
      if (part.Count == 3) return cursor.Name(settings.ShortMonthNames, date.Month);
      if (part.Count == 4) return cursor.Name(settings.LongMonthNames, date.Month);
      return cursor.Digits(static_cast<size_t>(part.Count), 2, date.Month);
    case 'y':
      return part.Count <= 2 ? ReadYear(cursor, 2, 2, date.Year) : ReadYear(cursor, 4, 4, date.Year);
    default:
      return cursor.Skip(part.Literal);
  }
}

// "hh:mm a" / "hh:mm p": 12 is the hour after midnight or noon.
bool ReadShortTime(std::string_view text, TTimeParts& time) {
  TTextCursor cursor(text);
  int hour = 0;
  int minute = 0;
  if (!cursor.Digits(2, 2, hour) || !cursor.Skip(":") || !cursor.Digits(2, 2, minute) || !cursor.Skip(" ")) {
    return false;
  }
  const bool morning = cursor.Skip("a");
  if ((!morning && !cursor.Skip("p")) || !cursor.AtEnd() || hour < 1 || hour > 12 || minute > 59) return false;
  time.Hour = hour % 12 + (morning ? 0 : 12);
  time.Minute = minute;
  return true;
}

std::array<char, 3> FieldOrder(const std::string& pattern) {
  std::array<char, 3> order{};
  size_t found = 0;
  for (const TDatePatternPart& part : SplitDatePattern(pattern)) {
    bool seen = false;
    for (size_t i = 0; i < found; ++i) seen = seen || order[i] == part.Field;
    if (part.Field != 0 && !seen && found < order.size()) order[found++] = part.Field;
  }
  return found == order.size() ? order : std::array<char, 3>{'m', 'd', 'y'};
}

}  // namespace

bool TextAsNumber(std::string_view text, double& value) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos || NumberEnd(text, start) != text.size()) return false;
  // from_chars takes no plus sign.
  const size_t first = text[start] == '+' ? start + 1 : start;
  double result = 0;
  const auto [end, error] = std::from_chars(text.data() + first, text.data() + text.size(), result);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = result;
  return true;
}

TDateTextReader::TDateTextReader(const TFormatSettings& settings)
    : FSettings(settings),
      FLongDateParts(SplitDatePattern(EffectiveLongDatePattern(settings))),
      FShortDateOrder(FieldOrder(settings.ShortDatePattern)) {}

bool TDateTextReader::ReadShortDate(std::string_view text, TDateTime& value) const {
  TTextCursor cursor(text);
  TDateParts date;
  const std::string_view separator(&FSettings.DateSeparator, 1);
  for (size_t i = 0; i < FShortDateOrder.size(); ++i) {
    if (i > 0 && !cursor.Skip(separator)) return false;
    const char field = FShortDateOrder[i];
    const bool read = field == 'y'   ? ReadYear(cursor, 1, 4, date.Year)
                      : field == 'm' ? cursor.Digits(1, 2, date.Month)
                                     : cursor.Digits(1, 2, date.Day);
    if (!read) return false;
  }
  return cursor.AtEnd() && TryEncodeDate(date.Year, date.Month, date.Day, value);
}

bool TDateTextReader::ReadListingDateTime(std::string_view text, TDateTime& value) const {
  constexpr size_t kTimeLength = 7;  // "hh:mm a"
  if (text.size() <= kTimeLength || text[text.size() - kTimeLength - 1] != ' ') return false;
  TTimeParts time;
  TDateParts date;
  if (!ReadShortTime(text.substr(text.size() - kTimeLength), time)) return false;
  if (!ReadLongDate(text.substr(0, text.size() - kTimeLength - 1), date)) return false;
  value = EncodeDateTime(date, time);
  return true;
}

// Reads the fields, then writes the date again: only a text that comes back
// the same (names, padding, the day of the week) is the listing's own.
bool TDateTextReader::ReadLongDate(std::string_view text, TDateParts& date) const {
  TTextCursor cursor(text);
  for (const TDatePatternPart& part : FLongDateParts) {
    if (!ReadLongDateField(part, FSettings, cursor, date)) return false;
  }
  TDateTime value = 0;
  return cursor.AtEnd() && TryEncodeDate(date.Year, date.Month, date.Day, value) &&
         FormatDate(FLongDateParts, value, FSettings) == text;
}

}  // namespace retrove
