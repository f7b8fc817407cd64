#include <doctest/doctest.h>

#include "FormatSettings.h"
#include "Nwtools.h"

using namespace retrove;

TEST_CASE("days in month of any day of the month") {
  CHECK(DaysInMonthOf(EncodeDate(1996, 2, 1)) == 29);
  CHECK(DaysInMonthOf(EncodeDate(1996, 2, 17)) == 29);
  CHECK(DaysInMonthOf(EncodeDate(1997, 2, 28)) == 28);
  CHECK(DaysInMonthOf(EncodeDate(1997, 12, 31)) == 31);
  CHECK(DayOfDate(EncodeDate(1997, 12, 31)) == 31);
  CHECK(MonthOfDate(EncodeDate(1997, 12, 31)) == 12);
}

TEST_CASE("trimming blanks and the client's padding characters") {
  CHECK(TrimBlanks("  F:\\DATA\\ ") == "F:\\DATA\\");
  CHECK(TrimBlanks(std::string("NAME\0", 5)) == "NAME");
  CHECK(TrimBlanks(std::string("A\x01\x02 ", 4)) == "A");
  CHECK(TrimBlanks("   ").empty());
  CHECK(TrimBlanks(std::string("\x01\x02", 2)) == std::string("\x01\x02", 2));
  CHECK(TrimBlanks("").empty());
  CHECK(LTrimSpaces("\t x") == "\t x");
  const std::string longText = std::string(300, ' ') + std::string(400, 'x') + std::string(300, ' ');
  CHECK(TrimBlanks(longText) == std::string(400, 'x'));
  CHECK(LeftChars("LETTERS", 3) == "LET");
  CHECK(LeftChars("AB", 5) == "AB");
  CHECK(LeftChars("AB", 0).empty());
  CHECK(LeftChars("AB", -2).empty());
}

TEST_CASE("replacing ignores case and covers every occurrence") {
  CHECK(ReplaceNoCase("F:\\DATA\\", "\\", "/") == "F:/DATA/");
  CHECK(ReplaceNoCase("aXbxc", "x", "-") == "a-b-c");
  CHECK(ReplaceNoCase("abc", "", "-") == "abc");
  CHECK(ReplaceNoCase("", "\\", "/").empty());
}

TEST_CASE("time and date texts") {
  CHECK(ShortTimeText(EncodeTime(0, 30, 0, 0)) == "12:30 a");
  CHECK(ShortTimeText(EncodeTime(13, 5, 0, 0)) == "01:05 p");
  CHECK(ShortTimeText(EncodeTime(12, 0, 0, 0)) == "12:00 p");
  CHECK(ShortTimeText(EncodeTime(11, 59, 59, 0)) == "11:59 a");

  const TDateTime value = EncodeDate(1997, 3, 4) + EncodeTime(9, 7, 0, 0);
  CHECK(LongDateText(value) == "March 4, 1997");
  CHECK(DateTimeText(value) == "March 4, 1997 09:07 a");

  const TFormatSettings saved = FormatSettings();
  TFormatSettings german = saved;
  german.LongDatePattern = "dddd, d. MMMM yyyy 'um'";
  german.LongMonthNames[2] = "M\xE4rz";
  german.LongDayNames[2] = "Dienstag";
  SetFormatSettings(german);
  CHECK(LongDateText(value) == "Dienstag, 4. M\xE4rz 1997 um");
  german.LongDatePattern = "dd/MM/yy ddd mmm";
  SetFormatSettings(german);
  CHECK(LongDateText(value) == "04/03/97 Tue Mar");
  german.LongDatePattern.clear();
  SetFormatSettings(german);
  CHECK(LongDateText(value) == "M\xE4rz 4, 1997");
  SetFormatSettings(saved);
}
