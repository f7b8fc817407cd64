// The server's own description, its clock, and connections by server name.
#include <cstdio>
#include <cstring>

#include "NWServer.h"
#include "NwBuffers.h"
#include "TextCompare.h"

namespace retrove {

TNWServerInfo ServerInfoCache;

namespace {

using TNWGetFileServerInfo = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint8_t* environment);
using TNWGetFileServerInformation = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, char* serverName, uint8_t* majorVer,
                                                    uint8_t* minorVer, uint8_t* revision, uint16_t* maxConns,
                                                    uint16_t* maxConnsUsed, uint16_t* connsInUse,
                                                    uint16_t* numVolumes, uint8_t* SFTLevel, uint8_t* TTSLevel);
using TNWSetFileServerDateAndTime = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, uint8_t year, uint8_t month, uint8_t day,
                                                    uint8_t hour, uint8_t minute, uint8_t second);
using TNWCCOpenConnByName = NWCCODE(NWAPI*)(NWCONN_HANDLE startConn, const char* name, uint32_t nameFormat,
                                            uint32_t openState, uint32_t transportType, NWCONN_HANDLE* conn);
using TNWGetConnectionHandle = NWCCODE(NWAPI*)(const char* serverName, uint16_t reserved1, NWCONN_HANDLE* conn,
                                               uint16_t* reserved2);

TEntrySlot<TNWGetFileServerInfo> GetFileServerInfoSlot("NWGetFileServerInfo");
TEntrySlot<TNWGetFileServerInformation> GetFileServerInformationSlot("NWGetFileServerInformation");
TEntrySlot<TNWSetFileServerDateAndTime> SetServerDateSlot("NWSetFileServerDateAndTime");
TEntrySlot<TNWCCOpenConnByName> OpenConnByNameSlot("NWCCOpenConnByName");
TEntrySlot<TNWGetConnectionHandle> GetConnectionHandleSlot("NWGetConnectionHandle");

// The environment record is 151 bytes; the rest is room should a client
// write a longer one.
constexpr size_t kEnvironmentRecordSize = 151;
constexpr size_t kEnvironmentBuffer = 512;
static_assert(144 + 4 <= kEnvironmentRecordSize);
constexpr uint32_t kBinderyNameFormat = 2;
constexpr uint32_t kOpenStateNotLoggedIn = 1;
// Years 1980 to 2155: the server reads year bytes below 80 as 2000-2079,
// so earlier years would come back a century late.
constexpr int kFirstServerYear = 1980;
constexpr int kLastServerYear = 1900 + 255;

uint32_t Read32(const uint8_t* bytes) {
  uint32_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

std::string VersionText(uint8_t major, uint8_t minor) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u", unsigned{major}, unsigned{minor});
  return text;
}

}  // namespace

void RecordNWServerResult(NWCCODE result) {
  NWServerResult = static_cast<int32_t>(result);
  if (result != 0) NWServerError = NWServerResult;
}

bool GetServerInfo(NWCONN_HANDLE connection, TNWServerInfo& info) {
  connection = ConnectionOrPrimary(connection);
  const TNWGetFileServerInfo getEnvironment = GetFileServerInfoSlot.Resolve(CallsLibHandle);
  const TNWGetFileServerInformation getInformation = GetFileServerInformationSlot.Resolve(CallsLibHandle);
  if (!getEnvironment || !getInformation) return false;
  char name[kNameOutputBuffer] = {};
  uint8_t major = 0, minor = 0, revision = 0, sftLevel = 0, ttsLevel = 0;
  uint16_t maxConnections = 0, peakConnections = 0, inUse = 0, volumes = 0;
  if (getInformation(connection, name, &major, &minor, &revision, &maxConnections, &peakConnections, &inUse,
                     &volumes, &sftLevel, &ttsLevel) != 0)
    return false;
  uint8_t environment[kEnvironmentBuffer] = {};
  const bool done = major <= 3 || getEnvironment(connection, environment) == 0;

  info.FileServerName = BufferText(name);
  info.Extended0 = Read32(environment);
  info.Zero8 = 0;
  info.Extended24 = environment[24];
  info.Zero12 = 0;
  info.Zero16 = 0;
  info.Extended140 = Read32(environment + 140);
  info.Extended144 = Read32(environment + 144);
  info.VersionText = VersionText(major, minor);
  info.MaxConnections = maxConnections;
  info.ConnectionsInUse = inUse;
  info.PeakConnections = peakConnections;
  info.VolumeCount = volumes;
  info.SFTLevel = sftLevel;
  info.TTSLevel = ttsLevel;
  return done;
}

bool SetServerDateTime(NWCONN_HANDLE connection, TDateTime value) {
  connection = ConnectionOrPrimary(connection);
  const TNWSetFileServerDateAndTime setDate = SetServerDateSlot.Resolve(CallsLibHandle);
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  if (!setDate || date.Year < kFirstServerYear || date.Year > kLastServerYear) return false;
  const auto byte = [](int part) { return static_cast<uint8_t>(part); };
  RecordNWServerResult(setDate(connection, byte(date.Year - 1900), byte(date.Month), byte(date.Day), byte(time.Hour),
                               byte(time.Minute), byte(time.Second)));
  return NWServerResult == 0;
}

NWCONN_HANDLE OpenServerConnection(const std::string& serverName) {
  const TNWCCOpenConnByName openByName = OpenConnByNameSlot.Resolve(ConnLibHandle);
  const TNWGetConnectionHandle getHandle = GetConnectionHandleSlot.Resolve(CallsLibHandle);
  char name[kBinderyNameInput];
  if (!CopyToBuffer(UpperCase(serverName), name)) return 0;
  NWCONN_HANDLE handle = 0;
  NWCCODE result = 0;
  if (openByName) result = openByName(0, name, kBinderyNameFormat, kOpenStateNotLoggedIn, 0, &handle);
  if ((!openByName || result != 0 || handle == 0) && getHandle) {
    handle = 0;
    result = getHandle(name, 0, &handle, nullptr);
  }
  if (result != 0) {
    RecordNWServerResult(result);
    return 0;
  }
  return handle;
}

}  // namespace retrove
