#pragma once

#include <windows.h>

#include <utility>

namespace retrove {

// Owns a kernel object handle (thread, event, file, ...) and closes it once.
// Both 0 and INVALID_HANDLE_VALUE mean "none".
class TKernelHandle {
public:
  TKernelHandle() = default;
  explicit TKernelHandle(HANDLE handle) : FHandle(handle) {}
  ~TKernelHandle() { Reset(); }
  TKernelHandle(TKernelHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TKernelHandle& operator=(TKernelHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FHandle, nullptr));
    return *this;
  }
  TKernelHandle(const TKernelHandle&) = delete;
  TKernelHandle& operator=(const TKernelHandle&) = delete;

  HANDLE Get() const { return FHandle; }
  bool Valid() const { return FHandle && FHandle != INVALID_HANDLE_VALUE; }
  HANDLE Release() { return std::exchange(FHandle, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) CloseHandle(FHandle);
    FHandle = handle;
  }

private:
  HANDLE FHandle = nullptr;
};

}  // namespace retrove
