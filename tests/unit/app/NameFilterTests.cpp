#include <doctest/doctest.h>

#include <string>

#include "ListFilter.h"
#include "NameFilter.h"
#include "PropertyTable.h"

using retrove::TNameFilter;

TEST_CASE("no pattern takes every name, and blanks or empty parts are no pattern") {
  for (const char* text : {"", " ", ";", " ; ;"}) {
    CAPTURE(text);
    const TNameFilter filter(text);
    CHECK(filter.Empty());
    CHECK(filter.Text().empty());
    CHECK(filter.Matches("MEMO.TXT"));
    CHECK(filter.Matches(""));
  }
}

TEST_CASE("star and question mark, case not counting") {
  const TNameFilter star("*");
  CHECK(star.Matches("MEMO.TXT"));
  CHECK(star.Matches("README"));

  const TNameFilter docs("*.doc");
  CHECK(docs.Matches("LETTER.DOC"));
  CHECK(docs.Matches("letter.Doc"));
  CHECK(docs.Matches(".DOC"));
  CHECK_FALSE(docs.Matches("LETTER.DOCX"));
  CHECK_FALSE(docs.Matches("DOC"));

  const TNameFilter memo("MEMO?.TXT");
  CHECK(memo.Matches("MEMO1.TXT"));
  CHECK(memo.Matches("memo_.txt"));
  CHECK_FALSE(memo.Matches("MEMO.TXT"));  // "?" is exactly one character
  CHECK_FALSE(memo.Matches("MEMO12.TXT"));

  // Going back to the last star, not only the first fit.
  const TNameFilter repeated("*A*B?C");
  CHECK(repeated.Matches("XAAABXBYC"));
  CHECK_FALSE(repeated.Matches("XAAABXBC"));
  CHECK(TNameFilter("**?**").Matches("A"));
  CHECK_FALSE(TNameFilter("**?**").Matches(""));
}

TEST_CASE("several patterns: a name matching any of them is shown") {
  const TNameFilter filter(" *.DOC ; memo.* ;;B*.XLS");
  CHECK(filter.Text() == "*.DOC;memo.*;B*.XLS");
  CHECK(filter.Matches("LETTER.DOC"));
  CHECK(filter.Matches("MEMO.TXT"));
  CHECK(filter.Matches("BUDGET.XLS"));
  CHECK_FALSE(filter.Matches("README.TXT"));
  CHECK_FALSE(filter.Matches("AUDIT.XLS"));
}

TEST_CASE("dots: '.*' also takes a name without an extension, and '*.' takes only such names") {
  CHECK(TNameFilter("*.*").Matches("README"));
  CHECK(TNameFilter("*.*").Matches("A.B.C"));
  CHECK(TNameFilter("READ*.*").Matches("README"));
  CHECK(TNameFilter("README.*").Matches("README"));
  CHECK_FALSE(TNameFilter("README.*").Matches("READMEX"));
  CHECK_FALSE(TNameFilter("*.?").Matches("README"));
  CHECK(TNameFilter("*.").Matches("README"));
  CHECK(TNameFilter("*.").Matches("README."));
  CHECK_FALSE(TNameFilter("*.").Matches("README.TXT"));
  CHECK_FALSE(TNameFilter("MEMO.").Matches("MEMOS"));
  // A dot is an ordinary character elsewhere, never a wildcard.
  CHECK_FALSE(TNameFilter("A.B").Matches("AXB"));
}

TEST_CASE("the list filter keeps its pattern as a stored property, tidied, and heads and counts the list") {
  retrove::TListFilter filter(nullptr);
  const retrove::TPropInfo* pattern = retrove::FindPropInfo(filter, "Pattern");
  REQUIRE(pattern != nullptr);
  retrove::SetStrProp(filter, *pattern, " *.doc ;; memo?.* ");
  CHECK(retrove::GetStrProp(filter, *pattern) == "*.doc;memo?.*");
  CHECK(filter.Filter().Matches("LETTER.DOC"));

  CHECK(retrove::ListHeader("F:\\DOCS\\", filter.Filter()) == "Deleted Contents of 'F:\\DOCS\\' \x97 *.doc;memo?.*");
  CHECK(retrove::ListCount(3, 120, filter.Filter()) == "3 of 120 file(s)");

  retrove::SetStrProp(filter, *pattern, "");
  CHECK(retrove::ListHeader("F:\\DOCS\\", filter.Filter()) == "Deleted Contents of 'F:\\DOCS\\'");
  CHECK(retrove::ListCount(120, 120, filter.Filter()) == "120 file(s)");
}

TEST_CASE("an empty list says why, from how the listing ended") {
  using retrove::TListingOutcome;
  const retrove::TNameFilter none;
  const retrove::TNameFilter docs("*.DOC");
  CHECK(retrove::EmptyListText(nullptr, 0, none).empty());

  retrove::TNWDeletedFileList entries;
  const auto says = [&](TListingOutcome outcome, int shown, const retrove::TNameFilter& filter) {
    entries.SetOutcome(outcome);
    return retrove::EmptyListText(&entries, shown, filter);
  };
  CHECK(says(TListingOutcome::NotNetWare, 0, docs) == "This folder is not on a NetWare volume.");
  CHECK(says(TListingOutcome::Complete, 0, none) == "There are no deleted files in this folder.");
  CHECK(says(TListingOutcome::Complete, 0, docs) == "There are no deleted files in this folder.");
  CHECK(says(TListingOutcome::Stopped, 0, none) == "Listing stopped.");
  CHECK(says(TListingOutcome::Failed, 0, none) == "The deleted files of this folder could not be listed.");

  entries.Add("MEMO.TXT");
  CHECK(says(TListingOutcome::Complete, 0, docs) == "No deleted files match the filter.");
  CHECK(says(TListingOutcome::Stopped, 0, docs) == "No deleted files match the filter.");
  CHECK(says(TListingOutcome::Complete, 1, none).empty());
}
