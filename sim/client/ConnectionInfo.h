#pragma once

#include "Api.h"

namespace nwsim {

// NWCCGetConnInfo, which both the calls and the connection library answer.
NWCCODE GetConnectionInfo(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer);

// The broadcast mode set on this process's connection.
uint16_t& BroadcastMode();

}  // namespace nwsim
