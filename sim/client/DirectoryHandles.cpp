#include "DirectoryHandles.h"

namespace nwsim {

NWDIR_HANDLE DirectoryHandles::Allocate(const ServerPlace& place) {
  std::lock_guard<std::mutex> lock(FGuard);
  for (size_t handle = 1; handle < FSlots.size(); ++handle) {
    if (!FSlots[handle]) {
      FSlots[handle] = place;
      return static_cast<NWDIR_HANDLE>(handle);
    }
  }
  return 0;
}

std::optional<ServerPlace> DirectoryHandles::Find(NWDIR_HANDLE handle) const {
  std::lock_guard<std::mutex> lock(FGuard);
  return handle == 0 ? std::nullopt : FSlots[handle];
}

bool DirectoryHandles::Release(NWDIR_HANDLE handle) {
  std::lock_guard<std::mutex> lock(FGuard);
  if (handle == 0 || !FSlots[handle]) return false;
  FSlots[handle].reset();
  return true;
}

DirectoryHandles& ConnectionDirectoryHandles() {
  static DirectoryHandles handles;
  return handles;
}

}  // namespace nwsim
