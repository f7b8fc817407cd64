#include "DirectoryState.h"

namespace nwsim {

int32_t DirectoryObjects::NewContext(const DirectoryContext& context) {
  std::lock_guard<std::mutex> lock(FGuard);
  if (FContexts.size() >= kMaxContexts) return static_cast<int32_t>(kDSContextCreation);
  int32_t handle = FNextContext++;
  FContexts[handle] = context;
  return handle;
}

size_t DirectoryObjects::ContextCount() const {
  std::lock_guard<std::mutex> lock(FGuard);
  return FContexts.size();
}

bool DirectoryObjects::FreeContext(int32_t handle) {
  std::lock_guard<std::mutex> lock(FGuard);
  return FContexts.erase(handle) == 1;
}

std::optional<DirectoryContext> DirectoryObjects::Context(int32_t handle) const {
  std::lock_guard<std::mutex> lock(FGuard);
  auto it = FContexts.find(handle);
  if (it == FContexts.end()) return std::nullopt;
  return it->second;
}

bool DirectoryObjects::Update(int32_t handle, const DirectoryContext& context) {
  std::lock_guard<std::mutex> lock(FGuard);
  auto it = FContexts.find(handle);
  if (it == FContexts.end()) return false;
  it->second = context;
  return true;
}

DirectoryBuffer* DirectoryObjects::NewBuffer() {
  std::lock_guard<std::mutex> lock(FGuard);
  auto buffer = std::make_unique<DirectoryBuffer>();
  DirectoryBuffer* raw = buffer.get();
  FBuffers[raw] = std::move(buffer);
  return raw;
}

bool DirectoryObjects::FreeBuffer(const void* buffer) {
  std::lock_guard<std::mutex> lock(FGuard);
  return FBuffers.erase(buffer) == 1;
}

DirectoryBuffer* DirectoryObjects::Buffer(void* buffer) {
  std::lock_guard<std::mutex> lock(FGuard);
  auto it = FBuffers.find(buffer);
  return it == FBuffers.end() ? nullptr : it->second.get();
}

DirectoryObjects& Directory() {
  static DirectoryObjects objects;
  return objects;
}

}  // namespace nwsim
