#pragma once

#include "Win32ClientModules.h"

namespace retrove::bench {

// The workstation's client modules with every NWScanForDeletedFiles call
// counted and timed on its way to the client: a window cannot answer while
// one call is under way, however the program is built.
class TScanCountingModules : public IClientModules {
public:
  TClientModuleHandle Load(const std::string& fileName) override;
  TEntryPoint Find(TClientModuleHandle module, const char* name) override;

  static long ScanCalls();
  // The longest single call so far.
  static double LongestScanMs();

private:
  TWin32ClientModules FModules;
};

}  // namespace retrove::bench
