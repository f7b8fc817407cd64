#include "ConnectionInfo.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ClientBase.h"

namespace nwsim {

namespace {

enum InfoType : uint32_t {
  kInfoBroadcastState = 2,
  kInfoConnectionNumber = 5,
  kInfoServerName = 7,
};

// A number goes out in as many bytes as the caller asked for (1, 2 or 4).
NWCCODE WriteNumber(uint32_t value, uint32_t length, void* buffer) {
  if (length != 1 && length != 2 && length != 4) return kInvalidParameter;
  uint8_t bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  if (value >> (8 * (length % 4)) && length < 4) return kInvalidParameter;
  std::memcpy(buffer, bytes, length);
  return kOk;
}

}  // namespace

constexpr const char* kBroadcastModeVariable = "NWSIM_BROADCAST_MODE";

uint16_t BroadcastMode() {
  char mode[8] = {};
  const DWORD length = GetEnvironmentVariableA(kBroadcastModeVariable, mode, sizeof mode);
  return length > 0 && length < sizeof mode ? static_cast<uint16_t>(std::atoi(mode)) : 0;
}

void SetBroadcastMode(uint16_t mode) {
  SetEnvironmentVariableA(kBroadcastModeVariable, std::to_string(mode).c_str());
}

NWCCODE GetConnectionInfo(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer) {
  return RunEntryPoint("NWCCGetConnInfo", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!buffer) return kInvalidParameter;
    const ServerIdentity& server = *ServerOfConnection(CurrentServer().Current()->state, conn).value().identity;
    switch (infoType) {
      case kInfoBroadcastState: return WriteNumber(BroadcastMode(), length, buffer);
      case kInfoConnectionNumber: return WriteNumber(server.connectionNumber, length, buffer);
      case kInfoServerName: return WriteText(static_cast<char*>(buffer), length, server.name) ? kOk : kInvalidParameter;
      default: return kInvalidParameter;
    }
  });
}

}  // namespace nwsim
