#include "ScanCounter.h"

#include <algorithm>
#include <cstring>

#include "Meters.h"
#include "NWServer.h"

namespace retrove::bench {

namespace {

using TScanForDeletedFiles = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, uint32_t*, uint32_t*, uint32_t*, void*);

TScanForDeletedFiles RealScan = nullptr;
long Calls = 0;
double LongestCall = 0;

NWCCODE NWAPI CountedScan(NWCONN_HANDLE connection, NWDIR_HANDLE dirHandle, uint32_t* iterHandle,
                          uint32_t* volNumber, uint32_t* dirBase, void* entryInfo) {
  ++Calls;
  const double start = Seconds();
  const NWCCODE result = RealScan(connection, dirHandle, iterHandle, volNumber, dirBase, entryInfo);
  LongestCall = std::max(LongestCall, Seconds() - start);
  return result;
}

}  // namespace

TClientModuleHandle TScanCountingModules::Load(const std::string& fileName) {
  return FModules.Load(fileName);
}

TEntryPoint TScanCountingModules::Find(TClientModuleHandle module, const char* name) {
  const TEntryPoint found = FModules.Find(module, name);
  if (!found || std::strcmp(name, "NWScanForDeletedFiles") != 0) return found;
  RealScan = reinterpret_cast<TScanForDeletedFiles>(found);
  return reinterpret_cast<TEntryPoint>(&CountedScan);
}

long TScanCountingModules::ScanCalls() {
  return Calls;
}

double TScanCountingModules::LongestScanMs() {
  return LongestCall * 1000.0;
}

}  // namespace retrove::bench
