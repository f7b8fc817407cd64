#pragma once

#include <cstdint>

namespace retrove {

// Days since 30 December 1899; the fraction is the time of day. Dates before
// that day are negative, their fraction still counting forwards from midnight.
using TDateTime = double;

inline constexpr int kHoursPerDay = 24;
inline constexpr int kMinutesPerDay = kHoursPerDay * 60;
inline constexpr int kSecondsPerDay = kMinutesPerDay * 60;
inline constexpr int kMSecsPerDay = kSecondsPerDay * 1000;

struct TDateParts {
  int Year = 0;
  int Month = 0;
  int Day = 0;
};

struct TTimeParts {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int MilliSecond = 0;
};

bool IsLeapYear(int year);
// 0 for a month outside 1-12.
int DaysInAMonth(int year, int month);

// Years 1-9999. The Try forms report an impossible date or time with false;
// the plain forms raise EConvertError.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int milliSecond);
TDateTime EncodeDateTime(const TDateParts& date, const TTimeParts& time);

// Rounded to the nearest millisecond; the last millisecond of 9999 is as
// late as a value gets.
int64_t DayNumber(TDateTime value);  // the day's whole part, after rounding
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);

}  // namespace retrove
