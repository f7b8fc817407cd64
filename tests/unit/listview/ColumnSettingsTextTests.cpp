#include <doctest/doctest.h>

#include <numeric>
#include <string>
#include <vector>

#include "ColumnSettingsText.h"

using namespace retrove;

namespace {

std::vector<int> Identity(int count) {
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  return order;
}

}  // namespace

TEST_CASE("column lists are written without blanks or a trailing comma and read back") {
  const std::vector<int> widths{100, 100, 250, 0, 10000};
  CHECK(ColumnListText(widths) == "100,100,250,0,10000");
  CHECK(ColumnListText({7}) == "7");
  CHECK(ColumnListText({}).empty());
  CHECK(RepairedColumnWidths(ColumnListText(widths), std::vector<int>(5, 33)) == widths);

  const std::vector<int> order{3, 0, 4, 1, 2};
  CHECK(ColumnListText(order) == "3,0,4,1,2");
  CHECK(RepairedColumnOrder(ColumnListText(order), 5) == order);
}

TEST_CASE("a stored width that is no sane width leaves the column as it is") {
  struct Case {
    const char* text;
    std::vector<int> widths;
  };
  const std::vector<int> current{100, 100, 100};
  const Case cases[] = {
      {"120,abc", {120, 100, 100}},
      {"", {100, 100, 100}},
      {"50", {50, 100, 100}},
      {"1,2,3,4,5", {1, 2, 3}},
      {"-5,10001,99999999999", {100, 100, 100}},
      {"0,10000, 7 ", {0, 10000, 7}},
      {",,30", {100, 100, 30}},
      {"40,", {40, 100, 100}},
      {"+5,1e2,0x10", {100, 100, 100}},
      {"12 34,5.5,60", {100, 100, 60}},
  };
  for (const Case& c : cases) {
    CAPTURE(c.text);
    CHECK(RepairedColumnWidths(c.text, current) == c.widths);
  }
  CHECK(RepairedColumnWidths("10,20", {}).empty());
}

TEST_CASE("a stored order is repaired into a permutation of the columns") {
  struct Case {
    const char* text;
    int count;
    std::vector<int> order;
  };
  const Case cases[] = {
      {"1,0", 12, {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {"3,3,-1,99,x", 5, {3, 0, 1, 2, 4}},
      {"", 4, {0, 1, 2, 3}},
      {"99999999999,2", 3, {2, 0, 1}},
      {"2,1,0,3,4", 3, {2, 1, 0}},
      {"1,,0", 3, {1, 0, 2}},
      {"0,0,0,0,0,0", 2, {0, 1}},
      {"5", 0, {}},
      {"0", -1, {}},
  };
  for (const Case& c : cases) {
    CAPTURE(c.text);
    CAPTURE(c.count);
    CHECK(RepairedColumnOrder(c.text, c.count) == c.order);
  }
  CHECK(RepairedColumnOrder("", 12) == Identity(12));
}
