#include "VersionInfo.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace retrove {

std::string ProductVersion(const std::string& path) {
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &unused);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return {};
  void* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\ProductVersion", &text, &length)) return {};
  return {static_cast<const char*>(text), strnlen(static_cast<const char*>(text), length)};
}

std::string ProgramVersion() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return {};
  return ProductVersion(path);
}

}  // namespace retrove
