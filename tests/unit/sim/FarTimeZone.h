#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include "PackedDate.h"

// Puts the process in a zone 13 hours ahead of UTC, without summer time, for
// as long as it lives: far enough from any machine's own zone that a time
// taken in UTC, or in the machine's zone, shows up as wrong. The C runtime
// is shared with the client modules, so they see the zone as well.
class FarTimeZone {
public:
  FarTimeZone() : FSaved(Read()) { Apply("XYZ-13"); }
  ~FarTimeZone() { Apply(FSaved.value_or("")); }
  FarTimeZone(const FarTimeZone&) = delete;
  FarTimeZone& operator=(const FarTimeZone&) = delete;

  // The wall-clock time of this zone at `instant`, worked out from UTC
  // without the C library.
  static nwsim::DateTimeParts At(std::chrono::system_clock::time_point instant) {
    using namespace std::chrono;
    const auto local = floor<seconds>(instant) + hours(13);
    const auto days = floor<std::chrono::days>(local);
    const year_month_day date{days};
    const hh_mm_ss<seconds> time{local - days};
    return {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day())), int(time.hours().count()),
            int(time.minutes().count()), int(time.seconds().count())};
  }

private:
  static std::optional<std::string> Read() {
    const char* value = std::getenv("TZ");
    if (!value) return std::nullopt;
    return std::string(value);
  }

  // An empty value puts the machine's own zone back.
  static void Apply(const std::string& value) {
#ifdef _WIN32
    _putenv_s("TZ", value.c_str());
    _tzset();
#else
    if (value.empty()) unsetenv("TZ");
    else setenv("TZ", value.c_str(), 1);
    tzset();
#endif
  }

  std::optional<std::string> FSaved;
};

// "YYYY-MM-DD HH:MM:SS", so that a failed comparison shows both times.
inline std::string TimeText(const nwsim::DateTimeParts& p) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                p.second);
  return text;
}

inline std::string Stored(const nwsim::DateTimeParts& p) {
  return TimeText(nwsim::UnpackDateTime(nwsim::PackDateTime(p)));
}

// What a clock read gave, and the far zone's time while it was read (the
// later one when the read straddled two), both in the DOS layout's
// two-second steps, which is all a server stores.
struct ClockReading {
  std::string seen;
  std::string expected;
};

template <class Read>
ClockReading ReadClock(Read read) {
  const auto before = std::chrono::system_clock::now();
  std::string seen = Stored(read());
  const auto after = std::chrono::system_clock::now();
  std::string late = Stored(FarTimeZone::At(after));
  std::string expected = seen == late ? late : Stored(FarTimeZone::At(before));
  return {std::move(seen), std::move(expected)};
}
