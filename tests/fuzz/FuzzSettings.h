#pragma once

#include <array>

#include "FormatSettings.h"
#include "ScopedFormatSettings.h"

namespace retrove::fuzz {

// Year first, two-digit years and a short day name: the orders and windows
// the English and German defaults do not reach.
inline TFormatSettings IsoLikeSettings() {
  TFormatSettings settings;
  settings.LongDatePattern = "ddd, dd-mmm-yy";
  settings.ShortDatePattern = "yyyy-MM-dd";
  settings.DateSeparator = '-';
  return settings;
}

// The format settings a fuzz input picks from with one byte.
inline const std::array<TFormatSettings, 3>& AllSettings() {
  static const std::array<TFormatSettings, 3> settings{TFormatSettings{}, GermanSettings(), IsoLikeSettings()};
  return settings;
}

}  // namespace retrove::fuzz
