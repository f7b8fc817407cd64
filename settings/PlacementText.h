#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace retrove {

// A stored integer: optional leading blanks, an optional sign and decimal
// digits, or "0x"/"0X" and up to eight hexadecimal digits (a bit pattern,
// so 0xFFFFFFFF is -1). Anything else, and any value beyond 32 bits, is no
// integer: nothing wraps around.
std::optional<int32_t> StoredInteger(std::string_view text);

// "a,b,c,d", as the placement values are written.
std::string FourNumberText(const std::array<int32_t, 4>& values);

// The words of a stored four-number value (runs of characters other than
// blank and ","), each read as an integer; a word that is missing or no
// integer leaves its entry of `fallback`.
std::array<int32_t, 4> FourNumbers(std::string_view text, const std::array<int32_t, 4>& fallback);

enum class TStoredWindowState { Normal, Minimized, Maximized };

// The state a stored show command asks for: 1, 5 and 9 normal, 2 and 6
// minimized, 3 maximized; anything else keeps `current`.
TStoredWindowState WindowStateOfShowCommand(int32_t showCommand, TStoredWindowState current);

// Edges in a wider type than the stored ones, so that no sum overflows.
struct TScreenRect {
  int64_t Left = 0;
  int64_t Top = 0;
  int64_t Right = 0;
  int64_t Bottom = 0;

  int64_t Width() const { return Right - Left; }
  int64_t Height() const { return Bottom - Top; }
  bool Empty() const { return Left >= Right || Top >= Bottom; }
  bool operator==(const TScreenRect&) const = default;
};

// Where a stored normal rectangle may go: nowhere when it is empty or
// inverted; as it is when it overlaps a work area; otherwise moved onto the
// nearest work area, and shrunk to it when larger. No work areas: as it is.
std::optional<TScreenRect> PlacedRect(const TScreenRect& stored, const std::vector<TScreenRect>& workAreas);

}  // namespace retrove
