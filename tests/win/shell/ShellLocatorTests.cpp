#include <doctest/doctest.h>

#include "ShellLocator.h"
#include "ShellTestSupport.h"
#include "UNsShellUtils.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr int kMyComputer = 17;

// A locator that counts its change notices.
struct TWatchedLocator {
  TWatchedLocator() {
    Locator.ChangeCallback = [this] { ++Changes; };
  }
  TNsShellLocator Locator;
  int Changes = 0;
};

}  // namespace

TEST_CASE("setting lists: the Desktop is held as none, and only a real change is announced") {
  TComScope com;
  TTempFolder folder;
  const ShellIdList list = Parse(folder.Path());
  const std::uint8_t empty[] = {0, 0};
  TWatchedLocator watched;
  TNsShellLocator& locator = watched.Locator;

  locator.SetIdList(empty);
  CHECK(locator.IdList() == nullptr);
  locator.SetIdList(empty);
  CHECK(watched.Changes == 2);

  locator.SetIdList(list.Get());
  locator.SetIdList(list.Get());
  CHECK(watched.Changes == 3);
  CHECK(locator.IdList() != list.Get());
  CHECK(CompareIdLists(locator.IdList(), list.Get()) == 0);
  CHECK(locator.SpecialFolder() == 28);
  CHECK(locator.Path() == IdListToPath(list.Get()));

  // Setting the list it holds itself keeps it intact.
  locator.SetIdList(locator.IdList());
  CHECK(CompareIdLists(locator.IdList(), list.Get()) == 0);
  CHECK(watched.Changes == 3);

  locator.SetIdList(nullptr);
  CHECK(watched.Changes == 4);
  CHECK(locator.IdList() == nullptr);
}

TEST_CASE("a list locator streams and reads back as the same folder") {
  TComScope com;
  TTempFolder folder;
  const ShellIdList list = Parse(folder.Path());
  TNsShellLocator source;
  CHECK_FALSE(source.HasPidlData());
  source.SetIdList(list.Get());
  REQUIRE(source.HasPidlData());
  const auto data = source.WritePidl();
  CHECK(data.size() == 1 + 4 + IdListSize(list.Get()));

  TNsShellLocator read;
  read.ReadPidl(data);
  CHECK(read.LocatorKind() == TNsShellLocator::kByIdList);
  CHECK(TNsShellLocator::LocatorsEqual(read, source));
  CHECK(read.Path() == source.Path());
}

TEST_CASE("a special-folder locator resolves its folder on first use") {
  TComScope com;
  TNsShellLocator locator;
  const std::vector<std::uint8_t> data{1, kMyComputer};
  locator.ReadPidl(data);
  CHECK(locator.LocatorKind() == TNsShellLocator::kBySpecialFolder);
  CHECK(locator.HasPidlData());
  CHECK(locator.WritePidl() == data);
  ShellIdList myComputer;
  REQUIRE(GetSpecialFolderIdList(nullptr, kMyComputer, myComputer) == S_OK);
  CHECK(CompareIdLists(locator.IdList(), myComputer.Get()) == 0);
  CHECK(locator.Path().empty());
}

TEST_CASE("malformed stream data leaves the locator as it was") {
  TComScope com;
  TTempFolder folder;
  const ShellIdList list = Parse(folder.Path());
  TNsShellLocator locator;
  locator.SetIdList(list.Get());
  const std::vector<std::uint8_t> negative{0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
  CHECK_THROWS_AS(locator.ReadPidl(negative), EIdListError);
  CHECK(CompareIdLists(locator.IdList(), list.Get()) == 0);
}

TEST_CASE("assigning copies the reference and announces a change only when it differs") {
  TComScope com;
  TTempFolder folder;
  const ShellIdList list = Parse(folder.Path());
  TNsShellLocator source;
  source.SetIdList(list.Get());
  TWatchedLocator target;

  target.Locator.Assign(source);
  CHECK(target.Changes == 1);
  CHECK(TNsShellLocator::LocatorsEqual(target.Locator, source));
  CHECK(target.Locator.IdList() != source.IdList());
  target.Locator.Assign(source);
  target.Locator.Assign(target.Locator);
  CHECK(target.Changes == 1);

  TNsShellLocator special;
  special.ReadPidl(std::vector<std::uint8_t>{1, kMyComputer});
  target.Locator.Assign(special);
  CHECK(target.Changes == 2);
  CHECK(target.Locator.LocatorKind() == TNsShellLocator::kBySpecialFolder);
  CHECK(target.Locator.SpecialFolder() == kMyComputer);
  CHECK_FALSE(TNsShellLocator::LocatorsEqual(target.Locator, source));

  target.Locator.Assign(nullptr);
  CHECK(target.Changes == 3);
  CHECK(target.Locator.IdList() == nullptr);
  target.Locator.Assign(nullptr);
  CHECK(target.Changes == 3);
}
