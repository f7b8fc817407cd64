#include "RowTexts.h"

#include <algorithm>

namespace retrove {

namespace {

std::string_view UpToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

}  // namespace

TRowTexts::TRowTexts(std::string_view caption) {
  SetCell(0, caption);
}

size_t TRowTexts::CellCount() const {
  return static_cast<size_t>(std::count(FBlock.begin(), FBlock.end(), '\0'));
}

size_t TRowTexts::CellStart(size_t column) const {
  size_t start = 0;
  for (size_t cell = 0; cell < column; ++cell) {
    if (start >= FBlock.size()) return std::string::npos;
    start = FBlock.find('\0', start) + 1;
  }
  return start;
}

std::string_view TRowTexts::Cell(size_t column) const {
  const size_t start = CellStart(column);
  if (start >= FBlock.size()) return {"", 0};
  return std::string_view(FBlock).substr(start, FBlock.find('\0', start) - start);
}

void TRowTexts::SetCell(size_t column, std::string_view text) {
  SetCells(column, std::span<const std::string_view>(&text, 1));
}

void TRowTexts::SetCells(size_t first, std::span<const std::string_view> texts) {
  if (texts.empty()) return;
  const std::string_view block(FBlock);
  const size_t start = CellStart(first);
  const std::string_view before = start == std::string::npos ? block : block.substr(0, start);
  const size_t padding = start == std::string::npos ? first - CellCount() : 0;
  const size_t end = CellStart(first + texts.size());
  const std::string_view after = end == std::string::npos ? std::string_view() : block.substr(end);
  size_t length = before.size() + padding + after.size();
  for (std::string_view text : texts) length += UpToNul(text).size() + 1;
  std::string rebuilt;
  rebuilt.reserve(length);
  rebuilt.append(before).append(padding, '\0');
  for (std::string_view text : texts) rebuilt.append(UpToNul(text)).push_back('\0');
  rebuilt.append(after);
  FBlock = std::move(rebuilt);
}

}  // namespace retrove
