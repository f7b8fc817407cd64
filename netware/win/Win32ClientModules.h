#pragma once

#include "ClientModules.h"

namespace retrove {

// The workstation's client modules, found on the DLL search path. Modules
// are never freed: the client expects to stay loaded for the process's life.
class TWin32ClientModules : public IClientModules {
public:
  TClientModuleHandle Load(const std::string& fileName) override;
  TEntryPoint Find(TClientModuleHandle module, const char* name) override;
};

}  // namespace retrove
