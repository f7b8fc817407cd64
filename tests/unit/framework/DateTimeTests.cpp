#include <doctest/doctest.h>

#include "DateTime.h"
#include "Exceptions.h"
#include "FormatSettings.h"

using namespace retrove;

TEST_CASE("dates count days from 30 December 1899") {
  struct Case {
    int year, month, day;
    double value;
  };
  const Case cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2},    {1900, 3, 1, 61},
      {1980, 1, 1, 29221}, {2000, 2, 29, 36585}, {1899, 12, 29, -1}, {2107, 12, 31, 75971},
  };
  for (const Case& c : cases) {
    CAPTURE(c.year);
    CAPTURE(c.month);
    CAPTURE(c.day);
    CHECK(EncodeDate(c.year, c.month, c.day) == doctest::Approx(c.value));
    const TDateParts back = DecodeDate(c.value);
    CHECK(back.Year == c.year);
    CHECK(back.Month == c.month);
    CHECK(back.Day == c.day);
  }
}

TEST_CASE("impossible dates and times are refused") {
  TDateTime value = 123;
  CHECK_FALSE(TryEncodeDate(1900, 2, 29, value));
  CHECK_FALSE(TryEncodeDate(2023, 13, 1, value));
  CHECK_FALSE(TryEncodeDate(2023, 4, 31, value));
  CHECK_FALSE(TryEncodeDate(0, 1, 1, value));
  CHECK_FALSE(TryEncodeTime(24, 0, 0, 0, value));
  CHECK_FALSE(TryEncodeTime(0, 60, 0, 0, value));
  CHECK(value == 123);
  CHECK_THROWS_AS(EncodeDate(2023, 2, 29), EConvertError);
  CHECK_THROWS_AS(EncodeTime(0, 0, 60, 0), EConvertError);
  CHECK(DaysInAMonth(2024, 2) == 29);
  CHECK(DaysInAMonth(2100, 2) == 28);
  CHECK(DaysInAMonth(2024, 0) == 0);
}

TEST_CASE("time of day is the fraction, rounded to the millisecond") {
  const TDateTime value = EncodeDateTime({1997, 6, 15}, {13, 45, 58, 250});
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  CHECK(date.Year == 1997);
  CHECK(date.Month == 6);
  CHECK(date.Day == 15);
  CHECK(time.Hour == 13);
  CHECK(time.Minute == 45);
  CHECK(time.Second == 58);
  CHECK(time.MilliSecond == 250);

  // Before the epoch the fraction still counts forward from midnight.
  const TDateTime before = EncodeDateTime({1899, 12, 29}, {6, 0, 0, 0});
  CHECK(before == doctest::Approx(-1.25));
  CHECK(DecodeTime(before).Hour == 6);
  CHECK(DecodeDate(before).Day == 29);

  // A rounding up to midnight belongs to the next day.
  const TDateTime almost = EncodeDate(2001, 12, 31) + 0.9999999999;
  CHECK(DecodeDate(almost).Year == 2002);
  CHECK(DecodeTime(almost).Hour == 0);
}

TEST_CASE("a time of day keeps the day of the week of its date, before 1900 too") {
  // 29 December 1899 was a Friday, 4 March 1997 a Tuesday.
  CHECK(DayOfWeekIndex(EncodeDate(1899, 12, 29)) == 5);
  CHECK(DayOfWeekIndex(EncodeDateTime({1899, 12, 29}, {18, 0, 0, 0})) == 5);
  CHECK(DayOfWeekIndex(EncodeDateTime({1997, 3, 4}, {23, 59, 0, 0})) == 2);
}

TEST_CASE("a time rounded up to midnight takes the next day's name with the next day's date") {
  // 4 March 1997 was a Tuesday; a value half a millisecond short of its end
  // is shown as Wednesday 5 March.
  const TDateTime almost = EncodeDate(1997, 3, 4) + 0.99999999999;
  CHECK(DecodeDate(almost).Day == 5);
  CHECK(DayOfWeekIndex(almost) == 3);
  // Before 1900 the day ends as the value's magnitude grows: 29 December
  // 1899, a Friday, rounds up to Saturday the 30th.
  const TDateTime early = EncodeDate(1899, 12, 29) - 0.99999999999;
  CHECK(DecodeDate(early).Day == 30);
  CHECK(DayOfWeekIndex(early) == 6);
}

TEST_CASE("the last millisecond of 9999 does not round into a year 10000") {
  // A fifth of a millisecond before midnight; doubles this large are
  // about 40 microseconds apart.
  const TDateTime last = EncodeDate(9999, 12, 31) + 0.999999998;
  REQUIRE(last < EncodeDate(9999, 12, 31) + 1);
  const TDateParts date = DecodeDate(last);
  CHECK(date.Year == 9999);
  CHECK(date.Month == 12);
  CHECK(date.Day == 31);
  const TTimeParts time = DecodeTime(last);
  CHECK(time.Hour == 23);
  CHECK(time.MilliSecond == 999);
  // Earlier years still carry the rounding into the next day.
  CHECK(DecodeDate(EncodeDate(9998, 12, 31) + 0.99999999999).Year == 9999);
}
