#pragma once

#include <string>
#include <vector>

#include "ClientModules.h"

// The calls-library entry points the tests drive, with the SDK's argument
// lists.
using NWCallsInitFn = NWCCODE(NWCALL*)(void*, void*);
using NWCCGetPrimConnRefFn = NWCCODE(NWCALL*)(uint32_t*);
using NWCCOpenConnByRefFn = NWCCODE(NWCALL*)(uint32_t, uint32_t, uint32_t, uint32_t*);
using NWParseNetWarePathFn = NWCCODE(NWCALL*)(const char*, uint32_t*, uint8_t*, char*);
using NWAllocTemporaryDirectoryHandleFn = NWCCODE(NWCALL*)(uint32_t, uint8_t, const char*, uint8_t*, uint8_t*);
using NWScanForDeletedFilesFn = NWCCODE(NWCALL*)(uint32_t, uint8_t, uint32_t*, uint32_t*, uint32_t*, void*);
using NWRecoverDeletedFileFn = NWCCODE(NWCALL*)(uint32_t, uint8_t, uint32_t, uint32_t, uint32_t, const char*,
                                                const char*);
using NWPurgeDeletedFileFn = NWCCODE(NWCALL*)(uint32_t, uint8_t, uint32_t, uint32_t, uint32_t, const char*);
using NWDeallocateDirectoryHandleFn = NWCCODE(NWCALL*)(uint32_t, uint8_t);
using NWUnpackDateTimeFn = void(NWCALL*)(uint32_t, NW_DATE*, NW_TIME*);
using NWGetObjectNameFn = NWCCODE(NWCALL*)(uint32_t, uint32_t, char*, uint16_t*);
using NWLongSwapFn = uint32_t(NWCALL*)(uint32_t);

// One entry of a folder's scan, read from the record at the offsets the
// client's deleted-entry record has.
struct ScannedEntry {
  uint32_t iterHandle = 0;
  uint32_t volume = 0;
  uint32_t dirBase = 0;
  uint8_t record[376] = {};
};

uint32_t Get32(const uint8_t* at);
uint16_t Get16(const uint8_t* at);
std::string NameOf(const ScannedEntry& e);

// The library's entry points, looked up once, and the primary connection.
struct CallsLibrary {
  CallsLibrary();
  // The folder's temporary directory handle (0 when refused) and the code.
  NWCCODE Open(const char* drivePath, uint8_t& handle);
  std::vector<ScannedEntry> ScanAll(uint8_t handle);

  uint32_t conn = 0;
  NWParseNetWarePathFn parse;
  NWAllocTemporaryDirectoryHandleFn alloc;
  NWScanForDeletedFilesFn scan;
  NWRecoverDeletedFileFn recover;
  NWPurgeDeletedFileFn purge;
  NWDeallocateDirectoryHandleFn dealloc;
  NWUnpackDateTimeFn unpack;
  NWGetObjectNameFn objectName;
  NWLongSwapFn longSwap;
};
