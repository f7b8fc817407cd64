#pragma once

#include <string>

namespace retrove {

// The product version ("1.0") that a file's version resource gives; empty
// when the file has none or it cannot be read.
std::string ProductVersion(const std::string& path);

// The running program's own, so that what it shows never disagrees with the
// file's properties.
std::string ProgramVersion();

}  // namespace retrove
