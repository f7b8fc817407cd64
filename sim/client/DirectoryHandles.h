#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "Api.h"
#include "ClientPaths.h"

namespace nwsim {

// The connection's directory handles, 1 to 255 as on a real client, so a
// caller that never releases its handles runs out.
class DirectoryHandles {
public:
  // 0 when all are in use.
  NWDIR_HANDLE Allocate(const ServerPlace& place);
  std::optional<ServerPlace> Find(NWDIR_HANDLE handle) const;
  bool Release(NWDIR_HANDLE handle);

private:
  mutable std::mutex FGuard;
  std::array<std::optional<ServerPlace>, 256> FSlots;
};

DirectoryHandles& ConnectionDirectoryHandles();

}  // namespace nwsim
