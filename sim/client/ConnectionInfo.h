#pragma once

#include "Api.h"

namespace nwsim {

// NWCCGetConnInfo, which both the calls and the connection library answer.
NWCCODE GetConnectionInfo(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer);

// The broadcast mode set on this process's connections. Both libraries
// answer for it, so it is kept where both see it.
uint16_t BroadcastMode();
void SetBroadcastMode(uint16_t mode);

}  // namespace nwsim
