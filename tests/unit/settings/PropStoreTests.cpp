#include <doctest/doctest.h>

#include <string>

#include "PropStore.h"
#include "SettingsIO.h"
#include "StoredSample.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr const char* kSection = "Vantorel\\Retrove";

struct TFormFixture {
  TFormFixture() {
    First->SetName("BList");
    Second->SetName("ListDel");
    for (const char* line : {"BList . Down", "ListDel.ViewStyle", "ListDel.Options", "ListDel.Lines", "Gone.Down",
                             "BList.NoSuchProperty", "nodot"})
      Lines.Add(line);
    ResolvePropertyPaths(Form, Lines, true);
  }

  TComponent Form{nullptr};
  TStored* First = new TStored(&Form);
  TStored* Second = new TStored(&Form);
  TStringList Lines;
  TMemorySettings Storage;
  TPropsStorage Props{Storage, kSection};
};

}  // namespace

TEST_CASE("listed properties are written as Component_Property texts and read back in order") {
  TFormFixture f;
  f.First->SetDown(true);
  f.Second->SetViewStyle(TStyle::vsList);
  f.Second->FLines.Add("first");
  f.Second->FLines.Add(" second ");
  f.Props.SaveListedProperties(f.Form, f.Lines);
  CHECK(f.Storage.Values() == TMemorySettings::TValues{
                                  {"Vantorel\\Retrove\\BList_Down", "True"},
                                  {"Vantorel\\Retrove\\ListDel_Options", "[lvxHeaderDragDrop]"},
                                  {"Vantorel\\Retrove\\ListDel_ViewStyle", "vsList"},
                                  {"Vantorel\\Retrove.ListDel_Lines\\Count", "2"},
                                  {"Vantorel\\Retrove.ListDel_Lines\\Item0", "first"},
                                  {"Vantorel\\Retrove.ListDel_Lines\\Item1", " second "},
                              });

  TFormFixture g;
  g.Storage = f.Storage;
  g.Props.RestoreListedProperties(g.Form, g.Lines);
  CHECK(g.First->Down());
  CHECK(g.Second->ViewStyle() == TStyle::vsList);
  REQUIRE(g.Second->FLines.Count() == 2);
  CHECK(g.Second->FLines.Strings(1) == " second ");
}

TEST_CASE("a first run or damaged values leave the properties as they are and the rest are still read") {
  TFormFixture f;
  f.Props.RestoreListedProperties(f.Form, f.Lines);
  CHECK_FALSE(f.First->Down());
  CHECK(f.Second->ViewStyle() == TStyle::vsReport);

  f.Storage.WriteString(kSection, "BList_Down", "true");
  f.Storage.WriteString(kSection, "ListDel_ViewStyle", "vsTable");
  f.Storage.WriteString(kSection, "ListDel_Options", "lvxGridLines");
  f.Storage.WriteString("Vantorel\\Retrove.ListDel_Lines", "Count", "2147483647");
  f.Storage.WriteString("Vantorel\\Retrove.ListDel_Lines", "Item0", "kept");
  f.Props.RestoreListedProperties(f.Form, f.Lines);
  CHECK(f.First->Down());
  CHECK(f.Second->ViewStyle() == TStyle::vsReport);
  CHECK(f.Second->Options() == TOptions{TOption::lvxHeaderDragDrop});
  REQUIRE(f.Second->FLines.Count() == 1);
  CHECK(f.Second->FLines.Strings(0) == "kept");
}

TEST_CASE("an emptied list keeps its stored lines; a list saved again replaces them") {
  TFormFixture f;
  f.Second->FLines.Add("a");
  f.Second->FLines.Add("b");
  f.Second->FLines.Add("c");
  f.Props.SaveListedProperties(f.Form, f.Lines);
  f.Second->FLines.Clear();
  f.Props.SaveListedProperties(f.Form, f.Lines);
  f.Props.RestoreListedProperties(f.Form, f.Lines);
  CHECK(f.Second->FLines.Count() == 3);

  f.Second->FLines.Clear();
  f.Second->FLines.Add("z");
  f.Props.SaveListedProperties(f.Form, f.Lines);
  CHECK_FALSE(f.Storage.ReadString("Vantorel\\Retrove.ListDel_Lines", "Item1").has_value());
}

TEST_CASE("listed lines are bound to their components once and follow a renamed or freed component") {
  TFormFixture f;
  REQUIRE(f.Lines.Count() == 5);
  CHECK(f.Lines.Objects(0) == f.First);
  CHECK(f.Lines.Objects(4) == f.First);

  f.First->SetName("BDetails");
  f.First->SetDown(true);
  f.Props.SaveListedProperties(f.Form, f.Lines);
  CHECK(f.Lines.Strings(0) == "BDetails.Down");
  CHECK(f.Lines.Strings(4) == "BDetails.NoSuchProperty");
  CHECK(f.Storage.ReadString(kSection, "BDetails_Down") == "True");
  CHECK_FALSE(f.Storage.ReadString(kSection, "BList_Down").has_value());

  f.Lines.SetObjects(0, nullptr);
  f.Props.RestoreListedProperties(f.Form, f.Lines);
  CHECK(f.Lines.Count() == 4);
  CHECK(f.Lines.Strings(0) == "ListDel.ViewStyle");
}
