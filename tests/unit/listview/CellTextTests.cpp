#include <doctest/doctest.h>

#include <string>

#include "CellText.h"
#include "Nwtools.h"
#include "ScopedFormatSettings.h"

using namespace retrove;

namespace {

constexpr double kUnset = -12345;

bool ReadsShortDate(const TFormatSettings& settings, const std::string& text, TDateTime expected) {
  TDateTime value = kUnset;
  return TDateTextReader(settings).ReadShortDate(text, value) && value == expected;
}

bool IsShortDate(const TFormatSettings& settings, const std::string& text) {
  TDateTime value = kUnset;
  const bool read = TDateTextReader(settings).ReadShortDate(text, value);
  CHECK((read || value == kUnset));
  return read;
}

bool IsListingDateTime(const TFormatSettings& settings, const std::string& text) {
  TDateTime value = kUnset;
  const bool read = TDateTextReader(settings).ReadListingDateTime(text, value);
  CHECK((read || value == kUnset));
  return read;
}

// Every month, both halves of the day with their twelve o'clocks.
void CheckListingTextsReadBack(const TFormatSettings& settings, int year) {
  const ScopedFormatSettings scope(settings);
  const TDateTextReader reader(settings);
  const TTimeParts times[] = {{0, 0, 0, 0}, {0, 30, 0, 0}, {9, 7, 0, 0}, {12, 0, 0, 0}, {13, 5, 0, 0}, {23, 59, 0, 0}};
  for (int month = 1; month <= 12; ++month) {
    for (const TTimeParts& time : times) {
      const TDateTime written = EncodeDateTime({year, month, 28 - month}, time);
      const std::string text = DateTimeText(written);
      CAPTURE(text);
      TDateTime read = kUnset;
      CHECK(reader.ReadListingDateTime(text, read));
      CHECK(read == written);
    }
  }
}

}  // namespace

TEST_CASE("whole decimal numbers are numbers, whatever their size") {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"0", 0},    {"42", 42}, {"-7", -7},  {"+3.5", 3.5},     {"   12", 12},                 {"1e3", 1000},
      {".5", 0.5}, {"5.", 5},  {"-0.0", 0}, {"2.5E-2", 0.025}, {"2147483648", 2147483648.0}, {"3000000000", 3e9},
      {"4294967295", 4294967295.0},
  };
  for (const Case& c : cases) {
    CAPTURE(c.text);
    double value = kUnset;
    CHECK(TextAsNumber(c.text, value));
    CHECK(value == c.value);
  }
}

TEST_CASE("anything else is no number") {
  const std::string texts[] = {"",      " ",   "+",     "-",        ".",        "-.",  "1,234", "0x1F", "1p3",
                               "inf",   "nan", "-inf",  "infinity", "1e",       "1e+", "12 ",   "12a",  "1..2",
                               "1.2.3", "- 5", "1e999", "10 KB",    "3/4/1997", "++1", "1e2.5", "\t5"};
  for (const std::string& text : texts) {
    CAPTURE(text);
    double value = kUnset;
    CHECK_FALSE(TextAsNumber(text, value));
    CHECK(value == kUnset);
  }
}

TEST_CASE("short dates follow the order and separator of the user's format") {
  const TFormatSettings english;
  CHECK(ReadsShortDate(english, "3/4/1997", EncodeDate(1997, 3, 4)));
  CHECK(ReadsShortDate(english, "03/04/1997", EncodeDate(1997, 3, 4)));
  CHECK(ReadsShortDate(english, "2/29/2000", EncodeDate(2000, 2, 29)));
  CHECK(ReadsShortDate(english, "12/31/99", EncodeDate(1999, 12, 31)));
  CHECK(ReadsShortDate(english, "1/1/50", EncodeDate(1950, 1, 1)));
  CHECK(ReadsShortDate(english, "1/1/49", EncodeDate(2049, 1, 1)));
  CHECK(ReadsShortDate(english, "1/1/00", EncodeDate(2000, 1, 1)));

  const TFormatSettings german = GermanSettings();
  CHECK(ReadsShortDate(german, "4.3.1997", EncodeDate(1997, 3, 4)));
  CHECK(ReadsShortDate(german, "31.12.1997", EncodeDate(1997, 12, 31)));
  CHECK_FALSE(IsShortDate(german, "3/4/1997"));

  TFormatSettings iso;
  iso.ShortDatePattern = "yyyy-MM-dd";
  iso.DateSeparator = '-';
  CHECK(ReadsShortDate(iso, "1997-03-04", EncodeDate(1997, 3, 4)));
  CHECK_FALSE(IsShortDate(iso, "03-04-1997"));
}

TEST_CASE("impossible or incomplete short dates are not dates") {
  const TFormatSettings english;
  const std::string texts[] = {"2/30/2000",  "2/29/1900", "13/1/2000",      "0/1/2000",  "1/0/2000", "3/4",
                               "3/4/1997/1", "3-4-1997",  "3/4/1997 10:00", " 3/4/1997", "3//1997",  "3/4/19970",
                               "003/4/1997", "3/4/0000",  "a/4/1997",       "1997",      ""};
  for (const std::string& text : texts) {
    CAPTURE(text);
    CHECK_FALSE(IsShortDate(english, text));
  }
}

TEST_CASE("the listing's date-times read back as written, in English") {
  CheckListingTextsReadBack(TFormatSettings{}, 1997);
  CheckListingTextsReadBack(TFormatSettings{}, 1899);
}

TEST_CASE("the listing's date-times read back with another pattern and names") {
  CheckListingTextsReadBack(GermanSettings(), 2004);
  CheckListingTextsReadBack(GermanSettings(), 1899);

  TFormatSettings shortYear = GermanSettings();
  shortYear.LongDatePattern = "'am' ddd, dd/MM/yy mmm";
  CheckListingTextsReadBack(shortYear, 1951);
  CheckListingTextsReadBack(shortYear, 2049);
}

TEST_CASE("a time shown as the next midnight reads back with the next day's name") {
  const ScopedFormatSettings scope(GermanSettings());
  const TDateTime almost = EncodeDate(1997, 3, 4) + 0.99999999999;
  const std::string text = DateTimeText(almost);
  CHECK(text == "Mittwoch 5. M\xE4rz 1997 12:00 a");
  TDateTime read = kUnset;
  CHECK(TDateTextReader(GermanSettings()).ReadListingDateTime(text, read));
  CHECK(read == EncodeDate(1997, 3, 5));
}

TEST_CASE("twelve o'clock is midnight with a and noon with p") {
  const TDateTextReader reader{TFormatSettings{}};
  TDateTime midnight = 0;
  TDateTime noon = 0;
  REQUIRE(reader.ReadListingDateTime("March 4, 1997 12:00 a", midnight));
  REQUIRE(reader.ReadListingDateTime("March 4, 1997 12:00 p", noon));
  CHECK(midnight == EncodeDate(1997, 3, 4));
  CHECK(noon == EncodeDate(1997, 3, 4) + 0.5);
}

TEST_CASE("texts that the listing would not write are not date-times") {
  const TFormatSettings english;
  CHECK(IsListingDateTime(english, "March 4, 1997 09:07 a"));
  const std::string texts[] = {
      "March 4, 1997 09:07 a extra", "March 4, 1997 09:07 am",    "March 4, 1997 09:07",   "March 4, 1997",
      "March 32, 1997 09:07 a",      "February 29, 1997 09:07 a", "March 4, 1997 13:07 a", "March 4, 1997 00:07 a",
      "March 4, 1997 09:60 a",       "March 4, 1997 9:07 a",      "March 4, 1997  09:07 a", "Mar 4, 1997 09:07 a",
      "March 04, 1997 09:07 a",      "March 4, 97 09:07 a",       "march 4, 1997 09:07 a", " March 4, 1997 09:07 a",
      "3/4/1997 09:07 a",            " 09:07 a",                  "09:07 a",               ""};
  for (const std::string& text : texts) {
    CAPTURE(text);
    CHECK_FALSE(IsListingDateTime(english, text));
  }
}

TEST_CASE("a day name must be the date's own") {
  const TFormatSettings german = GermanSettings();
  CHECK(IsListingDateTime(german, "Dienstag 4. M\xE4rz 1997 09:07 a"));
  CHECK_FALSE(IsListingDateTime(german, "Montag 4. M\xE4rz 1997 09:07 a"));
  CHECK_FALSE(IsListingDateTime(german, "Di 4. M\xE4rz 1997 09:07 a"));
  CHECK_FALSE(IsListingDateTime(german, "Dienstag 4. Mrz 1997 09:07 a"));
}

TEST_CASE("a pattern without a year reads no date") {
  TFormatSettings noYear;
  noYear.LongDatePattern = "mmmm d";
  CHECK_FALSE(IsListingDateTime(noYear, "March 4 09:07 a"));
}
