#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace nwsim {

// The nwsim command line: 0 done, 1 the server refused or failed, 2 bad
// arguments (nothing changed).
int RunTool(std::vector<std::string> args, const char* rootFromEnvironment, std::ostream& out, std::ostream& err);

}  // namespace nwsim
