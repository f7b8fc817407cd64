#include "AboutText.h"

namespace retrove {

namespace {

// An em dash in the Windows ANSI code page the program's texts are in.
constexpr const char* kDash = " \x97 ";

}  // namespace

std::string ConnectionLine(bool connected, const std::string& server, const std::string& version,
                           const std::string& user) {
  if (!connected) return "No server is connected.";
  std::string line = server + kDash + "NetWare " + version;
  if (!user.empty()) line += kDash + user;
  return line;
}

}  // namespace retrove
