// The fake calls and connection libraries' entries for connections, the
// bindery, the server's description and clock, and the workstation.
#include <algorithm>
#include <cstring>

#include "FakeClient.h"

namespace fake {

namespace {

using retrove::NWCONN_HANDLE;

constexpr uint32_t kInvalidConnection = 0x8801;
constexpr uint32_t kBufferOverflow = 0x880E;
constexpr uint32_t kNoSuchServer = 0x880F;
constexpr uint32_t kInvalidParameter = 0x8836;
constexpr uint32_t kNoConsoleRights = 0x89C6;
constexpr uint32_t kNoSuchObject = 0x89FC;
constexpr uint32_t kNoSuchProperty = 0x89FB;
constexpr uint32_t kFailure = 0x89FF;

bool KnownConnection(NWCONN_HANDLE conn) {
  return std::any_of(Server.ServerConnections.begin(), Server.ServerConnections.end(),
                     [&](const auto& server) { return server.second == conn; });
}

// The primary connection's server is ServerName, whatever it is called.
std::string ServerOf(NWCONN_HANDLE conn) {
  if (conn == Server.PrimaryConnection) return Server.ServerName;
  for (const auto& [name, handle] : Server.ServerConnections)
    if (handle == conn) return name;
  return {};
}

const TFakeObject* FindObject(const char* name, uint16_t typeCode) {
  for (const TFakeObject& object : Server.Bindery)
    if (object.Name == name && object.TypeCode == typeCode) return &object;
  return nullptr;
}

void WriteName(char* out, const std::string& name) {
  std::memcpy(out, name.c_str(), name.size() + 1);
}

// Numbers go out as the client's unsigned int, names whole: a buffer the
// caller says is too small is refused rather than overrun.
uint32_t NWAPI GetConnInfo(NWCONN_HANDLE conn, uint32_t infoType, uint32_t length, void* buffer) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  if (const uint32_t failure = Failure("NWCCGetConnInfo")) return failure;
  const auto putNumber = [&](uint32_t value) {
    if (length != sizeof value) return kBufferOverflow;
    std::memcpy(buffer, &value, sizeof value);
    return 0u;
  };
  switch (infoType) {
    case 2: return putNumber(Server.BroadcastState);
    case 5: return putNumber(Server.ConnectionNumber);
    case 7: {
      const std::string name = ServerOf(conn);
      if (length < name.size() + 1) return kBufferOverflow;
      WriteName(static_cast<char*>(buffer), name);
      return 0;
    }
    default: return kInvalidParameter;
  }
}

uint32_t NWAPI GetConnectionNumber(NWCONN_HANDLE conn, uint16_t* number) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  *number = Server.ConnectionNumber;
  return 0;
}

uint32_t NWAPI GetConnectionInformation(NWCONN_HANDLE conn, uint16_t number, char* name, uint16_t* type,
                                        uint32_t* id, uint8_t* loginTime) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  if (number != Server.ConnectionNumber || *type != 1) return kFailure;
  WriteName(name, Server.ConnectionUser);
  *type = 0x0100;
  *id = 0x01000000;
  std::memset(loginTime, 0, 7);
  return 0;
}

uint32_t NWAPI GetObjectID(NWCONN_HANDLE conn, const char* name, uint16_t typeCode, uint32_t* id) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  Server.ProbedTypes.push_back(typeCode);
  const TFakeObject* object = FindObject(name, typeCode);
  if (!object) return kNoSuchObject;
  *id = object->ID;
  return 0;
}

uint32_t NWAPI CheckConsolePrivileges(NWCONN_HANDLE conn) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  return Server.Supervisor ? 0 : kNoConsoleRights;
}

uint32_t NWAPI IsManager(NWCONN_HANDLE conn) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  return Server.Supervisor ? 0 : kFailure;
}

uint32_t NWAPI ReadPropertyValue(NWCONN_HANDLE conn, const char* name, uint16_t typeCode, const char* property,
                                 uint8_t segmentNumber, uint8_t* data, uint8_t* more, uint8_t* flags) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  const TFakeObject* object = FindObject(name, typeCode);
  if (!object) return kNoSuchObject;
  if (std::strcmp(property, "IDENTIFICATION") != 0 || segmentNumber != 1) return kNoSuchProperty;
  std::memset(data, 0, 128);
  std::memcpy(data, object->Identification.data(), std::min<size_t>(object->Identification.size(), 128));
  *more = 0;
  *flags = 0;
  return 0;
}

uint32_t NWAPI GetFileServerName(NWCONN_HANDLE conn, char* name) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  WriteName(name, ServerOf(conn));
  return 0;
}

uint32_t NWAPI GetFileServerDateAndTime(NWCONN_HANDLE conn, uint8_t* dateTime) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  if (const uint32_t failure = Failure("NWGetFileServerDateAndTime")) return failure;
  std::memcpy(dateTime, Server.ServerClock.data(), Server.ServerClock.size());
  return 0;
}

uint32_t NWAPI SetFileServerDateAndTime(NWCONN_HANDLE conn, uint8_t year, uint8_t month, uint8_t day, uint8_t hour,
                                        uint8_t minute, uint8_t second) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  Server.ClockSettings.push_back({year, month, day, hour, minute, second});
  return Server.Supervisor ? 0 : kNoConsoleRights;
}

uint32_t NWAPI GetFileServerInformation(NWCONN_HANDLE conn, char* name, uint8_t* major, uint8_t* minor,
                                        uint8_t* revision, uint16_t* maxConns, uint16_t* maxUsed, uint16_t* inUse,
                                        uint16_t* volumes, uint8_t* sftLevel, uint8_t* ttsLevel) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  if (const uint32_t failure = Failure("NWGetFileServerInformation")) return failure;
  WriteName(name, ServerOf(conn));
  *major = Server.MajorVersion;
  *minor = Server.MinorVersion;
  *revision = 0;
  *maxConns = 250;
  *maxUsed = 40;
  *inUse = 17;
  *volumes = 3;
  *sftLevel = 2;
  *ttsLevel = 1;
  return 0;
}

uint32_t NWAPI GetFileServerInfo(NWCONN_HANDLE conn, uint8_t* environment) {
  if (!KnownConnection(conn)) return kInvalidConnection;
  ++Server.EnvironmentReads;
  if (const uint32_t failure = Failure("NWGetFileServerInfo")) return failure;
  std::memset(environment, 0, 151);
  const auto put32 = [&](size_t offset, uint32_t value) { std::memcpy(environment + offset, &value, 4); };
  put32(0, 0x000B04);
  environment[24] = 2;
  put32(140, 250);
  put32(144, 17);
  return 0;
}

// A failure leaves rubbish in the count.
uint32_t NWAPI GetMaximumConnections(uint16_t* count) {
  if (const uint32_t failure = Failure("NWGetMaximumConnections")) {
    *count = 0xBEEF;
    return failure;
  }
  *count = Server.WorkstationConnections;
  return 0;
}

// Like the real client, any name is taken on trust.
uint32_t NWAPI SetPrefServerName(const char* name) {
  if (const uint32_t failure = Failure("NWCCSetPrefServerName")) return failure;
  Server.PreferredServer = name;
  return 0;
}

uint32_t NWAPI GetConnectionHandle(const char* name, uint16_t, NWCONN_HANDLE* conn, uint16_t*) {
  const auto found = Server.ServerConnections.find(name);
  if (found == Server.ServerConnections.end()) return kNoSuchServer;
  *conn = found->second;
  return 0;
}

uint32_t NWAPI SetPrimaryConnectionID(NWCONN_HANDLE conn) {
  return KnownConnection(conn) ? 0 : kInvalidConnection;
}

uint32_t NWAPI OpenConnByName(NWCONN_HANDLE, const char* name, uint32_t nameFormat, uint32_t, uint32_t,
                              NWCONN_HANDLE* conn) {
  Server.OpenedByName.push_back(name);
  if (nameFormat != 2) return kInvalidParameter;
  return GetConnectionHandle(name, 0, conn, nullptr);
}

uint32_t NWAPI SetBroadcastMode(NWCONN_HANDLE conn, uint16_t mode) {
  Server.BroadcastModes.emplace_back(conn, mode);
  if (!KnownConnection(conn)) return kInvalidConnection;
  Server.BroadcastState = mode;
  return 0;
}

uint32_t NWAPI GetFirstDrive(uint16_t* drive) {
  if (Server.FirstDrive == 0) return kNoSuchServer;
  *drive = Server.FirstDrive;
  return 0;
}

uint32_t NWAPI GetDriveStatus(uint16_t drive, uint16_t pathFormat, uint16_t* status, NWCONN_HANDLE* conn,
                              char* root, char* relative, char* full) {
  Server.DrivesAsked.push_back(drive);
  if (drive < 1 || drive > 26 || pathFormat != 0) return kInvalidParameter;
  const bool mapped = Server.MappedDrives.count(drive) != 0;
  *status = mapped ? 0x9000 : 0;
  *conn = mapped ? Server.PrimaryConnection : 0;
  for (char* path : {root, relative, full}) WriteName(path, mapped ? "FS1/VOL1:" : "");
  return 0;
}

uint32_t NWAPI SetNetWareErrorMode(uint8_t mode, uint8_t* previous) {
  if (mode > 2) return kInvalidParameter;
  *previous = Server.ErrorMode;
  Server.ErrorMode = mode;
  return 0;
}

}  // namespace

void AddConnectionClient(TFakeModules& modules) {
  const std::pair<const char*, retrove::TEntryPoint> calls[] = {
      {"NWCCGetConnInfo", Entry(&GetConnInfo)},
      {"NWGetConnectionNumber", Entry(&GetConnectionNumber)},
      {"NWGetConnectionInformation", Entry(&GetConnectionInformation)},
      {"NWGetObjectID", Entry(&GetObjectID)},
      {"NWCheckConsolePrivileges", Entry(&CheckConsolePrivileges)},
      {"NWIsManager", Entry(&IsManager)},
      {"NWReadPropertyValue", Entry(&ReadPropertyValue)},
      {"NWGetFileServerName", Entry(&GetFileServerName)},
      {"NWGetFileServerDateAndTime", Entry(&GetFileServerDateAndTime)},
      {"NWSetFileServerDateAndTime", Entry(&SetFileServerDateAndTime)},
      {"NWGetFileServerInformation", Entry(&GetFileServerInformation)},
      {"NWGetFileServerInfo", Entry(&GetFileServerInfo)},
      {"NWGetMaximumConnections", Entry(&GetMaximumConnections)},
      {"NWGetConnectionHandle", Entry(&GetConnectionHandle)},
      {"NWSetPrimaryConnectionID", Entry(&SetPrimaryConnectionID)},
      {"NWSetBroadcastMode", Entry(&SetBroadcastMode)},
      {"NWGetFirstDrive", Entry(&GetFirstDrive)},
      {"NWGetDriveStatus", Entry(&GetDriveStatus)},
      {"NWSetNetWareErrorMode", Entry(&SetNetWareErrorMode)},
  };
  for (const auto& [name, function] : calls) modules.Add("CALWIN32.DLL", name, function);
  modules.Add("CLXWIN32.DLL", "NWCCGetConnInfo", Entry(&GetConnInfo));
  modules.Add("CLXWIN32.DLL", "NWCCSetPrefServerName", Entry(&SetPrefServerName));
  modules.Add("CLXWIN32.DLL", "NWCCOpenConnByName", Entry(&OpenConnByName));
}

}  // namespace fake
