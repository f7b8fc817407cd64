#include "FormatSettings.h"

namespace retrove {

namespace {

TFormatSettings& CurrentSettings() {
  static TFormatSettings settings;
  return settings;
}

size_t RunLength(const std::string& pattern, size_t start) {
  const char c = static_cast<char>(pattern[start] | 0x20);
  size_t end = start;
  while (end < pattern.size() && static_cast<char>(pattern[end] | 0x20) == c) ++end;
  return end - start;
}

std::string TwoDigits(int value) {
  const char digits[2] = {static_cast<char>('0' + value % 100 / 10), static_cast<char>('0' + value % 10)};
  return std::string(digits, 2);
}

std::string DayToken(size_t count, const TDateParts& date, TDateTime value, const TFormatSettings& settings) {
  if (count == 1) return std::to_string(date.Day);
  if (count == 2) return TwoDigits(date.Day);
  const int weekday = DayOfWeekIndex(value);
  return count == 3 ? settings.ShortDayNames[weekday] : settings.LongDayNames[weekday];
}

std::string MonthToken(size_t count, const TDateParts& date, const TFormatSettings& settings) {
  if (count == 1) return std::to_string(date.Month);
  if (count == 2) return TwoDigits(date.Month);
  return count == 3 ? settings.ShortMonthNames[date.Month - 1] : settings.LongMonthNames[date.Month - 1];
}

std::string YearToken(size_t count, const TDateParts& date) {
  if (count <= 2) return TwoDigits(date.Year);
  const std::string text = std::to_string(date.Year);
  return std::string(text.size() < 4 ? 4 - text.size() : 0, '0') + text;
}

}  // namespace

const TFormatSettings& FormatSettings() {
  return CurrentSettings();
}

void SetFormatSettings(const TFormatSettings& settings) {
  CurrentSettings() = settings;
}

int DayOfWeekIndex(TDateTime value) {
  // 30 December 1899 was a Saturday. The day is the one the date shows: a
  // time rounded up to midnight is on the next day's name too.
  const int64_t days = DayNumber(value);
  return static_cast<int>(((days + 6) % 7 + 7) % 7);
}

std::string EffectiveLongDatePattern(const TFormatSettings& settings) {
  return settings.LongDatePattern.empty() ? TFormatSettings{}.LongDatePattern : settings.LongDatePattern;
}

std::vector<TDatePatternPart> SplitDatePattern(const std::string& pattern) {
  std::vector<TDatePatternPart> parts;
  auto addLiteral = [&parts](const std::string& text, size_t start, size_t count) {
    if (parts.empty() || parts.back().Field != 0) parts.emplace_back();
    parts.back().Literal.append(text, start, count);
  };
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'' || c == '"') {
      const size_t close = pattern.find(c, i + 1);
      const size_t end = close == std::string::npos ? pattern.size() : close;
      addLiteral(pattern, i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    const char lower = static_cast<char>(c | 0x20);
    if (lower != 'd' && lower != 'm' && lower != 'y') {
      addLiteral(pattern, i, 1);
      ++i;
      continue;
    }
    const size_t count = RunLength(pattern, i);
    parts.push_back({lower, static_cast<int>(count > 4 ? 4 : count), {}});
    i += count;
  }
  return parts;
}

std::string FormatDate(const std::string& pattern, TDateTime value, const TFormatSettings& settings) {
  return FormatDate(SplitDatePattern(pattern), value, settings);
}

std::string FormatDate(const std::vector<TDatePatternPart>& parts, TDateTime value, const TFormatSettings& settings) {
  const TDateParts date = DecodeDate(value);
  std::string result;
  for (const TDatePatternPart& part : parts) {
    const auto count = static_cast<size_t>(part.Count);
    if (part.Field == 'd') result += DayToken(count, date, value, settings);
    if (part.Field == 'm') result += MonthToken(count, date, settings);
    if (part.Field == 'y') result += YearToken(count, date);
    if (part.Field == 0) result += part.Literal;
  }
  return result;
}

}  // namespace retrove
