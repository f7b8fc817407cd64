#include "PackedDate.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace nwsim {

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysIn(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool IsPackable(const DateTimeParts& p) {
  if (p.year < 1980 || p.year > 2107 || p.month < 1 || p.month > 12) return false;
  if (p.day < 1 || p.day > DaysIn(p.year, p.month)) return false;
  return p.hour >= 0 && p.hour <= 23 && p.minute >= 0 && p.minute <= 59 && p.second >= 0 && p.second <= 59;
}

uint16_t PackDate(const DateTimeParts& p) {
  return static_cast<uint16_t>(((p.year - 1980) << 9) | (p.month << 5) | p.day);
}

uint32_t PackDateTime(const DateTimeParts& p) {
  uint32_t time = static_cast<uint32_t>((p.hour << 11) | (p.minute << 5) | (p.second / 2));
  return (static_cast<uint32_t>(PackDate(p)) << 16) | time;
}

DateTimeParts UnpackDateTime(uint32_t packed) {
  DateTimeParts p;
  p.year = 1980 + static_cast<int>((packed >> 25) & 0x7F);
  p.month = static_cast<int>((packed >> 21) & 0x0F);
  p.day = static_cast<int>((packed >> 16) & 0x1F);
  p.hour = static_cast<int>((packed >> 11) & 0x1F);
  p.minute = static_cast<int>((packed >> 5) & 0x3F);
  p.second = static_cast<int>(packed & 0x1F) * 2;
  return p;
}

std::optional<DateTimeParts> ParseDateTime(std::string_view text) {
  DateTimeParts p;
  std::string s(text);
  char tail = 0;
  int fields = std::sscanf(s.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &p.year, &p.month, &p.day, &p.hour,
                           &p.minute, &p.second, &tail);
  bool dateOnly = fields == 3 && s.size() == 10;
  bool minutes = fields == 5 && s.size() == 16;
  if (!(dateOnly || minutes || (fields == 6 && s.size() == 19))) return std::nullopt;
  if (!IsPackable(p)) return std::nullopt;
  return p;
}

DateTimeParts LocalDateTime(std::time_t instant) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &instant);
#else
  localtime_r(&instant, &local);
#endif
  // A leap second has no place in the DOS layout.
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          std::min(local.tm_sec, 59)};
}

std::time_t LocalInstant(const DateTimeParts& parts) {
  std::tm local{};
  local.tm_year = parts.year - 1900;
  local.tm_mon = parts.month - 1;
  local.tm_mday = parts.day;
  local.tm_hour = parts.hour;
  local.tm_min = parts.minute;
  local.tm_sec = parts.second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

DateTimeParts CurrentDateTime() { return LocalDateTime(std::time(nullptr)); }

}  // namespace nwsim
