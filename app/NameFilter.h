#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace retrove {

// Which deleted files the list shows, by wildcard patterns as the user types
// them: "*" stands for any run of characters, "?" for one, and several
// patterns are separated by ";" ("*.DOC;MEMO?.TXT"). Case does not count,
// as in NetWare names. As everywhere else on the workstation, a pattern
// ending in ".*" also takes a name without an extension ("*.*" takes all),
// and one ending in "." takes such a name ("*." takes those alone). No
// pattern at all takes every name.
class TNameFilter {
public:
  TNameFilter() = default;
  explicit TNameFilter(std::string_view text);

  // The patterns as given, blanks around each taken away, joined by ";".
  const std::string& Text() const { return FText; }
  bool Empty() const { return FPatterns.empty(); }
  bool Matches(std::string_view name) const;

private:
  std::string FText;
  std::vector<std::string> FPatterns;  // upper case
};

}  // namespace retrove
