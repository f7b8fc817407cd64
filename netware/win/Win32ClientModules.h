#pragma once

#include "ClientModules.h"

namespace retrove {

// The workstation's client modules, found on the DLL search path. Modules
// are never freed: the client expects to stay loaded for the process's life.
class TWin32ClientModules : public IClientModules {
public:
  TModuleHandle Load(const std::string& fileName) override;
  TEntryPoint Find(TModuleHandle module, const char* name) override;
};

}  // namespace retrove
