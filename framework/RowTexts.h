#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace retrove {

// The texts of one list row, the caption and then each sub-item, kept in a
// single block with each text ended by a NUL: a hundred thousand rows of a
// dozen cells cost a hundred thousand blocks rather than a million strings
// and their vectors. A text ends at its first NUL, as the window shows it.
class TRowTexts {
public:
  TRowTexts() = default;
  explicit TRowTexts(std::string_view caption);

  // How many cells were set or padded in front of a set one.
  size_t CellCount() const;
  // The text of cell `column` (0 is the caption), followed in memory by a
  // NUL; empty for a cell never set.
  std::string_view Cell(size_t column) const;

  void SetCell(size_t column, std::string_view text);
  // Cells first, first + 1, ... take the texts, in one rebuilding.
  void SetCells(size_t first, std::span<const std::string_view> texts);

private:
  // Where cell `column` starts; the block's length for the cell after the
  // last, npos further on.
  size_t CellStart(size_t column) const;

  std::string FBlock;
};

}  // namespace retrove
