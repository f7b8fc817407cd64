#pragma once

#include <cstdint>
#include <string>

#include "ClientModules.h"
#include "Object.h"

namespace retrove {

using NWCONN_HANDLE = uint32_t;
using NWCCODE = uint32_t;

// Process-wide state of the calls and connection library binding. The
// client's modules, once loaded, stay loaded until the process ends.
extern TClientModuleHandle CallsLibHandle;
extern TClientModuleHandle ConnLibHandle;
extern NWCONN_HANDLE PrimaryConnHandle;
extern int32_t NWLibResult;  // result of this unit's latest call
extern int32_t NWLibError;   // its latest failing result; never cleared
extern bool DSInUse;

inline constexpr int32_t kModuleNotLoaded = 0xFFFF;

// Loads "CALWIN32.DLL", then "CLXWIN32.DLL", initialises the calls library
// and finds the primary connection.
class TNWLib : public TObject {
public:
  TNWLib();
  std::string ErrorText() const;
};

// The primary connection: the cached one, or asked of the client (0 when
// there is none; the failure is recorded in NWLibError).
NWCONN_HANDLE GetPrimaryConnHandle();

// Both libraries loaded and a primary connection found.
bool NWLibReady();

// Stores a call's result in NWLibResult and, when it failed, in NWLibError.
void RecordNWLibResult(NWCCODE result);

// The name of an object ID (in the server's byte order): the bindery's, or
// with directory services in use the directory's; empty when unknown. A
// connection of 0 means the primary connection.
std::string GetObjectNameByID(NWCONN_HANDLE connection, uint32_t objectID);

// The four bytes of `value` in reverse order, by the client; 0 without it.
uint32_t LongSwap(uint32_t value);

// An object ID as upper-case hexadecimal without leading zeros ("0" for 0).
std::string ObjectIDText(uint32_t objectID);

// An error code as upper-case hexadecimal of at least four digits; a
// negative code shows its 32-bit form (-1 gives FFFFFFFF).
std::string NWErrorCodeText(int32_t code);

}  // namespace retrove
