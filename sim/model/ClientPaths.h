#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "State.h"

namespace nwsim {

// A folder on a volume, as the server names it: volume upper case, folder
// normalised (see NormalizeFolder).
struct ServerPlace {
  std::string volume;
  std::string folder;
};

// "F:/DOCS/" or "F:\\DOCS\\" through the drive mappings, or a path already
// on the server ("SYS:DOCS", "SERVER/SYS:DOCS"), to the server's form
// "SYS:DOCS". Nothing for an unmapped drive or a path with "." or "..".
std::optional<std::string> ToServerPath(const State& state, std::string_view path);
std::optional<ServerPlace> ParseServerPath(std::string_view serverPath);
std::string FormatServerPath(const ServerPlace& place);
// A path below a place (from a directory handle); "" is the place itself.
std::optional<ServerPlace> Below(const ServerPlace& place, std::string_view relative);

}  // namespace nwsim
