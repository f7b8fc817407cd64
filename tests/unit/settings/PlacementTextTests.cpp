#include <doctest/doctest.h>

#include <array>
#include <string>
#include <vector>

#include "PlacementText.h"

using namespace retrove;

TEST_CASE("stored integers: signs, hexadecimal bit patterns and limits; nothing wraps") {
  struct Case {
    const char* text;
    std::optional<int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"266", 266},
      {"  -8", -8},
      {"+12", 12},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0x1F", 31},
      {"0XfF", 255},
      {"0xFFFFFFFF", -1},
      {"0x7FFFFFFF", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999", std::nullopt},
      {"0x1FFFFFFFF", std::nullopt},
      {"0x", std::nullopt},
      {"0xG", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"12 ", std::nullopt},
      {"1e3", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const Case& c : cases) {
    CAPTURE(std::string(c.text));
    CHECK(StoredInteger(c.text) == c.value);
  }
}

TEST_CASE("four-number values: written with commas, read by words, missing or bad words keep their default") {
  CHECK(FourNumberText({266, 183, 906, 663}) == "266,183,906,663");
  CHECK(FourNumberText({-1, -1, -4, -4}) == "-1,-1,-4,-4");
  const std::array<int32_t, 4> fallback{10, 20, 30, 40};
  CHECK(FourNumbers("266,183,906,663", fallback) == std::array<int32_t, 4>{266, 183, 906, 663});
  CHECK(FourNumbers(" 1 ,, 2 3,4,5", fallback) == std::array<int32_t, 4>{1, 2, 3, 4});
  CHECK(FourNumbers("7,x,99999999999", fallback) == std::array<int32_t, 4>{7, 20, 30, 40});
  CHECK(FourNumbers("", fallback) == fallback);
  CHECK(FourNumbers(",,,", fallback) == fallback);
}

TEST_CASE("the stored show command picks the window state") {
  using enum TStoredWindowState;
  for (int32_t command : {1, 5, 9}) CHECK(WindowStateOfShowCommand(command, Maximized) == Normal);
  for (int32_t command : {2, 6}) CHECK(WindowStateOfShowCommand(command, Normal) == Minimized);
  CHECK(WindowStateOfShowCommand(3, Normal) == Maximized);
  for (int32_t command : {0, 4, 7, 8, 10, -1, INT32_MAX}) {
    CHECK(WindowStateOfShowCommand(command, Maximized) == Maximized);
    CHECK(WindowStateOfShowCommand(command, Normal) == Normal);
  }
}

TEST_CASE("a stored rectangle comes back on a work area, or not at all when it is empty") {
  const std::vector<TScreenRect> one{{0, 0, 1024, 740}};
  const std::vector<TScreenRect> two{{0, 0, 1024, 740}, {1024, 0, 2304, 1024}};
  // On screen, partly or wholly: as stored.
  CHECK(PlacedRect({266, 183, 906, 663}, one) == TScreenRect{266, 183, 906, 663});
  CHECK(PlacedRect({900, 600, 1500, 900}, one) == TScreenRect{900, 600, 1500, 900});
  CHECK(PlacedRect({1500, 100, 2000, 500}, two) == TScreenRect{1500, 100, 2000, 500});
  // Empty or inverted: ignored.
  CHECK_FALSE(PlacedRect({100, 100, 100, 400}, one).has_value());
  CHECK_FALSE(PlacedRect({500, 100, 100, 400}, one).has_value());
  CHECK_FALSE(PlacedRect({100, 400, 300, 100}, one).has_value());
  // On a monitor that is gone: moved onto the nearest work area.
  CHECK(PlacedRect({1500, 100, 2000, 500}, one) == TScreenRect{524, 100, 1024, 500});
  CHECK(PlacedRect({-900, -700, -500, -300}, one) == TScreenRect{0, 0, 400, 400});
  CHECK(PlacedRect({3000, 2000, 3300, 2200}, two) == TScreenRect{2004, 824, 2304, 1024});
  // Larger than the area: shrunk to it.
  CHECK(PlacedRect({5000, 5000, 9000, 9000}, one) == TScreenRect{0, 0, 1024, 740});
  // Hostile extremes do not overflow.
  CHECK(PlacedRect({INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10}, one) == TScreenRect{0, 0, 10, 10});
  CHECK(PlacedRect({INT32_MIN, 0, INT32_MAX, 100}, one) == TScreenRect{INT32_MIN, 0, INT32_MAX, 100});
  // Nothing known of the screens: as stored.
  CHECK(PlacedRect({-900, -700, -500, -300}, {}) == TScreenRect{-900, -700, -500, -300});
}
