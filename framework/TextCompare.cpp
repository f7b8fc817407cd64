#include "TextCompare.h"

namespace retrove {

char UpCaseChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpCaseChar(c);
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(UpCaseChar(a[i]));
    const auto cb = static_cast<unsigned char>(UpCaseChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Trim(std::string_view text) {
  auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t first = 0;
  size_t last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

}  // namespace retrove
