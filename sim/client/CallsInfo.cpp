// Calls library: the file server's description, its clock and the
// workstation's drive mappings.
#include <chrono>
#include <cstring>

#include <windows.h>

#include "ClientBase.h"
#include "DeletedRecord.h"

using namespace nwsim;

namespace {

constexpr size_t kServerNameCapacity = 48;
constexpr size_t kServerInfoSize = 151;
constexpr size_t kDrivePathCapacity = 256;
// The status bits the client documents, and its answer for a drive number
// outside A-Z.
constexpr uint16_t kLocalDrive = 0x1000;
constexpr uint16_t kNetworkDrive = 0x2000;
constexpr uint16_t kNetWareDrive = 0x8000;
constexpr NWCCODE kInvalidDrive = 15;

bool WorkstationHasDrive(uint16_t driveNumber) { return (GetLogicalDrives() >> (driveNumber - 1)) & 1; }

// For a connection already checked.
const ServerIdentity& Identity(NWCONN_HANDLE conn) {
  return *ServerOfConnection(CurrentServer().Current()->state, conn).value().identity;
}

DateTimeParts ServerNow(const State& state) {
  return LocalDateTime(std::time(nullptr) + static_cast<std::time_t>(state.clock.offsetSeconds));
}

template <class T>
void Store(T* target, T value) {
  if (target) *target = value;
}

}  // namespace

extern "C" {

NWCCODE NWCALL NWGetFileServerName(NWCONN_HANDLE conn, char* serverName) {
  return RunEntryPoint("NWGetFileServerName", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    return WriteText(serverName, kServerNameCapacity, Identity(conn).name) ? kOk : kInvalidParameter;
  });
}

NWCCODE NWCALL NWGetFileServerInformation(NWCONN_HANDLE conn, char* serverName, uint8_t* majorVer, uint8_t* minorVer,
                                          uint8_t* revision, uint16_t* maxConns, uint16_t* maxConnsUsed,
                                          uint16_t* connsInUse, uint16_t* numVolumes, uint8_t* SFTLevel,
                                          uint8_t* TTSLevel) {
  return RunEntryPoint("NWGetFileServerInformation", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    const State& state = CurrentServer().Current()->state;
    const ServerIdentity& s = Identity(conn);
    if (serverName && !WriteText(serverName, kServerNameCapacity, s.name)) return kInvalidParameter;
    Store(majorVer, s.major);
    Store(minorVer, s.minor);
    Store(revision, s.revision);
    Store(maxConns, s.maxConnections);
    Store(maxConnsUsed, uint16_t(1));
    Store(connsInUse, uint16_t(1));
    Store(numVolumes, static_cast<uint16_t>(state.volumes.size()));
    Store(SFTLevel, uint8_t(2));
    Store(TTSLevel, uint8_t(1));
    return kOk;
  });
}

// The extended record: offset 0 the product version (major, minor,
// revision, 0), 24 the SFT level, 140 the maximum and 144 the used
// connections; the rest is zero.
NWCCODE NWCALL NWGetFileServerInfo(NWCONN_HANDLE conn, uint8_t* info) {
  return RunEntryPoint("NWGetFileServerInfo", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!info) return kInvalidParameter;
    const ServerIdentity& s = Identity(conn);
    std::memset(info, 0, kServerInfoSize);
    Put32(info, uint32_t(s.major) | uint32_t(s.minor) << 8 | uint32_t(s.revision) << 16);
    info[24] = 2;
    Put32(info + 140, s.maxConnections);
    Put32(info + 144, 1);
    return kOk;
  });
}

NWCCODE NWCALL NWGetMaximumConnections(uint16_t* maxConns) {
  return RunEntryPoint("NWGetMaximumConnections", [&]() -> NWCCODE {
    if (!maxConns) return kInvalidParameter;
    *maxConns = 8;
    return kOk;
  });
}

NWCCODE NWCALL NWGetFileServerDateAndTime(NWCONN_HANDLE conn, uint8_t* dateTime) {
  return RunEntryPoint("NWGetFileServerDateAndTime", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!dateTime) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    if (state.clock.rawBytes) {
      std::memcpy(dateTime, state.clock.rawBytes->data(), state.clock.rawBytes->size());
      return kOk;
    }
    DateTimeParts now = ServerNow(state);
    using namespace std::chrono;
    unsigned weekday = year_month_weekday(sys_days(year(now.year) / now.month / now.day)).weekday().c_encoding();
    const int parts[] = {now.year - 1900, now.month, now.day, now.hour, now.minute, now.second, int(weekday)};
    for (int i = 0; i < 7; ++i) dateTime[i] = static_cast<uint8_t>(parts[i]);
    return kOk;
  });
}

NWCCODE NWCALL NWSetFileServerDateAndTime(NWCONN_HANDLE conn, uint8_t year, uint8_t month, uint8_t day, uint8_t hour,
                                          uint8_t minute, uint8_t second) {
  return RunEntryPoint("NWSetFileServerDateAndTime", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    DateTimeParts wanted{1900 + year, month, day, hour, minute, second};
    if (!IsPackable(wanted)) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    const BinderyObject* user = state.FindObject(state.currentUser);
    if (!user || !user->IsConsoleOperator()) return kNoConsolePrivileges;
    const int64_t offset = LocalInstant(wanted) - std::time(nullptr);
    CurrentServer().Folder().Update([&](State& changed) {
      changed.clock = ServerClock{offset, std::nullopt};
      return true;
    });
    return kOk;
  });
}

NWCCODE NWCALL NWGetFirstDrive(uint16_t* firstDrive) {
  return RunEntryPoint("NWGetFirstDrive", [&]() -> NWCCODE {
    if (!firstDrive) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    if (state.firstNetworkDrive) {
      *firstDrive = static_cast<uint16_t>(state.firstNetworkDrive - 'A' + 1);
      return kOk;
    }
    uint16_t first = 0;
    for (const DriveMapping& m : state.mappings) {
      uint16_t number = static_cast<uint16_t>(m.letter - 'A' + 1);
      if (!first || number < first) first = number;
    }
    if (!first) return kFailure;
    *firstDrive = first;
    return kOk;
  });
}

// Format 0 gives NetWare paths: root "SERVER/VOL:", relative "DOCS", full
// "SERVER/VOL:DOCS". A drive that is not mapped is the workstation's own
// (local) or free (status 0).
NWCCODE NWCALL NWGetDriveStatus(uint16_t driveNumber, uint16_t pathFormat, uint16_t* status, NWCONN_HANDLE* conn,
                                char* rootPath, char* relativePath, char* fullPath) {
  return RunEntryPoint("NWGetDriveStatus", [&]() -> NWCCODE {
    if (driveNumber < 1 || driveNumber > 26) return kInvalidDrive;
    if (pathFormat > 1) return kInvalidParameter;
    const State& state = CurrentServer().Current()->state;
    const DriveMapping* m = state.FindMapping(static_cast<char>('A' + driveNumber - 1));
    std::string root = m ? state.server.name + "/" + m->volume + ":" : "";
    std::string relative = m ? m->folder : "";
    std::string full = root + relative;
    for (std::pair<char*, const std::string*> out : {std::pair{rootPath, &root}, {relativePath, &relative}, {fullPath, &full}})
      if (out.first && !WriteText(out.first, kDrivePathCapacity, *out.second)) return kInvalidParameter;
    const uint16_t unmapped = WorkstationHasDrive(driveNumber) ? kLocalDrive : uint16_t(0);
    Store(status, m ? uint16_t(kNetworkDrive | kNetWareDrive) : unmapped);
    Store(conn, m ? kConnectionHandle : NWCONN_HANDLE(0));
    return kOk;
  });
}

}  // extern "C"
