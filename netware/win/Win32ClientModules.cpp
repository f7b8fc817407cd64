#include "Win32ClientModules.h"

#include <windows.h>

namespace retrove {

TClientModuleHandle TWin32ClientModules::Load(const std::string& fileName) {
  // No "cannot find module" dialog on a workstation without the client.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(fileName.c_str());
  SetErrorMode(oldMode);
  return reinterpret_cast<TClientModuleHandle>(module);
}

TEntryPoint TWin32ClientModules::Find(TClientModuleHandle module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<TEntryPoint>(
      reinterpret_cast<void (*)()>(GetProcAddress(reinterpret_cast<HMODULE>(module), name)));
}

}  // namespace retrove
