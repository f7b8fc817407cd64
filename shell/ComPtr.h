#pragma once

#include <windows.h>

#include <utility>

namespace retrove {

// Holds one reference to a COM object and releases it once.
template <class T>
class TComPtr {
public:
  TComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit TComPtr(T* object) : FObject(object) {}
  ~TComPtr() { Reset(); }
  TComPtr(TComPtr&& other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FObject, nullptr));
    return *this;
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;

  T* Get() const { return FObject; }
  T* operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }
  T* Release() { return std::exchange(FObject, nullptr); }
  void Reset(T* object = nullptr) {
    if (FObject) FObject->Release();
    FObject = object;
  }
  // For out parameters: drops what is held and gives the slot to fill.
  T** Put() {
    Reset();
    return &FObject;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

private:
  T* FObject = nullptr;
};

}  // namespace retrove
