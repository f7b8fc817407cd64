#pragma once

#include "Win32ClientModules.h"

namespace retrove::bench {

// The workstation's client modules with every NWScanForDeletedFiles call
// counted on its way to the client.
class TScanCountingModules : public IClientModules {
public:
  TClientModuleHandle Load(const std::string& fileName) override;
  TEntryPoint Find(TClientModuleHandle module, const char* name) override;

  static long ScanCalls();

private:
  TWin32ClientModules FModules;
};

}  // namespace retrove::bench
