#pragma once

namespace retrove {

// Takes the user's date patterns, date separator and month and day names
// from the locale into the program's format settings.
void LoadLocaleFormatSettings();

}  // namespace retrove
