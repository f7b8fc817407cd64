#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Api.h"
#include "Codes.h"

namespace nwsim {

inline constexpr uint32_t kTypelessNames = 0x04;

struct DirectoryContext {
  uint32_t flags = 0x17;
  std::string nameContext = "[Root]";
};

struct AttributeValue {
  std::string name;
  uint32_t syntax = 0;
  std::string value;
};

// A request or result buffer of the directory calls.
struct DirectoryBuffer {
  uint32_t operation = 0;  // 0 until initialised
  std::vector<std::string> requested;
  std::vector<AttributeValue> results;
  size_t next = 0;
};

// The directory library's per-process objects, by the handles it gave out.
class DirectoryObjects {
public:
  // So that a program that never frees its contexts runs out, as it would
  // on a real workstation.
  static constexpr size_t kMaxContexts = 64;

  // kDSContextCreation (negative) when the limit is reached.
  int32_t NewContext(const DirectoryContext& context);
  size_t ContextCount() const;
  bool FreeContext(int32_t handle);
  // A copy; changes go through Update.
  std::optional<DirectoryContext> Context(int32_t handle) const;
  bool Update(int32_t handle, const DirectoryContext& context);

  DirectoryBuffer* NewBuffer();
  bool FreeBuffer(const void* buffer);
  DirectoryBuffer* Buffer(void* buffer);

private:
  mutable std::mutex FGuard;
  int32_t FNextContext = 1;
  std::map<int32_t, DirectoryContext> FContexts;
  std::map<const void*, std::unique_ptr<DirectoryBuffer>> FBuffers;
};

DirectoryObjects& Directory();

}  // namespace nwsim
