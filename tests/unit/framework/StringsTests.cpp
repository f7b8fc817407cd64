#include <doctest/doctest.h>

#include "Exceptions.h"
#include "Strings.h"

using namespace retrove;

namespace {

class TCounted : public TObject {
public:
  explicit TCounted(int& alive) : FAlive(alive) { ++FAlive; }
  ~TCounted() override { --FAlive; }

private:
  int& FAlive;
};

}  // namespace

TEST_CASE("items carry objects through insert, delete and look-up") {
  TStringList list;
  TObject first;
  TObject second;
  CHECK(list.AddObject("REPORT.TXT", &first) == 0);
  CHECK(list.Add("letters.doc") == 1);
  list.Insert(0, "AAA.BAT", &second);
  CHECK(list.Count() == 3);
  CHECK(list.Strings(1) == "REPORT.TXT");
  CHECK(list.Objects(1) == &first);
  CHECK(list.Objects(2) == nullptr);
  CHECK(list.IndexOf("report.txt") == 1);
  CHECK(list.IndexOf("LETTERS.DOC") == 2);
  CHECK(list.IndexOf("missing") == -1);
  CHECK(list.IndexOfObject(&second) == 0);
  list.Delete(0);
  CHECK(list.Strings(0) == "REPORT.TXT");
  CHECK_THROWS_AS(list.Strings(2), EListError);
  CHECK_THROWS_AS(list.Delete(-1), EListError);
  CHECK_THROWS_AS(list.Insert(3, "x"), EListError);
}

TEST_CASE("Text joins with CR LF and splits at any line break") {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour\r\n");
  REQUIRE(list.Count() == 4);
  CHECK(list.Strings(3) == "four");
  CHECK(list.Text() == "one\r\ntwo\r\nthree\r\nfour\r\n");
  list.SetText("a\n\nb");
  REQUIRE(list.Count() == 3);
  CHECK(list.Strings(1).empty());
  list.SetText("");
  CHECK(list.Count() == 0);
  CHECK(list.Text().empty());
}

TEST_CASE("a list that owns its objects frees each exactly once") {
  int alive = 0;
  {
    TStringList list(true);
    list.AddObject("a", new TCounted(alive));
    list.AddObject("b", new TCounted(alive));
    list.AddObject("c", new TCounted(alive));
    list.AddObject("d", nullptr);
    CHECK(alive == 3);
    list.Delete(0);
    CHECK(alive == 2);
    list.SetObjects(0, new TCounted(alive));
    CHECK(alive == 2);
    list.SetObjects(0, list.Objects(0));  // same object again: kept
    CHECK(alive == 2);
  }
  CHECK(alive == 0);

  TStringList owning(true);
  owning.AddObject("x", new TCounted(alive));
  owning.Clear();
  CHECK(alive == 0);
}

TEST_CASE("Assign copies texts and object references") {
  TObject marker;
  TStringList source;
  source.AddObject("BList.Down", &marker);
  source.Add("MToolBar.Checked");
  TStringList copy;
  copy.Add("stale");
  copy.Assign(source);
  REQUIRE(copy.Count() == 2);
  CHECK(copy.Strings(0) == "BList.Down");
  CHECK(copy.Objects(0) == &marker);
  copy.Assign(copy);
  CHECK(copy.Count() == 2);

  TStringList owning(true);
  CHECK_THROWS_AS(owning.Assign(source), EInvalidOperation);
  CHECK(owning.Count() == 0);

  TPersistent unrelated;
  CHECK_THROWS_AS(copy.Assign(unrelated), EConvertError);
}
