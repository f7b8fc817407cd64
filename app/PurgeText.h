#pragma once

#include <string>

namespace retrove {

// The question asked before a purge: which files (the one file's name, or
// how many) and that a purged file cannot be brought back. `folder` is the
// listed folder, named when every row of it goes.
std::string PurgeQuestion(int count, const std::string& onlyName, bool allRows, const std::string& folder);

}  // namespace retrove
