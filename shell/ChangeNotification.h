#pragma once

#include <windows.h>

#include <utility>

namespace retrove {

// Owns one file-system change-notification handle, which is closed with
// FindCloseChangeNotification, not CloseHandle. INVALID_HANDLE_VALUE (what
// FindFirstChangeNotificationA gives on failure) and 0 mean "none".
class TChangeNotification {
public:
  TChangeNotification() = default;
  explicit TChangeNotification(HANDLE handle) : FHandle(handle) {}
  ~TChangeNotification() { Reset(); }
  TChangeNotification(TChangeNotification&& other) noexcept
      : FHandle(std::exchange(other.FHandle, INVALID_HANDLE_VALUE)) {}
  TChangeNotification& operator=(TChangeNotification&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, INVALID_HANDLE_VALUE));
    return *this;
  }
  TChangeNotification(const TChangeNotification&) = delete;
  TChangeNotification& operator=(const TChangeNotification&) = delete;

  HANDLE Get() const { return FHandle; }
  bool Valid() const { return FHandle && FHandle != INVALID_HANDLE_VALUE; }
  // Forgets the handle without closing it.
  HANDLE Release() { return std::exchange(FHandle, INVALID_HANDLE_VALUE); }
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (Valid()) FindCloseChangeNotification(FHandle);
    FHandle = handle;
  }

private:
  HANDLE FHandle = INVALID_HANDLE_VALUE;
};

}  // namespace retrove
