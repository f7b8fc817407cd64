#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "State.h"

namespace nwsim {

class FormatError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The server folder's state file: a header line with the format and the
// generation, then one tab-separated line per item. The deleted entries
// are not in it (see FolderFile.h): a state that still holds them inline
// cannot be written.
std::string FormatState(const State& state);
// Throws FormatError naming the first line it cannot take. Format 2, which
// held the deleted entries ("deleted" lines), reads with entriesInline set.
State ParseState(std::string_view text);

struct StateHeader {
  uint64_t generation = 0;
  bool entriesInline = false;  // format 2
};
// The header line alone; nothing when it is not one.
std::optional<StateHeader> ParseStateHeader(std::string_view headerLine);

}  // namespace nwsim
