#include "DateTime.h"

#include <cmath>
#include <cstdint>

#include "Exceptions.h"

namespace retrove {

namespace {

// 1 January 1970 is day 25569; the civil calendar conversions below count
// days from 1 January 1970 (proleptic Gregorian calendar).
constexpr int64_t kUnixEpochDay = 25569;

int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

TDateParts CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
  return {year, month, day};
}

// 31 December 9999: a date-time rounded up past its midnight would be a
// date no encoding takes back.
constexpr int64_t kLastDay = 2958465;

// Splits a value into whole days and milliseconds of the day, carrying a
// rounding up to midnight into the following day (later in time, whatever
// the sign of the value).
void Split(TDateTime value, int64_t& days, int64_t& msecs) {
  days = static_cast<int64_t>(std::trunc(value));
  msecs = std::llround(std::fabs(value - std::trunc(value)) * kMSecsPerDay);
  if (msecs < kMSecsPerDay) return;
  if (days == kLastDay) {
    msecs = kMSecsPerDay - 1;
  } else {
    msecs -= kMSecsPerDay;
    ++days;
  }
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInAMonth(year, month)) return false;
  result = static_cast<TDateTime>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& result) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || milliSecond < 0 ||
      milliSecond >= 1000)
    return false;
  const int64_t msecs = ((int64_t{hour} * 60 + minute) * 60 + second) * 1000 + milliSecond;
  result = static_cast<TDateTime>(msecs) / kMSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result = 0;
  if (!TryEncodeDate(year, month, day, result)) throw EConvertError("Invalid argument to date encode");
  return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond) {
  TDateTime result = 0;
  if (!TryEncodeTime(hour, minute, second, milliSecond, result)) throw EConvertError("Invalid argument to time encode");
  return result;
}

TDateTime EncodeDateTime(const TDateParts& date, const TTimeParts& time) {
  const TDateTime day = EncodeDate(date.Year, date.Month, date.Day);
  const TDateTime fraction = EncodeTime(time.Hour, time.Minute, time.Second, time.MilliSecond);
  return day >= 0 ? day + fraction : day - fraction;
}

int64_t DayNumber(TDateTime value) {
  int64_t days = 0;
  int64_t msecs = 0;
  Split(value, days, msecs);
  return days;
}

TDateParts DecodeDate(TDateTime value) {
  return CivilFromDays(DayNumber(value) - kUnixEpochDay);
}

TTimeParts DecodeTime(TDateTime value) {
  int64_t days = 0;
  int64_t msecs = 0;
  Split(value, days, msecs);
  TTimeParts parts;
  parts.MilliSecond = static_cast<int>(msecs % 1000);
  parts.Second = static_cast<int>(msecs / 1000 % 60);
  parts.Minute = static_cast<int>(msecs / 60000 % 60);
  parts.Hour = static_cast<int>(msecs / 3600000);
  return parts;
}

}  // namespace retrove
