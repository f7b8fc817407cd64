#pragma once

#include "FormatSettings.h"

namespace retrove {

// Puts format settings in place for one test and the previous ones back after it.
class ScopedFormatSettings {
public:
  explicit ScopedFormatSettings(const TFormatSettings& settings) : FSaved(FormatSettings()) {
    SetFormatSettings(settings);
  }
  ~ScopedFormatSettings() { SetFormatSettings(FSaved); }
  ScopedFormatSettings(const ScopedFormatSettings&) = delete;
  ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

private:
  TFormatSettings FSaved;
};

// German-like names and a long date pattern with the day's name first.
inline TFormatSettings GermanSettings() {
  TFormatSettings settings;
  settings.LongDatePattern = "dddd d. mmmm yyyy";
  settings.ShortDatePattern = "dd.MM.yyyy";
  settings.DateSeparator = '.';
  settings.LongMonthNames = {"Januar", "Februar", "M\xE4rz",   "April",   "Mai",      "Juni",
                             "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  settings.ShortMonthNames = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  settings.LongDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  settings.ShortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  return settings;
}

}  // namespace retrove
