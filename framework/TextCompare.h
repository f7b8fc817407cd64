#pragma once

#include <string>
#include <string_view>

namespace retrove {

// Letter case is folded for A-Z only: names of components, properties and
// values are identifiers, and the same rule must hold on every target.
char UpCaseChar(char c);
std::string UpperCase(std::string_view text);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// Leading and trailing blanks and control characters removed.
std::string Trim(std::string_view text);

}  // namespace retrove
