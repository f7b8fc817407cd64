// Connection library: the primary connection, connections by reference and
// by name, the preferred server.
#include "ClientBase.h"
#include "ConnectionInfo.h"
#include "Text.h"

using namespace nwsim;

namespace {

constexpr size_t kMaxServerName = 47;
constexpr uint32_t kBinderyNameFormat = 2;
constexpr uint32_t kDirectoryNameFormat = 1;

}  // namespace

extern "C" {

NWCCODE NWCALL NWCCGetPrimConnRef(uint32_t* connRef) {
  return RunEntryPoint("NWCCGetPrimConnRef", [&]() -> NWCCODE {
    if (!connRef) return kInvalidParameter;
    *connRef = kConnectionReference;
    return kOk;
  }, kNoConnectionToServer);
}

NWCCODE NWCALL NWCCOpenConnByRef(uint32_t connRef, uint32_t openState, uint32_t reserved, NWCONN_HANDLE* conn) {
  (void)openState;
  (void)reserved;
  return RunEntryPoint("NWCCOpenConnByRef", [&]() -> NWCCODE {
    if (!conn) return kInvalidParameter;
    if (connRef != kConnectionReference) return kInvalidConnection;
    *conn = PrimaryConnection(CurrentServer().Current()->state);
    return kOk;
  });
}

NWCCODE NWCALL NWCCOpenConnByName(NWCONN_HANDLE startConn, const char* name, uint32_t nameFormat, uint32_t openState,
                                  uint32_t transportType, NWCONN_HANDLE* conn) {
  (void)openState;
  (void)transportType;
  return RunEntryPoint("NWCCOpenConnByName", [&]() -> NWCCODE {
    if (startConn && CheckConnection(startConn)) return kInvalidConnection;
    std::optional<std::string> wanted = ReadText(name, kMaxServerName);
    if (!wanted || !conn || (nameFormat != kBinderyNameFormat && nameFormat != kDirectoryNameFormat))
      return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    std::optional<NWCONN_HANDLE> found = ConnectionOfServer(state, *wanted);
    if (!found && nameFormat == kDirectoryNameFormat && !state.treeName.empty() && EqualNoCase(*wanted, state.treeName))
      found = kConnectionHandle;
    if (!found) return kNoConnectionToServer;
    CountOpen(ServerOfConnection(state, *found).value().identity->name);
    *conn = *found;
    return kOk;
  });
}

NWCCODE NWCALL NWCCGetConnInfo(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer) {
  return GetConnectionInfo(conn, infoType, length, buffer);
}

// Like the real client, the name is taken on trust; a server that does not
// exist shows when a connection to it is opened. A known one becomes the
// primary server.
NWCCODE NWCALL NWCCSetPrefServerName(const char* serverName) {
  return RunEntryPoint("NWCCSetPrefServerName", [&]() -> NWCCODE {
    std::optional<std::string> name = ReadText(serverName, kMaxServerName);
    if (!name || name->empty()) return kInvalidParameter;
    if (ConnectionOfServer(CurrentServer().Current()->state, *name)) SetPrimaryServer(*name);
    return kOk;
  });
}

}  // extern "C"
