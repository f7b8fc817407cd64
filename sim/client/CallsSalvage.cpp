// Calls library: paths, directory handles and deleted entries.
#include <chrono>
#include <thread>

#include "ClientBase.h"
#include "DeletedRecord.h"
#include "DirectoryHandles.h"

using namespace nwsim;

namespace {

constexpr size_t kMaxPath = 255;
constexpr size_t kMaxName = 255;

const Volume* VolumeOf(const State& state, const ServerPlace& place) { return state.FindVolume(place.volume); }

// The "slow" fault: a slow server, to watch the program's progress and Stop.
void WaitAsASlowServer(const Faults& faults) {
  if (faults.callDelayMs) std::this_thread::sleep_for(std::chrono::milliseconds(faults.callDelayMs));
}

// The folder a scan found an entry in, from the directory handle, volume
// number and directory base the scan gave with it; a code when they no
// longer agree.
NWCCODE FindScannedFolder(NWDIR_HANDLE dirHandle, uint32_t volNum, uint32_t dirBase, ServerPlace& place) {
  std::optional<ServerPlace> found = ConnectionDirectoryHandles().Find(dirHandle);
  if (!found) return kBadDirectoryHandle;
  std::shared_ptr<const Snapshot> snapshot = CurrentServer().Current();
  WaitAsASlowServer(snapshot->state.faults);
  const Volume* volume = VolumeOf(snapshot->state, *found);
  if (!volume || volume->number != volNum) return kVolumeDoesNotExist;
  if (dirBase != DirectoryBase(found->volume, found->folder)) return kInvalidPath;
  place = *found;
  return kOk;
}

}  // namespace

extern "C" {

NWCCODE NWCALL NWParseNetWarePath(const char* path, NWCONN_HANDLE* conn, NWDIR_HANDLE* dirHandle, char* newPath) {
  return RunEntryPoint("NWParseNetWarePath", [&]() -> NWCCODE {
    if (!conn || !dirHandle || !newPath) return kInvalidParameter;
    std::optional<std::string> text = ReadText(path, kMaxPath);
    if (!text) return kInvalidPath;
    std::optional<std::string> serverPath = ToServerPath(CurrentServer().Current()->state, *text);
    if (!serverPath || !WriteText(newPath, kMaxPath + 1, *serverPath)) return kInvalidPath;
    *conn = kConnectionHandle;
    *dirHandle = 0;
    return kOk;
  });
}

NWCCODE NWCALL NWAllocTemporaryDirectoryHandle(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, const char* dirPath,
                                               NWDIR_HANDLE* newDirHandle, uint8_t* effectiveRights) {
  return RunEntryPoint("NWAllocTemporaryDirectoryHandle", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!newDirHandle) return kInvalidParameter;
    std::optional<std::string> text = ReadText(dirPath, kMaxPath);
    if (!text) return kInvalidPath;
    std::optional<ServerPlace> place;
    if (dirHandle == 0) {
      place = ParseServerPath(*text);
    } else {
      std::optional<ServerPlace> base = ConnectionDirectoryHandles().Find(dirHandle);
      if (!base) return kBadDirectoryHandle;
      place = Below(*base, *text);
    }
    if (!place) return kInvalidPath;
    Server& server = CurrentServer();
    std::shared_ptr<const Snapshot> snapshot = server.Current();
    if (!VolumeOf(snapshot->state, *place)) return kVolumeDoesNotExist;
    if (!server.Folder().LiveFolder(place->volume, place->folder)) return kInvalidPath;
    NWDIR_HANDLE handle = ConnectionDirectoryHandles().Allocate(*place);
    if (!handle) return kNoMoreDirectoryHandles;
    *newDirHandle = handle;
    if (effectiveRights)
      *effectiveRights = static_cast<uint8_t>(snapshot->state.EffectiveRights(place->volume, place->folder));
    return kOk;
  });
}

NWCCODE NWCALL NWDeallocateDirectoryHandle(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle) {
  return RunEntryPoint("NWDeallocateDirectoryHandle", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    return ConnectionDirectoryHandles().Release(dirHandle) ? kOk : kBadDirectoryHandle;
  });
}

NWCCODE NWCALL NWScanForDeletedFiles(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, uint32_t* iterHandle,
                                     uint32_t* volNum, uint32_t* dirBase, void* entryInfo) {
  return RunEntryPoint("NWScanForDeletedFiles", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!iterHandle || !volNum || !dirBase || !entryInfo) return kInvalidParameter;
    std::optional<ServerPlace> place = ConnectionDirectoryHandles().Find(dirHandle);
    if (!place) return kBadDirectoryHandle;
    Server& server = CurrentServer();
    std::shared_ptr<const Snapshot> snapshot = server.Current();
    const Volume* volume = VolumeOf(snapshot->state, *place);
    if (!volume) return kVolumeDoesNotExist;
    WaitAsASlowServer(snapshot->state.faults);
    std::optional<DeletedEntry> entry =
        Server::NextDeleted(*server.Folder().Deleted(*snapshot, place->volume, place->folder), *iterHandle);
    if (!entry) return kNoMoreSalvageableFiles;
    uint32_t base = DirectoryBase(place->volume, place->folder);
    WriteDeletedRecord(static_cast<uint8_t*>(entryInfo), *entry, base);
    *iterHandle = entry->sequence;
    *volNum = volume->number;
    *dirBase = base;
    if (snapshot->state.faults.vanishingNames.count(entry->name))
      server.Vanish(place->volume, place->folder, entry->sequence);
    return kOk;
  });
}

NWCCODE NWCALL NWRecoverDeletedFile(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, uint32_t iterHandle, uint32_t volNum,
                                    uint32_t dirBase, const char* delFileName, const char* rcvrFileName) {
  return RunEntryPoint("NWRecoverDeletedFile", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!delFileName || !rcvrFileName) return kFailure;
    std::optional<std::string> deletedName = ReadText(delFileName, kMaxName);
    std::optional<std::string> newName = ReadText(rcvrFileName, kMaxName);
    if (!deletedName || !newName) return kInvalidPath;
    ServerPlace place;
    if (NWCCODE c = FindScannedFolder(dirHandle, volNum, dirBase, place)) return c;
    return CurrentServer().Recover(place.volume, place.folder, iterHandle, *deletedName, *newName);
  });
}

// Needs the Erase right in the folder (kNoCreateDeletePrivileges without
// it); an entry gone since the scan fails as a recovery of it would.
NWCCODE NWCALL NWPurgeDeletedFile(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, uint32_t iterHandle, uint32_t volNum,
                                  uint32_t dirBase, const char* fileName) {
  return RunEntryPoint("NWPurgeDeletedFile", [&]() -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    if (!fileName) return kFailure;
    if (!ReadText(fileName, kMaxName)) return kInvalidPath;
    ServerPlace place;
    if (NWCCODE c = FindScannedFolder(dirHandle, volNum, dirBase, place)) return c;
    return CurrentServer().Purge(place.volume, place.folder, iterHandle);
  });
}

void NWCALL NWUnpackDateTime(uint32_t dateTime, NW_DATE* date, NW_TIME* time) {
  DateTimeParts parts = UnpackDateTime(dateTime);
  if (date) {
    date->day = static_cast<uint8_t>(parts.day);
    date->month = static_cast<uint8_t>(parts.month);
    date->year = static_cast<uint16_t>(parts.year);
  }
  if (time) {
    time->seconds = static_cast<uint8_t>(parts.second);
    time->minutes = static_cast<uint8_t>(parts.minute);
    time->hours = static_cast<uint16_t>(parts.hour);
  }
}

// Directory listing is not simulated; the program only requires it.
NWCCODE NWCALL NWIntScanDirEntryInfo(NWCONN_HANDLE, NWDIR_HANDLE, uint16_t, uint32_t*, const char*, void*, uint8_t) {
  return kFailure;
}

}  // extern "C"
