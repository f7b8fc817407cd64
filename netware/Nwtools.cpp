#include "Nwtools.h"

#include <ctime>

#include "FormatSettings.h"
#include "TextCompare.h"

namespace retrove {

std::string DateTimeText(TDateTime value) {
  return LongDateText(value) + " " + ShortTimeText(value);
}

std::string LongDateText(TDateTime value) {
  const TFormatSettings& settings = FormatSettings();
  return FormatDate(EffectiveLongDatePattern(settings), value, settings);
}

std::string ShortTimeText(TDateTime value) {
  const TTimeParts time = DecodeTime(value);
  int hour = time.Hour % 12;
  if (hour == 0) hour = 12;
  char text[16];
  text[0] = static_cast<char>('0' + hour / 10);
  text[1] = static_cast<char>('0' + hour % 10);
  text[2] = ':';
  text[3] = static_cast<char>('0' + time.Minute / 10);
  text[4] = static_cast<char>('0' + time.Minute % 10);
  text[5] = ' ';
  text[6] = time.Hour < 12 ? 'a' : 'p';
  return std::string(text, 7);
}

int DayOfDate(TDateTime value) {
  return DecodeDate(value).Day;
}

int MonthOfDate(TDateTime value) {
  return DecodeDate(value).Month;
}

int DaysInMonthOf(TDateTime value) {
  const TDateParts date = DecodeDate(value);
  return DaysInAMonth(date.Year, date.Month);
}

TDateTime WorkstationDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::string RTrimBlanks(const std::string& text) {
  for (size_t i = text.size(); i > 0; --i) {
    const auto c = static_cast<unsigned char>(text[i - 1]);
    if (c > 2 && c != ' ') return text.substr(0, i);
  }
  return text;
}

std::string LTrimSpaces(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimBlanks(const std::string& text) {
  return LTrimSpaces(RTrimBlanks(text));
}

std::string LeftChars(const std::string& text, int count) {
  if (count <= 0) return {};
  return text.substr(0, static_cast<size_t>(count));
}

std::string ReplaceNoCase(const std::string& text, const std::string& search, const std::string& replacement) {
  if (search.empty()) return text;
  const std::string wanted = UpperCase(search);
  std::string result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text.size() - i >= wanted.size() && UpperCase(std::string_view(text).substr(i, wanted.size())) == wanted) {
      result += replacement;
      i += wanted.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

}  // namespace retrove
