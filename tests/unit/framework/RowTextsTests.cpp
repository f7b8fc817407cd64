#include <doctest/doctest.h>

#include <string>
#include <string_view>
#include <vector>

#include "RowTexts.h"

using namespace retrove;

namespace {

std::vector<std::string> Cells(const TRowTexts& row) {
  std::vector<std::string> cells;
  for (size_t column = 0; column < row.CellCount(); ++column) cells.emplace_back(row.Cell(column));
  return cells;
}

// The window copies a cell with its terminating NUL straight from the block.
bool EndsInNul(std::string_view cell) {
  return cell.data()[cell.size()] == '\0';
}

}  // namespace

TEST_CASE("row texts: cells set in any order read back, and cells never set read empty") {
  TRowTexts row("REPORT.TXT");
  CHECK(Cells(row) == std::vector<std::string>{"REPORT.TXT"});
  row.SetCell(3, "SUPERVISOR");
  CHECK(Cells(row) == std::vector<std::string>{"REPORT.TXT", "", "", "SUPERVISOR"});
  row.SetCell(1, "1024");
  row.SetCell(0, "LETTERS.DOC");
  CHECK(Cells(row) == std::vector<std::string>{"LETTERS.DOC", "1024", "", "SUPERVISOR"});
  CHECK(row.Cell(4).empty());
  CHECK(row.Cell(1000).empty());
  for (size_t column = 0; column <= 5; ++column) CHECK(EndsInNul(row.Cell(column)));

  SUBCASE("a cell made shorter, longer or empty leaves its neighbours") {
    row.SetCell(1, "");
    CHECK(Cells(row) == std::vector<std::string>{"LETTERS.DOC", "", "", "SUPERVISOR"});
    row.SetCell(1, "2147483648");
    row.SetCell(3, "A");
    CHECK(Cells(row) == std::vector<std::string>{"LETTERS.DOC", "2147483648", "", "A"});
  }
  SUBCASE("a text ends at its first NUL") {
    row.SetCell(2, std::string_view("ab\0cd", 5));
    CHECK(Cells(row) == std::vector<std::string>{"LETTERS.DOC", "1024", "ab", "SUPERVISOR"});
  }
}

TEST_CASE("row texts: several cells set at once, over, inside and past the cells there") {
  const std::vector<std::string_view> details = {"1024", "Tuesday, March 4, 1997 09:15 a", "GUEST"};
  TRowTexts row;
  CHECK(row.CellCount() == 0);
  CHECK(row.Cell(0).empty());

  SUBCASE("past the end pads with empty cells") {
    row.SetCells(2, details);
    CHECK(Cells(row) == std::vector<std::string>{"", "", "1024", "Tuesday, March 4, 1997 09:15 a", "GUEST"});
  }
  SUBCASE("inside keeps the cells on both sides") {
    row.SetCells(0, std::vector<std::string_view>{"A", "B", "C", "D", "E"});
    row.SetCells(1, details);
    CHECK(Cells(row) == std::vector<std::string>{"A", "1024", "Tuesday, March 4, 1997 09:15 a", "GUEST", "E"});
  }
  SUBCASE("over the last cells extends the row") {
    row.SetCells(0, std::vector<std::string_view>{"A", "B"});
    row.SetCells(1, details);
    CHECK(Cells(row) == std::vector<std::string>{"A", "1024", "Tuesday, March 4, 1997 09:15 a", "GUEST"});
  }
  SUBCASE("no texts change nothing") {
    row.SetCells(4, {});
    CHECK(row.CellCount() == 0);
  }
}
