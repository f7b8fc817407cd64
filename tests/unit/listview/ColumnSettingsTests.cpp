#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "ColumnSettings.h"
#include "ListViewExColumns.h"
#include "PropertyTable.h"

using namespace retrove;

TEST_CASE("column widths and order go to Columns\\Sizes and Columns\\Order and come back") {
  TMemorySettings storage;
  TListViewExSaveSettings settings;
  settings.WriteColumnSizes(storage, {120, 0, 250});
  settings.WriteColumnOrder(storage, {2, 0, 1});
  CHECK(storage.Values() == TMemorySettings::TValues{{"Columns\\Order", "2,0,1"}, {"Columns\\Sizes", "120,0,250"}});

  CHECK(settings.ReadColumnSizes(storage, {50, 50, 50}) == std::vector<int>{120, 0, 250});
  CHECK(settings.ReadColumnOrder(storage, 3) == std::vector<int>{2, 0, 1});
}

TEST_CASE("reading what was never stored, or stored damaged, gives usable columns and writes nothing") {
  TMemorySettings storage;
  const TListViewExSaveSettings settings;
  CHECK_FALSE(settings.ReadColumnSizes(storage, {50, 60}).has_value());
  CHECK(settings.ReadColumnOrder(storage, 4) == std::vector<int>{0, 1, 2, 3});
  CHECK(storage.Values().empty());

  storage.WriteString("Columns", "Sizes", "");
  CHECK_FALSE(settings.ReadColumnSizes(storage, {50, 60}).has_value());
  storage.WriteString("Columns", "Sizes", "120,abc,-5,99999999999");
  CHECK(settings.ReadColumnSizes(storage, {50, 60, 70, 80}) == std::vector<int>{120, 60, 70, 80});

  // Twelve columns, two stored: the rest follow in their own order.
  storage.WriteString("Columns", "Order", "1,0");
  CHECK(settings.ReadColumnOrder(storage, 12) == std::vector<int>{1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  storage.WriteString("Columns", "Order", "1,1,x,7,-1,0");
  CHECK(settings.ReadColumnOrder(storage, 3) == std::vector<int>{1, 0, 2});
  const auto before = storage.Values();
  settings.ReadColumnOrder(storage, 3);
  CHECK(storage.Values() == before);
}

TEST_CASE("the settings' defaults and names are those the owner's stored properties use") {
  TListViewExSaveSettings settings;
  CHECK_FALSE(settings.AutoSave());
  CHECK(settings.RegistryKey().empty());
  CHECK(settings.SaveColumnSizes());
  CHECK(settings.SaveColumnOrder());
  const TPropInfo* order = FindPropInfo(settings, "SaveColumnOrder");
  const TPropInfo* key = FindPropInfo(settings, "RegistryKey");
  REQUIRE(order);
  REQUIRE(key);
  SetOrdProp(settings, *order, 0);
  SetStrProp(settings, *key, "\\Software\\Vantorel\\Retrove");
  CHECK_FALSE(settings.SaveColumnOrder());
  CHECK(settings.RegistryKey() == "\\Software\\Vantorel\\Retrove");
}

TEST_CASE("header image formats: clearing the image puts it right of the text; each change names its column") {
  TListViewExColumns columns;
  std::vector<int> changed;
  columns.OnChange = [&](int index) { changed.push_back(index); };
  columns.Add();
  TListViewExColumn& second = columns.Add();
  CHECK(second.ImageIndex() == -1);
  CHECK(second.ImageAlignment() == ciaRightOfText);

  second.SetImageAlignment(ciaLeftOfText);
  second.SetImageIndex(3);
  CHECK(second.ImageAlignment() == ciaLeftOfText);
  second.SetImageIndex(-1);
  CHECK(second.ImageAlignment() == ciaRightOfText);
  CHECK(changed == std::vector<int>{0, 1, 1, 1, 1});

  TListViewExColumns copy;
  copy.Add();
  copy.Add();
  copy.Add();
  columns.Items(0).SetImageIndex(5);
  changed.clear();
  copy.OnChange = [&](int index) { changed.push_back(index); };
  copy.Assign(columns);
  REQUIRE(copy.Count() == 2);
  CHECK(copy.Items(0).ImageIndex() == 5);
  CHECK(copy.Items(1).ImageIndex() == -1);
  CHECK(changed == std::vector<int>{-1});
  CHECK_THROWS_AS(copy.Items(2), EListError);

  // The copy's items report to the copy, not to the source.
  changed.clear();
  copy.Items(1).SetImageIndex(2);
  CHECK(changed == std::vector<int>{1});
}
