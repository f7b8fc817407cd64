#include "ColumnSettingsText.h"

#include <charconv>
#include <optional>
#include <system_error>

#include "TextCompare.h"

namespace retrove {

namespace {

// An entry with blanks around it still counts: the value may have been
// edited by hand.
std::optional<int> EntryValue(std::string_view entry) {
  const std::string text = Trim(entry);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::optional<int>> EntryValues(std::string_view text) {
  std::vector<std::optional<int>> values;
  if (text.empty()) return values;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    values.push_back(EntryValue(text.substr(start, comma == std::string_view::npos ? comma : comma - start)));
    if (comma == std::string_view::npos) return values;
    start = comma + 1;
  }
}

}  // namespace

std::string ColumnListText(const std::vector<int>& values) {
  std::string text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ',';
    text += std::to_string(values[i]);
  }
  return text;
}

std::vector<int> RepairedColumnWidths(std::string_view sizesText, std::vector<int> currentWidths) {
  const std::vector<std::optional<int>> entries = EntryValues(sizesText);
  for (size_t i = 0; i < entries.size() && i < currentWidths.size(); ++i) {
    if (entries[i] && *entries[i] >= 0 && *entries[i] <= kMaxColumnWidth) currentWidths[i] = *entries[i];
  }
  return currentWidths;
}

std::vector<int> RepairedColumnOrder(std::string_view orderText, int columnCount) {
  std::vector<int> order;
  if (columnCount <= 0) return order;
  std::vector<bool> placed(static_cast<size_t>(columnCount), false);
  auto place = [&order, &placed](int column) {
    order.push_back(column);
    placed[static_cast<size_t>(column)] = true;
  };
  for (const std::optional<int>& entry : EntryValues(orderText)) {
    if (entry && *entry >= 0 && *entry < columnCount && !placed[static_cast<size_t>(*entry)]) place(*entry);
  }
  for (int column = 0; column < columnCount; ++column) {
    if (!placed[static_cast<size_t>(column)]) place(column);
  }
  return order;
}

}  // namespace retrove
