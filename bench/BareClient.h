#pragma once

#include <string>

#include "ClientModules.h"
#include "NWServer.h"

namespace retrove::bench {

using TScanForDeletedFiles = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, uint32_t*, uint32_t*, uint32_t*, void*);
using TRecoverDeletedFile = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, uint32_t, uint32_t, uint32_t, char*, char*);
using TPurgeDeletedFile = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, uint32_t, uint32_t, uint32_t, const char*);

// An entry point of the client's CALWIN32.DLL; null when it is absent.
TEntryPoint FindBareEntryPoint(const char* name);

template <class Fn>
Fn BareEntryPoint(const char* name) {
  return reinterpret_cast<Fn>(FindBareEntryPoint(name));
}

// One folder of the server opened straight through the client's calls: the
// floor the program's listing and recovery are measured against.
class TBareFolder {
public:
  TBareFolder() = default;
  ~TBareFolder();
  TBareFolder(const TBareFolder&) = delete;
  TBareFolder& operator=(const TBareFolder&) = delete;

  // False, with a line on stderr, when the client or the folder cannot be
  // found.
  bool Open(const std::string& folder);

  NWCONN_HANDLE Connection() const { return FConnection; }
  NWDIR_HANDLE Handle() const { return FHandle; }

private:
  NWCONN_HANDLE FConnection = 0;
  NWDIR_HANDLE FHandle = 0;
};

}  // namespace retrove::bench
