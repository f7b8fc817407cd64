#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nwsim {

// Letters a-z only, as NetWare's DOS name space folds names.
std::string UpperCase(std::string_view text);
bool EqualNoCase(std::string_view a, std::string_view b);

// One line of the state file is tab-separated fields; a field escapes
// backslash, tab, newline and carriage return so that any name survives.
std::string EscapeField(std::string_view field);
std::vector<std::string> SplitFields(std::string_view line);

// "DOCS\\reports/" -> "DOCS/REPORTS": upper case, "/" separators, no
// leading or trailing separator, no empty components.
std::string NormalizeFolder(std::string_view path);

// A single name on a volume: not empty, at most 255 characters, none of
// the characters a path or a volume name uses.
bool IsValidEntryName(std::string_view name);

}  // namespace nwsim
