#include "Calls.h"

#include <doctest/doctest.h>

#include <vector>

uint32_t Get32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }
uint16_t Get16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

std::string NameOf(const ScannedEntry& e) {
  return std::string(reinterpret_cast<const char*>(e.record + 16), e.record[15]);
}

CallsLibrary::CallsLibrary()
    : parse(EntryPoint<NWParseNetWarePathFn>("CALWIN32.DLL", "NWParseNetWarePath")),
      alloc(EntryPoint<NWAllocTemporaryDirectoryHandleFn>("CALWIN32.DLL", "NWAllocTemporaryDirectoryHandle")),
      scan(EntryPoint<NWScanForDeletedFilesFn>("CALWIN32.DLL", "NWScanForDeletedFiles")),
      recover(EntryPoint<NWRecoverDeletedFileFn>("CALWIN32.DLL", "NWRecoverDeletedFile")),
      purge(EntryPoint<NWPurgeDeletedFileFn>("CALWIN32.DLL", "NWPurgeDeletedFile")),
      dealloc(EntryPoint<NWDeallocateDirectoryHandleFn>("CALWIN32.DLL", "NWDeallocateDirectoryHandle")),
      unpack(EntryPoint<NWUnpackDateTimeFn>("CALWIN32.DLL", "NWUnpackDateTime")),
      objectName(EntryPoint<NWGetObjectNameFn>("CALWIN32.DLL", "NWGetObjectName")),
      longSwap(EntryPoint<NWLongSwapFn>("CALWIN32.DLL", "NWLongSwap")) {
  uint32_t scratch = 0;
  REQUIRE(EntryPoint<NWCallsInitFn>("CALWIN32.DLL", "NWCallsInit")(&scratch, &scratch) == 0);
  uint32_t ref = 0;
  REQUIRE(EntryPoint<NWCCGetPrimConnRefFn>("CLXWIN32.DLL", "NWCCGetPrimConnRef")(&ref) == 0);
  REQUIRE(EntryPoint<NWCCOpenConnByRefFn>("CLXWIN32.DLL", "NWCCOpenConnByRef")(ref, 1, 0, &conn) == 0);
  REQUIRE(conn != 0);
}

NWCCODE CallsLibrary::Open(const char* drivePath, uint8_t& handle) {
  char serverPath[256] = {};
  uint32_t pathConn = conn;
  uint8_t unused = 0;
  handle = 0;
  if (NWCCODE code = parse(drivePath, &pathConn, &unused, serverPath)) return code;
  uint8_t rights = 0;
  return alloc(pathConn, 0, serverPath, &handle, &rights);
}

std::vector<ScannedEntry> CallsLibrary::ScanAll(uint8_t handle) {
  std::vector<ScannedEntry> entries;
  ScannedEntry e;
  e.iterHandle = 0xFFFFFFFF;
  while (scan(conn, handle, &e.iterHandle, &e.volume, &e.dirBase, e.record) == 0) entries.push_back(e);
  return entries;
}
