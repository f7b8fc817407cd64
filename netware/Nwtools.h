#pragma once

#include <string>

#include "DateTime.h"

namespace retrove {

// Date and time texts as the listing shows them.
std::string DateTimeText(TDateTime value);   // long date, a blank, short time
std::string LongDateText(TDateTime value);   // the user's long date format
std::string ShortTimeText(TDateTime value);  // "hh:mm a" / "hh:mm p", 12-hour clock
int DayOfDate(TDateTime value);
int MonthOfDate(TDateTime value);
int DaysInMonthOf(TDateTime value);  // the last day number of the value's month
TDateTime WorkstationDate();          // today on the workstation's clock, at midnight

// Trimming as the client's texts need it: names come back padded with
// blanks or NUL, 1 and 2 characters.
std::string RTrimBlanks(const std::string& text);
std::string LTrimSpaces(const std::string& text);
std::string TrimBlanks(const std::string& text);
std::string LeftChars(const std::string& text, int count);

// Every occurrence of `search` (letter case ignored, A-Z only) replaced; an
// empty search text changes nothing.
std::string ReplaceNoCase(const std::string& text, const std::string& search, const std::string& replacement);

}  // namespace retrove
