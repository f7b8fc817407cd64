#include "NameFilter.h"

#include <algorithm>

namespace retrove {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Greedy matching that goes back only to the last "*": linear in practice,
// and never worse than pattern length times name length.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0;
  size_t n = 0;
  size_t star = std::string_view::npos;
  size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == Upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

TNameFilter::TNameFilter(std::string_view text) {
  while (!text.empty()) {
    const auto end = std::min(text.find(';'), text.size());
    const std::string_view pattern = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (pattern.empty()) continue;
    if (!FText.empty()) FText += ';';
    FText += pattern;
    std::string upper(pattern);
    std::ranges::transform(upper, upper.begin(), Upper);
    FPatterns.push_back(std::move(upper));
  }
}

bool TNameFilter::Matches(std::string_view name) const {
  if (FPatterns.empty()) return true;
  const bool hasExtension = name.find('.') != std::string_view::npos;
  return std::ranges::any_of(FPatterns, [&](const std::string& pattern) {
    if (WildcardMatch(pattern, name)) return true;
    if (hasExtension) return false;
    const std::string_view view(pattern);
    if (view.ends_with(".*")) return WildcardMatch(view.substr(0, view.size() - 2), name);
    return view.ends_with('.') && WildcardMatch(view.substr(0, view.size() - 1), name);
  });
}

}  // namespace retrove
