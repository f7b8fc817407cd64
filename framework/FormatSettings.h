#pragma once

#include <array>
#include <string>
#include <vector>

#include "DateTime.h"

namespace retrove {

// The user's date conventions, read from the locale when the program starts
// (the defaults are the English ones).
struct TFormatSettings {
  // Tokens: d dd ddd dddd, m/M mm/MM mmm/MMM mmmm/MMMM, yy yyyy; text in
  // single or double quotes is copied; anything else is copied as it is.
  std::string LongDatePattern = "mmmm d, yyyy";
  // Same tokens; only the order of day, month and year is used when reading.
  std::string ShortDatePattern = "M/d/yyyy";
  char DateSeparator = '/';
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
};

const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

// The settings' long date pattern, or the default one where the locale gave none.
std::string EffectiveLongDatePattern(const TFormatSettings& settings);

// One piece of a date pattern: a field, 'd', 'm' or 'y' with its letter
// count (1-4; longer runs count as 4), or literal text (Field 0).
struct TDatePatternPart {
  char Field = 0;
  int Count = 0;
  std::string Literal;
};

std::vector<TDatePatternPart> SplitDatePattern(const std::string& pattern);

// The date part of `value` laid out by a date pattern (tokens as above).
std::string FormatDate(const std::string& pattern, TDateTime value, const TFormatSettings& settings);
std::string FormatDate(const std::vector<TDatePatternPart>& parts, TDateTime value, const TFormatSettings& settings);

// 0 = Sunday.
int DayOfWeekIndex(TDateTime value);

}  // namespace retrove
