// Connections and their servers: numbers, names, dates, the preferred
// server and the broadcast state.
#include "NWServer.h"
#include "NwBuffers.h"
#include "Nwnds.h"
#include "Nwtools.h"
#include "nwlib.h"

namespace retrove {

namespace {

using TNWCCGetConnInfo = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer);
using TNWGetConnectionNumber = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint16_t* connNumber);
using TNWGetConnectionInformation = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint16_t connNumber, char* objectName,
                                                    uint16_t* objectType, uint32_t* objectID, uint8_t* loginTime);
using TNWGetFileServerName = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, char* serverName);
using TNWGetFileServerDateAndTime = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint8_t* dateTime);
using TNWGetMaximumConnections = NWCCODE(NWAPI*)(uint16_t* maxConns);
using TNWCCSetPrefServerName = NWCCODE(NWAPI*)(const char* serverName);
using TNWGetConnectionHandle = NWCCODE(NWAPI*)(const char* serverName, uint16_t reserved1, NWCONN_HANDLE* conn,
                                               uint16_t* reserved2);
using TNWSetPrimaryConnectionID = NWCCODE(NWAPI*)(NWCONN_HANDLE conn);
using TNWSetBroadcastMode = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint16_t mode);

TEntrySlot<TNWGetConnectionInformation> GetConnectionInformationSlot("NWGetConnectionInformation");
TEntrySlot<TNWGetFileServerName> GetFileServerNameSlot("NWGetFileServerName");
TEntrySlot<TNWGetFileServerDateAndTime> GetServerDateSlot("NWGetFileServerDateAndTime");
TEntrySlot<TNWGetMaximumConnections> GetMaximumConnectionsSlot("NWGetMaximumConnections");
TEntrySlot<TNWCCSetPrefServerName> SetPrefServerNameSlot("NWCCSetPrefServerName");
TEntrySlot<TNWGetConnectionHandle> GetConnectionHandleSlot("NWGetConnectionHandle");
TEntrySlot<TNWSetPrimaryConnectionID> SetPrimaryConnectionIDSlot("NWSetPrimaryConnectionID");
TEntrySlot<TNWSetBroadcastMode> SetBroadcastModeSlot("NWSetBroadcastMode");

// NWCCGetConnInfo has one slot for its three readers: the module that
// answered first supplies it to all, as long as that module is loaded.
struct TConnInfoSlot {
  TNWCCGetConnInfo Resolve(TClientModuleHandle module) {
    if (!Pointer || (From != CallsLibHandle && From != ConnLibHandle)) {
      Pointer = reinterpret_cast<TNWCCGetConnInfo>(FindClientEntryPoint(module, "NWCCGetConnInfo"));
      From = module;
    }
    return Pointer;
  }

  TNWCCGetConnInfo Pointer = nullptr;
  TClientModuleHandle From = 0;
} ConnInfoSlot;

enum TConnInfoType : uint32_t { kBroadcastStateInfo = 2, kConnectionNumberInfo = 5, kServerNameInfo = 7 };

constexpr size_t kLoginTimeSize = 7;
constexpr size_t kServerDateSize = 7;
constexpr uint16_t kHighestBroadcastMode = 3;

// The server counts years from 1900 in one byte, and bytes below 80 stand
// for 2000 to 2079.
int ServerYear(uint8_t yearByte) {
  return yearByte + (yearByte < 80 ? 2000 : 1900);
}

}  // namespace

uint16_t GetConnectionNumber(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  NWLibResult = -1;
  uint32_t number = 0;
  if (const TNWCCGetConnInfo connInfo = ConnInfoSlot.Resolve(ConnLibHandle)) {
    NWLibResult = static_cast<int32_t>(connInfo(connection, kConnectionNumberInfo, sizeof number, &number));
  } else if (const auto getNumber = reinterpret_cast<TNWGetConnectionNumber>(
                 FindClientEntryPoint(CallsLibHandle, "NWGetConnectionNumber"))) {
    uint16_t shortNumber = 0;
    NWLibResult = static_cast<int32_t>(getNumber(connection, &shortNumber));
    number = shortNumber;
  }
  if (NWLibResult != 0) {
    NWLibError = NWLibResult;
    return 0;
  }
  return static_cast<uint16_t>(number);
}

std::string GetConnectionUserName(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  const TNWGetConnectionInformation getInformation = GetConnectionInformationSlot.Resolve(CallsLibHandle);
  if (!getInformation) return {};
  const uint16_t number = GetConnectionNumber(connection);
  char name[kNameOutputBuffer] = {};
  uint16_t objectType = 1;
  uint32_t objectID = 0;
  uint8_t loginTime[kLoginTimeSize] = {};
  RecordNWLibResult(getInformation(connection, number, name, &objectType, &objectID, loginTime));
  if (NWLibResult != 0) return {};
  return BufferText(name);
}

bool TryGetServerNameOf(NWCONN_HANDLE connection, std::string& name) {
  connection = ConnectionOrPrimary(connection);
  NWLibResult = -1;
  char buffer[kNameOutputBuffer] = {};
  if (const TNWCCGetConnInfo connInfo = ConnInfoSlot.Resolve(ConnLibHandle))
    NWLibResult = static_cast<int32_t>(connInfo(connection, kServerNameInfo, sizeof buffer, buffer));
  else if (const TNWGetFileServerName getName = GetFileServerNameSlot.Resolve(CallsLibHandle))
    NWLibResult = static_cast<int32_t>(getName(connection, buffer));
  if (NWLibResult != 0) {
    NWLibError = NWLibResult;
    return false;
  }
  name = BufferText(buffer);
  return true;
}

std::string GetServerNameOf(NWCONN_HANDLE connection) {
  std::string name;
  return TryGetServerNameOf(connection, name) ? name : kUnknownServerName;
}

TDateTime GetServerDateOf(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  const TDateTime workstationDate = WorkstationDate();
  const TNWGetFileServerDateAndTime getDate = GetServerDateSlot.Resolve(CallsLibHandle);
  if (!getDate) return workstationDate;
  uint8_t dateTime[kServerDateSize] = {};
  RecordNWLibResult(getDate(connection, dateTime));
  TDateTime date = 0;
  if (NWLibResult != 0 || !TryEncodeDate(ServerYear(dateTime[0]), dateTime[1], dateTime[2], date))
    return workstationDate;
  return date;
}

uint16_t GetMaxConnections() {
  const TNWGetMaximumConnections getMaximum = GetMaximumConnectionsSlot.Resolve(CallsLibHandle);
  if (!getMaximum) return 0;
  uint16_t count = 0;
  RecordNWLibResult(getMaximum(&count));
  return NWLibResult == 0 ? count : 0;
}

bool SetPreferredServer(const std::string& name, NWCONN_HANDLE& connection) {
  char serverName[kBinderyNameInput];
  if (!CopyToBuffer(name, serverName)) return false;
  if (const TNWCCSetPrefServerName setPreferred = SetPrefServerNameSlot.Resolve(ConnLibHandle)) {
    NWLibResult = static_cast<int32_t>(setPreferred(serverName));
  } else {
    const TNWGetConnectionHandle getHandle = GetConnectionHandleSlot.Resolve(CallsLibHandle);
    const TNWSetPrimaryConnectionID setPrimary = SetPrimaryConnectionIDSlot.Resolve(CallsLibHandle);
    if (!getHandle || !setPrimary) return false;
    NWCONN_HANDLE handle = 0;
    NWCCODE result = getHandle(serverName, 0, &handle, nullptr);
    if (result == 0) result = setPrimary(handle);
    NWLibResult = static_cast<int32_t>(result);
  }
  if (NWLibResult != 0) {
    NWLibError = NWLibResult;
    return false;
  }
  connection = OpenServerConnection(name);
  if (connection == 0) return false;
  DSInUse = IsDSServer(connection);
  PrimaryConnHandle = connection;
  return true;
}

uint16_t GetBroadcastState(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  const TNWCCGetConnInfo connInfo = ConnInfoSlot.Resolve(CallsLibHandle);
  if (!connInfo) return 0;
  uint32_t state = 0;  // the client's unsigned int
  RecordNWLibResult(connInfo(connection, kBroadcastStateInfo, sizeof state, &state));
  if (NWLibResult != 0 || state > kHighestBroadcastMode) return 0;
  return static_cast<uint16_t>(state);
}

bool SetBroadcastState(NWCONN_HANDLE connection, uint16_t mode) {
  const TNWSetBroadcastMode setMode = SetBroadcastModeSlot.Resolve(CallsLibHandle);
  if (!setMode) return false;
  RecordNWLibResult(setMode(connection, mode));
  return NWLibResult == 0;
}

}  // namespace retrove
