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

// The server folder's state file: a header line with the generation, then
// one tab-separated line per item.
std::string FormatState(const State& state);
// Throws FormatError naming the first line it cannot take.
State ParseState(std::string_view text);
// The generation from the header line alone; nothing when it is not one.
std::optional<uint64_t> ParseGeneration(std::string_view headerLine);

}  // namespace nwsim
