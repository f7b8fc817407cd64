#include "BareClient.h"

#include <cstdio>

namespace retrove::bench {

namespace {

using TParseNetWarePath = NWCCODE(NWAPI*)(const char*, NWCONN_HANDLE*, NWDIR_HANDLE*, char*);
using TAllocTemporaryDirectoryHandle = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, const char*, NWDIR_HANDLE*,
                                                       uint8_t*);
using TDeallocateDirectoryHandle = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE);

}  // namespace

TEntryPoint FindBareEntryPoint(const char* name) {
  static const TClientModuleHandle calls = LoadClientModule("CALWIN32.DLL");
  return FindClientEntryPoint(calls, name);
}

TBareFolder::~TBareFolder() {
  if (FHandle == 0) return;
  if (const auto deallocate = BareEntryPoint<TDeallocateDirectoryHandle>("NWDeallocateDirectoryHandle"))
    deallocate(FConnection, FHandle);
}

bool TBareFolder::Open(const std::string& folder) {
  const auto parse = BareEntryPoint<TParseNetWarePath>("NWParseNetWarePath");
  const auto allocate = BareEntryPoint<TAllocTemporaryDirectoryHandle>("NWAllocTemporaryDirectoryHandle");
  if (!parse || !allocate || !BareEntryPoint<TDeallocateDirectoryHandle>("NWDeallocateDirectoryHandle")) {
    std::fprintf(stderr, "listing_bench: the client modules are not on the path\n");
    return false;
  }
  std::string path = folder;
  for (char& c : path) c = c == '\\' ? '/' : c;
  NWDIR_HANDLE parsed = 0;
  char serverPath[256] = {};
  uint8_t rights = 0;
  if (parse(path.c_str(), &FConnection, &parsed, serverPath) != 0 ||
      allocate(FConnection, 0, serverPath, &FHandle, &rights) != 0) {
    FHandle = 0;
    std::fprintf(stderr, "listing_bench: %s is not a folder on the server\n", folder.c_str());
    return false;
  }
  return true;
}

}  // namespace retrove::bench
