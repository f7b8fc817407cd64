// Calls library: initialisation, connections, the bindery and the server's
// own information.
#include <algorithm>
#include <cstring>

#include "ClientBase.h"
#include "ConnectionInfo.h"
#include "Text.h"

using namespace nwsim;

namespace {

constexpr size_t kObjectNameCapacity = 48;
constexpr uint16_t kAnyType = 0xFFFF;

const BinderyObject* LoggedInUser(const State& state) { return state.FindObject(state.currentUser); }

// The bindery knows no object that lives in directory services only.
const BinderyObject* InBindery(const BinderyObject* object) {
  return object && !object->directoryOnly ? object : nullptr;
}

uint8_t& ErrorMode() {
  static uint8_t mode = 0;
  return mode;
}

}  // namespace

extern "C" {

NWCCODE NWCALL NWCallsInit(void* reserved1, void* reserved2) {
  (void)reserved1;
  (void)reserved2;
  return RunEntryPoint("NWCallsInit", [] { return kOk; }, kNoConnectionToServer);
}

NWCCODE NWCALL NWGetPrimaryConnectionID(NWCONN_HANDLE* conn) {
  return RunEntryPoint("NWGetPrimaryConnectionID", [&]() -> NWCCODE {
    if (!conn) return kInvalidParameter;
    *conn = PrimaryConnection(CurrentServer().Current()->state);
    return kOk;
  }, kNoConnectionToServer);
}

NWCCODE NWCALL NWSetPrimaryConnectionID(NWCONN_HANDLE conn) {
  return RunEntryPoint("NWSetPrimaryConnectionID", [&]() -> NWCCODE {
    std::optional<ConnectedServer> server = ServerOfConnection(CurrentServer().Current()->state, conn);
    if (!server) return kInvalidConnection;
    SetPrimaryServer(server->identity->name);
    return kOk;
  });
}

NWCCODE NWCALL NWGetConnectionHandle(const char* serverName, uint16_t reserved1, NWCONN_HANDLE* conn,
                                     uint16_t* reserved2) {
  (void)reserved1;
  (void)reserved2;
  return RunEntryPoint("NWGetConnectionHandle", [&]() -> NWCCODE {
    std::optional<std::string> name = ReadText(serverName, kObjectNameCapacity - 1);
    if (!name || !conn) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    std::optional<NWCONN_HANDLE> found = ConnectionOfServer(state, *name);
    if (!found) return kNoConnectionToServer;
    CountOpen(ServerOfConnection(state, *found).value().identity->name);
    *conn = *found;
    return kOk;
  });
}

uint32_t NWCALL NWLongSwap(uint32_t value) { return WireOrder(value); }

NWCCODE NWCALL NWGetObjectName(NWCONN_HANDLE conn, uint32_t objectID, char* objectName, uint16_t* objectType) {
  return RunEntryPoint("NWGetObjectName", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!objectName) return kInvalidParameter;
    const BinderyObject* object = InBindery(CurrentServer().Current()->state.FindObject(WireOrder(objectID)));
    if (!object) return kNoSuchObject;
    if (!WriteText(objectName, kObjectNameCapacity, object->name)) return kInvalidParameter;
    if (objectType) *objectType = WireOrder16(object->type);
    return kOk;
  });
}

NWCCODE NWCALL NWGetObjectID(NWCONN_HANDLE conn, const char* objectName, uint16_t objectType, uint32_t* objectID) {
  return RunEntryPoint("NWGetObjectID", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    std::optional<std::string> name = ReadText(objectName, kObjectNameCapacity - 1);
    if (!name || !objectID) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    const BinderyObject* object = InBindery(objectType == kAnyType ? state.FindObjectByName(*name)
                                                                   : state.FindObject(*name, WireOrder16(objectType)));
    if (!object) return kNoSuchObject;
    *objectID = WireOrder(object->id);
    return kOk;
  });
}

NWCCODE NWCALL NWGetConnectionNumber(NWCONN_HANDLE conn, uint16_t* connNumber) {
  return RunEntryPoint("NWGetConnectionNumber", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!connNumber) return kInvalidParameter;
    *connNumber = ServerOfConnection(CurrentServer().Current()->state, conn).value().identity->connectionNumber;
    return kOk;
  });
}

NWCCODE NWCALL NWGetConnectionInformation(NWCONN_HANDLE conn, uint16_t connNumber, char* objectName,
                                          uint16_t* objectType, uint32_t* objectID, uint8_t* loginTime) {
  return RunEntryPoint("NWGetConnectionInformation", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    const State& state = CurrentServer().Current()->state;
    const BinderyObject* user = LoggedInUser(state);
    if (connNumber != ServerOfConnection(state, conn).value().identity->connectionNumber || !user) return kFailure;
    if (objectName && !WriteText(objectName, kObjectNameCapacity, user->name)) return kInvalidParameter;
    if (objectType) *objectType = WireOrder16(user->type);
    if (objectID) *objectID = WireOrder(user->id);
    if (loginTime) {
      DateTimeParts now = CurrentDateTime();
      const int parts[] = {now.year - 1900, now.month, now.day, now.hour, now.minute, now.second, 0};
      for (int i = 0; i < 7; ++i) loginTime[i] = static_cast<uint8_t>(parts[i]);
    }
    return kOk;
  });
}

NWCCODE NWCALL NWCheckConsolePrivileges(NWCONN_HANDLE conn) {
  return RunEntryPoint("NWCheckConsolePrivileges", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    const BinderyObject* user = LoggedInUser(CurrentServer().Current()->state);
    return user && user->IsConsoleOperator() ? kOk : kNoConsolePrivileges;
  });
}

NWCCODE NWCALL NWIsManager(NWCONN_HANDLE conn) {
  return RunEntryPoint("NWIsManager", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    const BinderyObject* user = LoggedInUser(CurrentServer().Current()->state);
    return user && user->IsManager() ? kOk : kFailure;
  });
}

NWCCODE NWCALL NWReadPropertyValue(NWCONN_HANDLE conn, const char* objectName, uint16_t objectType,
                                   const char* propertyName, uint8_t segmentNumber, uint8_t* segmentData,
                                   uint8_t* moreSegments, uint8_t* flags) {
  return RunEntryPoint("NWReadPropertyValue", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    std::optional<std::string> name = ReadText(objectName, kObjectNameCapacity - 1);
    std::optional<std::string> property = ReadText(propertyName, 15);
    if (!name || !property || !segmentData) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    const BinderyObject* object = InBindery(state.FindObject(*name, WireOrder16(objectType)));
    if (!object) return kNoSuchObject;
    if (!EqualNoCase(*property, "IDENTIFICATION") || segmentNumber != 1) return kNoSuchProperty;
    std::memset(segmentData, 0, 128);
    std::memcpy(segmentData, object->fullName.data(), std::min<size_t>(object->fullName.size(), 127));
    if (moreSegments) *moreSegments = 0;
    if (flags) *flags = 0;
    return kOk;
  });
}

NWCCODE NWCALL NWCCGetConnInfo(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer) {
  return GetConnectionInfo(conn, infoType, length, buffer);
}

NWCCODE NWCALL NWSetBroadcastMode(NWCONN_HANDLE conn, uint16_t mode) {
  return RunEntryPoint("NWSetBroadcastMode", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (mode > 3) return kInvalidParameter;
    SetBroadcastMode(mode);
    return kOk;
  });
}

NWCCODE NWCALL NWSetNetWareErrorMode(uint8_t errorMode, uint8_t* previousMode) {
  return RunEntryPoint("NWSetNetWareErrorMode", [&]() -> NWCCODE {
    if (errorMode > 2 || !previousMode) return kInvalidParameter;
    *previousMode = ErrorMode();
    ErrorMode() = errorMode;
    return kOk;
  });
}

}  // extern "C"
