#include "LocaleSettings.h"

#include <windows.h>

#include "FormatSettings.h"

namespace retrove {

namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
  char text[128] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
  return length > 1 ? std::string(text) : fallback;
}

}  // namespace

void LoadLocaleFormatSettings() {
  TFormatSettings settings;
  settings.LongDatePattern = LocaleText(LOCALE_SLONGDATE, settings.LongDatePattern);
  settings.ShortDatePattern = LocaleText(LOCALE_SSHORTDATE, settings.ShortDatePattern);
  // The locale's separator may be longer; dates are read by its first character.
  settings.DateSeparator = LocaleText(LOCALE_SDATE, std::string(1, settings.DateSeparator))[0];
  for (int i = 0; i < 12; ++i) {
    settings.LongMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i, settings.LongMonthNames[i]);
    settings.ShortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, settings.ShortMonthNames[i]);
  }
  // The locale counts days from Monday; the settings from Sunday.
  for (int i = 0; i < 7; ++i) {
    const int fromMonday = (i + 6) % 7;
    settings.LongDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + fromMonday, settings.LongDayNames[i]);
    settings.ShortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + fromMonday, settings.ShortDayNames[i]);
  }
  SetFormatSettings(settings);
}

}  // namespace retrove
