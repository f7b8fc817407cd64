#include "nwlib.h"

#include <cstdio>

#include "NwBuffers.h"
#include "Nwnds.h"

namespace retrove {

TClientModuleHandle CallsLibHandle = 0;
TClientModuleHandle ConnLibHandle = 0;
NWCONN_HANDLE PrimaryConnHandle = 0;
int32_t NWLibResult = 0;
int32_t NWLibError = 0;
bool DSInUse = false;

namespace {

using TNWCallsInit = NWCCODE(NWAPI*)(void* reserved1, void* reserved2);
using TNWCCGetPrimConnRef = NWCCODE(NWAPI*)(uint32_t* connRef);
using TNWCCOpenConnByRef = NWCCODE(NWAPI*)(uint32_t connRef, uint32_t openState, uint32_t reserved,
                                           NWCONN_HANDLE* connHandle);
using TNWGetPrimaryConnectionID = NWCCODE(NWAPI*)(NWCONN_HANDLE* connHandle);
using TNWGetObjectName = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint32_t objectID, char* name, uint16_t* objectType);
using TNWLongSwap = uint32_t(NWAPI*)(uint32_t value);

TEntrySlot<TNWCallsInit> NWCallsInitSlot("NWCallsInit");
TEntrySlot<TNWCCGetPrimConnRef> NWCCGetPrimConnRefSlot("NWCCGetPrimConnRef");
TEntrySlot<TNWGetPrimaryConnectionID> NWGetPrimaryConnectionIDSlot("NWGetPrimaryConnectionID");
TEntrySlot<TNWGetObjectName> NWGetObjectNameSlot("NWGetObjectName");
TEntrySlot<TNWLongSwap> NWLongSwapSlot("NWLongSwap");

constexpr uint32_t kOpenStateNotLoggedIn = 1;
}  // namespace

void RecordNWLibResult(NWCCODE result) {
  NWLibResult = static_cast<int32_t>(result);
  if (result != 0) NWLibError = NWLibResult;
}

TNWLib::TNWLib() {
  PrimaryConnHandle = 0;
  NWLibError = 0;
  CallsLibHandle = 0;
  ConnLibHandle = 0;
  DSInUse = false;

  CallsLibHandle = LoadClientModule("CALWIN32.DLL");
  if (!CallsLibHandle) {
    NWLibError = kModuleNotLoaded;
    return;
  }
  ConnLibHandle = LoadClientModule("CLXWIN32.DLL");
  if (!ConnLibHandle) {
    NWLibError = kModuleNotLoaded;
    return;
  }
  const TNWCallsInit callsInit = NWCallsInitSlot.Resolve(CallsLibHandle);
  if (!callsInit) return;
  uint32_t scratch = 0;
  if (callsInit(&scratch, &scratch) == 0) PrimaryConnHandle = GetPrimaryConnHandle();
}

std::string TNWLib::ErrorText() const {
  return NWErrorCodeText(NWLibError);
}

NWCONN_HANDLE GetPrimaryConnHandle() {
  if (PrimaryConnHandle != 0) return PrimaryConnHandle;
  NWLibResult = -1;
  NWCONN_HANDLE handle = 0;
  if (const TNWCCGetPrimConnRef getRef = NWCCGetPrimConnRefSlot.Resolve(ConnLibHandle)) {
    uint32_t connRef = 0;
    if (getRef(&connRef) == 0) {
      // Looked up afresh on every call that gets this far.
      const auto openByRef =
          reinterpret_cast<TNWCCOpenConnByRef>(FindClientEntryPoint(ConnLibHandle, "NWCCOpenConnByRef"));
      if (openByRef) NWLibResult = static_cast<int32_t>(openByRef(connRef, kOpenStateNotLoggedIn, 0, &handle));
    }
  } else if (const TNWGetPrimaryConnectionID getID = NWGetPrimaryConnectionIDSlot.Resolve(CallsLibHandle)) {
    NWLibResult = static_cast<int32_t>(getID(&handle));
  }
  if (NWLibResult != 0) {
    NWLibError = NWLibResult;
    return 0;
  }
  return handle;
}

NWCONN_HANDLE ConnectionOrPrimary(NWCONN_HANDLE connection) {
  return connection != 0 ? connection : GetPrimaryConnHandle();
}

bool NWLibReady() {
  return CallsLibHandle != 0 && ConnLibHandle != 0 && GetPrimaryConnHandle() != 0;
}

std::string GetObjectNameByID(NWCONN_HANDLE connection, uint32_t objectID) {
  connection = ConnectionOrPrimary(connection);
  std::string name;
  if (const TNWGetObjectName getName = NWGetObjectNameSlot.Resolve(CallsLibHandle)) {
    char buffer[kNameOutputBuffer] = {};
    uint16_t objectType = 0;
    const NWCCODE result = getName(connection, objectID, buffer, &objectType);
    if (result != 0)
      RecordNWLibResult(result);
    else
      name = BufferText(buffer);
  }
  if (name.empty() && DSInUse) name = MapIDToName(connection, objectID);
  return name;
}

uint32_t LongSwap(uint32_t value) {
  const TNWLongSwap swap = NWLongSwapSlot.Resolve(CallsLibHandle);
  return swap ? swap(value) : 0;
}

std::string ObjectIDText(uint32_t objectID) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(objectID));
  return text;
}

std::string NWErrorCodeText(int32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(static_cast<uint32_t>(code)));
  return text;
}

}  // namespace retrove
