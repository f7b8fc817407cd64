#pragma once

#include <string>

namespace retrove {

// The About box's line on the connection: the server, its NetWare version
// and the user, as the NetWare component sees them; or that there is none.
std::string ConnectionLine(bool connected, const std::string& server, const std::string& version,
                           const std::string& user);

}  // namespace retrove
