#include "PackedDate.h"

#include <chrono>
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

DateTimeParts CurrentDateTime() {
  using namespace std::chrono;
  auto now = system_clock::now();
  auto days = floor<std::chrono::days>(now);
  year_month_day ymd{days};
  hh_mm_ss<seconds> hms{floor<seconds>(now - days)};
  DateTimeParts p;
  p.year = static_cast<int>(ymd.year());
  p.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.hour = static_cast<int>(hms.hours().count());
  p.minute = static_cast<int>(hms.minutes().count());
  p.second = static_cast<int>(hms.seconds().count());
  return p;
}

}  // namespace nwsim
