#include <doctest/doctest.h>

#include <set>

#include "AttributeText.h"
#include "RecoveryName.h"

using namespace retrove;

TEST_CASE("attribute text keeps its ten positions") {
  CHECK(AttributeString(0) == "          ");
  CHECK(AttributeString(0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x80) == "RoHSEoDSh ");
  CHECK(AttributeString(0x21) == "Ro        ");
  CHECK(AttributeString(0x1000) == "         T");
  CHECK(AttributeString(0x60) == "          ");
  CHECK(AttributeString(0xFFFFFFFF).size() == 10);
}

TEST_CASE("derived names keep nine characters before the extension") {
  CHECK(DerivedName("LETTERS.DOC", 1) == "LETTERS~1.DOC");
  CHECK(DerivedName("REPORTER.TXT", 1) == "REPORTE~1.TXT");
  CHECK(DerivedName("REPORT.TXT", 10) == "REPORT~10.TXT");
  CHECK(DerivedName("NOTES", 1) == "NOTES~1");
  CHECK(DerivedName("A.B.TXT", 1) == "A.B~1.TXT");
  CHECK(DerivedName(".PROFILE", 3) == "~3.PROFILE");
  CHECK(DerivedName("ABCDEFGHIJ", 12345678) == "~12345678");
}

TEST_CASE("the recovery name is the first one free") {
  std::set<std::string> live;
  const auto exists = [&](const std::string& n) { return live.count(n) > 0; };
  CHECK(RecoveryName("REPORT.TXT", exists) == "REPORT.TXT");
  live = {"REPORT.TXT", "REPORT~1.TXT"};
  CHECK(RecoveryName("REPORT.TXT", exists) == "REPORT~2.TXT");

  // Every candidate taken: the search ends instead of looping forever.
  int asked = 0;
  const auto allTaken = [&](const std::string&) {
    ++asked;
    return true;
  };
  CHECK_FALSE(RecoveryName("FULL.TXT", allTaken).has_value());
  CHECK(asked == 10'000'000);
}
