#include <doctest/doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "SortKeys.h"
#include "UserCollation.h"

using namespace retrove;

namespace {

int CompareInLocale(const std::string& a, const std::string& b) {
  const int result = CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                    static_cast<int>(b.size()));
  REQUIRE(result != 0);
  return result - CSTR_EQUAL;
}

int CompareKeys(const std::string& a, const std::string& b) {
  const int result = UserCollationKey(a).compare(UserCollationKey(b));
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

}  // namespace

TEST_CASE("collation keys order texts as the user's locale compares them") {
  // Case, accents (in the ANSI code page), word punctuation, digits.
  const std::string words[] = {"apple", "Apple", "APPLE", "banana", "Banana", "r\xE9sum\xE9", "resume",
                               "R\xC9SUM\xC9", "co-op", "coop", "10 KB", "9 KB", "zebra", "\xC4rger", "Arger"};
  for (const std::string& a : words) {
    for (const std::string& b : words) {
      CAPTURE(a);
      CAPTURE(b);
      CHECK(CompareKeys(a, b) == CompareInLocale(a, b));
    }
  }
}

TEST_CASE("texts in a list sort by the locale, not by their bytes") {
  const TSortKeyMaker maker(TFormatSettings{}, UserCollationKey);
  const std::vector<TSortKey> keys{maker.KeyOf("banana"), maker.KeyOf("Apple"), maker.KeyOf("apple")};
  CHECK(CompareInLocale("apple", "Apple") < 0);
  CHECK(CompareInLocale("Apple", "banana") < 0);
  CHECK(StableSortedRows(keys, true) == std::vector<size_t>{2, 1, 0});
}
