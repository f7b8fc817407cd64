#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>

namespace nwsim {

struct DateTimeParts {
  int year = 1980;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The DOS layout NetWare uses: date in the high 16 bits (years since 1980,
// month, day), time in the low 16 bits (hours, minutes, two-second units).
uint32_t PackDateTime(const DateTimeParts& parts);
uint16_t PackDate(const DateTimeParts& parts);
DateTimeParts UnpackDateTime(uint32_t packed);

// Years 1980-2107, a real calendar day, a time of day.
bool IsPackable(const DateTimeParts& parts);
// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM[:SS]".
std::optional<DateTimeParts> ParseDateTime(std::string_view text);
// A server's clock shows the local time of its zone, as a workstation's does.
DateTimeParts LocalDateTime(std::time_t instant);
// The instant at which the local clock shows `parts`.
std::time_t LocalInstant(const DateTimeParts& parts);
DateTimeParts CurrentDateTime();

}  // namespace nwsim
