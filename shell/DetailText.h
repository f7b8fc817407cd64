#pragma once

#include <cstdint>
#include <string>

namespace retrove {

// A size as whole kilobytes, rounded up, with `thousandSeparator` between
// groups of three digits and "KB" directly after: 1025 bytes give "2KB".
std::string FormatKilobytes(std::uint64_t size, char thousandSeparator);

}  // namespace retrove
