#include "PlacementText.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace retrove {

namespace {

std::optional<int32_t> HexadecimalInteger(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<uint32_t>(c - 'A' + 10);
    else
      return std::nullopt;
    value = value * 16 + digit;
  }
  return static_cast<int32_t>(value);
}

std::optional<int32_t> DecimalInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

// How far apart two rectangles are, along each axis; 0 where they overlap.
int64_t Gap(int64_t low1, int64_t high1, int64_t low2, int64_t high2) {
  if (high1 <= low2) return low2 - high1;
  if (high2 <= low1) return low1 - high2;
  return 0;
}

bool Overlap(const TScreenRect& a, const TScreenRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Moves [low, low + size) into [areaLow, areaHigh), keeping `size` when it fits.
void FitSpan(int64_t& low, int64_t& high, int64_t areaLow, int64_t areaHigh) {
  const int64_t size = std::min(high - low, areaHigh - areaLow);
  low = std::clamp(low, areaLow, areaHigh - size);
  high = low + size;
}

}  // namespace

std::optional<int32_t> StoredInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return HexadecimalInteger(text.substr(2));
  return DecimalInteger(text);
}

std::string FourNumberText(const std::array<int32_t, 4>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ',';
    text += std::to_string(values[i]);
  }
  return text;
}

std::array<int32_t, 4> FourNumbers(std::string_view text, const std::array<int32_t, 4>& fallback) {
  std::array<int32_t, 4> values = fallback;
  const auto separator = [](char c) { return c == ' ' || c == ','; };
  size_t word = 0;
  size_t at = 0;
  while (word < values.size()) {
    while (at < text.size() && separator(text[at])) ++at;
    if (at == text.size()) break;
    const size_t start = at;
    while (at < text.size() && !separator(text[at])) ++at;
    if (const auto value = StoredInteger(text.substr(start, at - start))) values[word] = *value;
    ++word;
  }
  return values;
}

TStoredWindowState WindowStateOfShowCommand(int32_t showCommand, TStoredWindowState current) {
  switch (showCommand) {
    case 1:
    case 5:
    case 9:
      return TStoredWindowState::Normal;
    case 2:
    case 6:
      return TStoredWindowState::Minimized;
    case 3:
      return TStoredWindowState::Maximized;
    default:
      return current;
  }
}

std::optional<TScreenRect> PlacedRect(const TScreenRect& stored, const std::vector<TScreenRect>& workAreas) {
  if (stored.Empty()) return std::nullopt;
  std::vector<TScreenRect> areas;
  std::copy_if(workAreas.begin(), workAreas.end(), std::back_inserter(areas),
               [](const TScreenRect& area) { return !area.Empty(); });
  if (areas.empty()) return stored;
  if (std::any_of(areas.begin(), areas.end(), [&](const TScreenRect& area) { return Overlap(stored, area); }))
    return stored;
  const auto distance = [&](const TScreenRect& area) {
    const int64_t dx = Gap(stored.Left, stored.Right, area.Left, area.Right);
    const int64_t dy = Gap(stored.Top, stored.Bottom, area.Top, area.Bottom);
    // Each below 2^33: their sum cannot overflow, as a square could.
    return dx + dy;
  };
  const TScreenRect& nearest = *std::min_element(
      areas.begin(), areas.end(), [&](const TScreenRect& a, const TScreenRect& b) { return distance(a) < distance(b); });
  TScreenRect placed = stored;
  FitSpan(placed.Left, placed.Right, nearest.Left, nearest.Right);
  FitSpan(placed.Top, placed.Bottom, nearest.Top, nearest.Bottom);
  return placed;
}

}  // namespace retrove
