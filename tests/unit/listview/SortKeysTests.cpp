#include <doctest/doctest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Nwtools.h"
#include "SortKeys.h"

using namespace retrove;

namespace {

const TSortKeyMaker& Maker() {
  static const TSortKeyMaker maker(TFormatSettings{}, BytewiseCollation);
  return maker;
}

std::vector<TSortKey> KeysOf(const std::vector<std::string>& texts) {
  std::vector<TSortKey> keys;
  for (const std::string& text : texts) keys.push_back(Maker().KeyOf(text));
  return keys;
}

std::vector<std::string> InRowOrder(const std::vector<std::string>& texts, const std::vector<size_t>& rows) {
  std::vector<std::string> result;
  for (size_t row : rows) result.push_back(texts[row]);
  return result;
}

bool Less(const TSortKey& a, const TSortKey& b) {
  return CompareSortKeys(a, b) < 0;
}

// A column as the deleted files fill it, and worse: names, sizes (some
// beyond 32 bits), both kinds of date, empty and odd texts, with repeats.
std::string RandomCell(std::mt19937& random) {
  auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
  const char* const words[] = {"apple", "Apple", "10 KB", "9 KB", "MEMO.TXT", "memo.txt", "~1", " ", "-", "1,234"};
  switch (pick(7)) {
    case 0:
      return "";
    case 1:
      return std::to_string(static_cast<long long>(random() % 5000000000ULL) - 1000);
    case 2:
      return std::to_string(pick(2000) - 1000) + "." + std::to_string(pick(100)) + "e" + std::to_string(pick(7) - 3);
    case 3:
      return std::to_string(pick(12) + 1) + "/" + std::to_string(pick(28) + 1) + "/" + std::to_string(1895 + pick(130));
    case 4:
      return DateTimeText(EncodeDateTime({1895 + pick(130), pick(12) + 1, pick(28) + 1}, {pick(24), pick(60), 0, 0}));
    case 5:
      return words[pick(10)];
    default:
      return std::string(1, static_cast<char>('0' + pick(75))) + words[pick(10)];
  }
}

}  // namespace

TEST_CASE("cells are classified once by what their text is") {
  CHECK(Maker().KeyOf("").Class == TCellClass::Empty);
  CHECK(Maker().KeyOf("4294967295").Class == TCellClass::Number);
  CHECK(Maker().KeyOf("3/4/1997").Class == TCellClass::DateTime);
  CHECK(Maker().KeyOf("March 4, 1997 09:07 a").Class == TCellClass::DateTime);
  CHECK(Maker().KeyOf("10 KB").Class == TCellClass::Text);
  CHECK(Maker().KeyOf("3/4/1997 09:07 a").Class == TCellClass::Text);

  const TSortKeyMaker upper(TFormatSettings{}, [](std::string_view text) { return "<" + std::string(text) + ">"; });
  CHECK(upper.KeyOf("abc").Collation == "<abc>");
  CHECK(upper.KeyOf("12").Collation.empty());
}

TEST_CASE("empty cells, numbers, date-times and texts sort in that order, each by its value") {
  const std::vector<std::string> ascending{
      "",
      "-5",
      "9",
      "10",
      "2147483648",
      "3000000000",
      "4294967295",
      "December 29, 1899 06:00 a",
      "December 29, 1899 06:00 p",
      "1/1/1900",
      "March 4, 1997 09:07 a",
      "March 4, 1997 09:08 a",
      "3/5/1997",
      "10 KB",
      "9 KB",
      "Apple",
      "apple",
  };
  const std::vector<TSortKey> keys = KeysOf(ascending);
  for (size_t i = 0; i + 1 < keys.size(); ++i) {
    CAPTURE(ascending[i]);
    CHECK(CompareSortKeys(keys[i], keys[i + 1]) == -1);
    CHECK(CompareSortKeys(keys[i + 1], keys[i]) == 1);
    CHECK(CompareSortKeys(keys[i], keys[i]) == 0);
  }
  std::vector<std::string> shuffled = ascending;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(13));
  CHECK(InRowOrder(shuffled, StableSortedRows(KeysOf(shuffled), true)) == ascending);
  CHECK(CompareSortKeys(Maker().KeyOf("1e1"), Maker().KeyOf("10")) == 0);
  CHECK(CompareSortKeys(Maker().KeyOf("3/4/1997"), Maker().KeyOf("03/04/1997")) == 0);
}

TEST_CASE("the comparison is a strict weak order over a mixed column") {
  std::mt19937 random(20240613);
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) texts.push_back(RandomCell(random));
  const std::vector<TSortKey> keys = KeysOf(texts);
  for (const TSortKey& a : keys) {
    REQUIRE_FALSE(Less(a, a));
    for (const TSortKey& b : keys) {
      REQUIRE(CompareSortKeys(a, b) == -CompareSortKeys(b, a));
      for (const TSortKey& c : keys) {
        if (Less(a, b) && Less(b, c)) REQUIRE(Less(a, c));
        const bool abEqual = !Less(a, b) && !Less(b, a);
        const bool bcEqual = !Less(b, c) && !Less(c, b);
        if (abEqual && bcEqual) REQUIRE((!Less(a, c) && !Less(c, a)));
      }
    }
  }
}

TEST_CASE("sorting is stable in both directions") {
  const std::vector<std::string> users{"MJONES", "ADMIN", "MJONES", "JSMITH", "ADMIN", "", "JSMITH"};
  const std::vector<TSortKey> keys = KeysOf(users);
  CHECK(StableSortedRows(keys, true) == std::vector<size_t>{5, 1, 4, 3, 6, 0, 2});
  CHECK(StableSortedRows(keys, false) == std::vector<size_t>{0, 2, 3, 6, 1, 4, 5});
  CHECK(StableSortedRows({}, true).empty());
}

TEST_CASE("sorting by one column keeps the previous sort within equal cells") {
  struct Row {
    std::string name;
    std::string deletedBy;
  };
  const std::vector<Row> table{
      {"d.txt", "ADMIN"}, {"b.txt", "ADMIN"}, {"c.txt", "JSMITH"}, {"a.txt", "JSMITH"}, {"e.txt", "JSMITH"}};
  std::vector<std::string> names;
  for (const Row& row : table) names.push_back(row.name);
  std::vector<std::string> namesSorted;
  std::vector<std::string> usersByName;
  for (size_t row : StableSortedRows(KeysOf(names), true)) {
    namesSorted.push_back(table[row].name);
    usersByName.push_back(table[row].deletedBy);
  }
  const std::vector<TSortKey> userKeys = KeysOf(usersByName);
  CHECK(InRowOrder(namesSorted, StableSortedRows(userKeys, true)) ==
        std::vector<std::string>{"b.txt", "d.txt", "a.txt", "c.txt", "e.txt"});
  CHECK(InRowOrder(namesSorted, StableSortedRows(userKeys, false)) ==
        std::vector<std::string>{"a.txt", "c.txt", "e.txt", "b.txt", "d.txt"});
}
