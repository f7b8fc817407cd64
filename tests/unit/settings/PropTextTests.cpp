#include <doctest/doctest.h>

#include <string>

#include "PropText.h"
#include "PropertyTable.h"
#include "StoredSample.h"

using namespace retrove;
using namespace retrove::test;

namespace {

struct TStoredFixture {
  std::string Text(const char* name) { return PropertyText(Object, Prop(name)).value_or("(none)"); }
  bool Set(const char* name, const char* text) { return SetPropertyText(Object, Prop(name), text); }
  const TPropInfo& Prop(const char* name) {
    const TPropInfo* prop = FindPropInfo(Object, name);
    REQUIRE(prop);
    return *prop;
  }
  TStored Object{nullptr};
};

}  // namespace

TEST_CASE("each kind is written as its text and read back from it") {
  TStoredFixture f;
  CHECK(f.Text("Position") == "195");
  CHECK(f.Text("Accel") == "R");
  CHECK(f.Text("Down") == "False");
  CHECK(f.Text("ViewStyle") == "vsReport");
  CHECK(f.Text("Options") == "[lvxHeaderDragDrop]");
  CHECK(f.Text("Caption") == "Retrove");

  CHECK(f.Set("Position", " -12 "));
  CHECK(f.Set("Accel", "xyz"));
  CHECK(f.Set("Down", "true"));
  CHECK(f.Set("ViewStyle", "VSLIST"));
  CHECK(f.Set("Options", "[ lvxGridLines , nonsense ]"));
  CHECK(f.Set("Caption", "  Salvage  "));
  CHECK(f.Object.Position() == -12);
  CHECK(f.Object.Accel() == 'x');
  CHECK(f.Object.Down());
  CHECK(f.Object.ViewStyle() == TStyle::vsList);
  CHECK(f.Object.Options() == TOptions{TOption::lvxGridLines});
  CHECK(f.Object.Caption() == "Salvage");

  f.Object.SetOptions({TOption::lvxGridLines, TOption::lvxCheckboxes, TOption::lvxHeaderDragDrop});
  const std::string all = f.Text("Options");
  CHECK(all == "[lvxGridLines,lvxCheckboxes,lvxHeaderDragDrop]");
  f.Object.SetOptions({});
  CHECK(f.Text("Options") == "[]");
  CHECK(f.Set("Options", all.c_str()));
  CHECK(f.Object.Options() == TOptions{TOption::lvxGridLines, TOption::lvxCheckboxes, TOption::lvxHeaderDragDrop});
  CHECK(f.Set("Options", "[]"));
  CHECK(f.Object.Options().Bits() == 0);
}

TEST_CASE("a text that names no value leaves the property as it was") {
  TStoredFixture f;
  CHECK_FALSE(f.Set("Position", "abc"));
  CHECK_FALSE(f.Set("Position", "99999999999"));
  CHECK_FALSE(f.Set("Accel", ""));
  CHECK_FALSE(f.Set("ViewStyle", "vsTable"));
  CHECK_FALSE(f.Set("Down", "yes"));
  CHECK_FALSE(f.Set("Options", "lvxGridLines"));
  CHECK_FALSE(f.Set("Options", "[lvxGridLines"));
  CHECK(f.Object.Position() == 195);
  CHECK(f.Object.Accel() == 'R');
  CHECK(f.Object.ViewStyle() == TStyle::vsReport);
  CHECK_FALSE(f.Object.Down());
  CHECK(f.Object.Options() == TOptions{TOption::lvxHeaderDragDrop});
  CHECK(StoresEmptyText(f.Prop("Caption")));
  CHECK_FALSE(StoresEmptyText(f.Prop("Position")));
}

TEST_CASE("property paths split at the first dot, blanks around the parts ignored") {
  CHECK(SplitPropertyPath("BList . Down") == std::pair<std::string, std::string>{"BList", "Down"});
  CHECK(SplitPropertyPath("ListDel.ViewStyle") == std::pair<std::string, std::string>{"ListDel", "ViewStyle"});
  CHECK(SplitPropertyPath("A.B.C") == std::pair<std::string, std::string>{"A", "B.C"});
  for (const char* bad : {"", "BList", ".Down", "BList.", " . "}) {
    CAPTURE(std::string(bad));
    CHECK_FALSE(SplitPropertyPath(bad).has_value());
  }
}
