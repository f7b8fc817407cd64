#include "NWServer.h"

#include <cstring>
#include <new>
#include <utility>

#include "BusyScope.h"
#include "NwBuffers.h"
#include "Nwtools.h"
#include "TextCompare.h"

namespace retrove {

int32_t NWServerResult = 0;
int32_t NWServerError = 0;

std::string TNWServer::ErrorText() const {
  return NWErrorCodeText(NWServerError);
}

namespace {

struct NW_DATE {
  uint8_t day;
  uint8_t month;
  uint16_t year;
};

struct NW_TIME {
  uint8_t seconds;
  uint8_t minutes;
  uint16_t hours;
};

using TNWParseNetWarePath = NWCCODE(NWAPI*)(const char* path, NWCONN_HANDLE* conn, NWDIR_HANDLE* dirHandle,
                                            char* serverPath);
using TNWAllocTemporaryDirectoryHandle = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle,
                                                         const char* path, NWDIR_HANDLE* newHandle,
                                                         uint8_t* effectiveRights);
using TNWIntScanDirEntryInfo = NWCCODE(NWAPI*)();
using TNWScanForDeletedFiles = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, uint32_t* iterHandle,
                                               uint32_t* volNumber, uint32_t* dirBase, void* entryInfo);
using TNWRecoverDeletedFile = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, uint32_t iterHandle,
                                              uint32_t volNumber, uint32_t dirBase, char* deletedName,
                                              char* newName);
using TNWPurgeDeletedFile = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle, uint32_t iterHandle,
                                            uint32_t volNumber, uint32_t dirBase, const char* fileName);
using TNWDeallocateDirectoryHandle = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, NWDIR_HANDLE dirHandle);
using TNWUnpackDateTime = void(NWAPI*)(uint32_t packed, NW_DATE* date, NW_TIME* time);

TEntrySlot<TNWParseNetWarePath> ParsePathSlot("NWParseNetWarePath");
TEntrySlot<TNWAllocTemporaryDirectoryHandle> AllocHandleSlot("NWAllocTemporaryDirectoryHandle");
TEntrySlot<TNWIntScanDirEntryInfo> ScanDirEntrySlot("NWIntScanDirEntryInfo");
TEntrySlot<TNWScanForDeletedFiles> ScanDeletedSlot("NWScanForDeletedFiles");
TEntrySlot<TNWRecoverDeletedFile> RecoverSlot("NWRecoverDeletedFile");
TEntrySlot<TNWPurgeDeletedFile> PurgeSlot("NWPurgeDeletedFile");
TEntrySlot<TNWDeallocateDirectoryHandle> DeallocHandleSlot("NWDeallocateDirectoryHandle");
TEntrySlot<TNWUnpackDateTime> UnpackSlot("NWUnpackDateTime");

constexpr uint32_t kFirstIteration = 0xFFFFFFFF;
// The scan's answer once every entry has been seen.
constexpr NWCCODE kNoMoreEntries = 0x89FF;
constexpr size_t kServerPathBuffer = 256;

void ReleaseDirectoryHandle(NWCONN_HANDLE connection, NWDIR_HANDLE handle) {
  if (handle == 0) return;
  if (const auto dealloc = DeallocHandleSlot.Resolve(CallsLibHandle)) dealloc(connection, handle);
}

// A path split at its last "\": the folder part keeps the "\".
struct TSplitPath {
  std::string Folder;
  std::string Name;
};

TSplitPath SplitAtLastBackslash(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// A temporary directory handle on one folder and a scan of its deleted
// entries. The handle is released with the scan unless handed over.
class TDeletedScan {
public:
  TDeletedScan() = default;
  ~TDeletedScan() {
    if (FOwnsHandle) ReleaseDirectoryHandle(FConnection, FHandle);
  }
  TDeletedScan(const TDeletedScan&) = delete;
  TDeletedScan& operator=(const TDeletedScan&) = delete;

  bool Open(NWCONN_HANDLE connection, const std::string& slashPath) {
    char path[kMaxDirPath + 1];
    if (!CopyToBuffer(slashPath, path)) return false;
    char serverPath[kServerPathBuffer] = {};
    NWDIR_HANDLE parsedHandle = 0;
    FConnection = connection;
    if (ParsePathSlot.Resolve(CallsLibHandle)(path, &FConnection, &parsedHandle, serverPath) != 0) {
      NotNetWare = true;
      return false;
    }
    serverPath[kServerPathBuffer - 1] = '\0';
    uint8_t rights = 0;
    NWDIR_HANDLE handle = 0;
    if (AllocHandleSlot.Resolve(CallsLibHandle)(FConnection, 0, serverPath, &handle, &rights) != 0) return false;
    FHandle = handle;
    FOwnsHandle = true;
    return true;
  }

  bool Next(TNWDeletedRecordBytes& record) {
    record.fill(0);
    LastCode = ScanDeletedSlot.Resolve(CallsLibHandle)(FConnection, FHandle, &Iteration, &Volume, &DirBase,
                                                       record.data());
    return LastCode == 0;
  }

  // The path was not one the client takes as a NetWare path.
  bool NotNetWare = false;
  // The scan's last answer: kNoMoreEntries once it has seen every entry.
  NWCCODE LastCode = 0;

  // The first entry of exactly this name, case counting; an empty name
  // never matches.
  bool FindMatch(const std::string& wantedName, TNWDeletedRecord& match) {
    if (wantedName.empty()) return false;
    TNWDeletedRecordBytes bytes;
    while (Next(bytes)) {
      TNWDeletedRecord record = DecodeDeletedRecord(bytes);
      if (ReturnedEntryName(record) == wantedName) {
        match = std::move(record);
        return true;
      }
    }
    return false;
  }

  NWCONN_HANDLE Connection() const { return FConnection; }
  NWDIR_HANDLE Handle() const { return FHandle; }
  // The list releases the handle from now on; the scan goes on using it.
  void HandOver(TNWDeletedFileList& list) {
    list.AdoptDirectoryHandle(FConnection, FHandle);
    FOwnsHandle = false;
  }

  uint32_t Iteration = kFirstIteration;
  uint32_t Volume = 0;
  uint32_t DirBase = 0;

private:
  NWCONN_HANDLE FConnection = 0;
  NWDIR_HANDLE FHandle = 0;
  bool FOwnsHandle = false;
};

std::string ObjectName(NWCONN_HANDLE connection, uint32_t id, std::map<uint32_t, std::string>& names) {
  const auto known = names.find(id);
  if (known != names.end()) return known->second;
  std::string name = GetObjectNameByID(connection, id);
  names.emplace(id, name);
  return name;
}

}  // namespace

TNWDeletedFileList::TNWDeletedFileList() : TStringList(true) {}

TNWDeletedFileList::~TNWDeletedFileList() {
  ReleaseDirectoryHandle(FConnection, FDirHandle);
}

void TNWDeletedFileList::AdoptDirectoryHandle(NWCONN_HANDLE connection, NWDIR_HANDLE handle) {
  ReleaseDirectoryHandle(FConnection, FDirHandle);
  FConnection = connection;
  FDirHandle = handle;
}

TNWDeletedEntry* TNWDeletedFileList::Entry(int index) const {
  return dynamic_cast<TNWDeletedEntry*>(Objects(index));
}

bool TNWDeletedFileList::Details(int index, TNWDeletedFileInfo& info) {
  const TNWDeletedEntry* entry = Entry(index);
  if (!entry) return false;
  FillDeletedFileInfo(entry->Record, FConnection, FObjectNames, info);
  return true;
}

std::unique_ptr<TNWDeletedFileList> GetDeletedFileList(NWCONN_HANDLE connection, const std::string& folderPath,
                                                       const TDeletedEntryFound& found) {
  auto list = std::make_unique<TNWDeletedFileList>();
  if (!ParsePathSlot.Resolve(CallsLibHandle) || !AllocHandleSlot.Resolve(CallsLibHandle) ||
      !ScanDeletedSlot.Resolve(CallsLibHandle))
    return list;
  if (connection == 0) connection = GetPrimaryConnHandle();

  TDeletedScan scan;
  if (!scan.Open(connection, ReplaceNoCase(UpperCase(folderPath), "\\", "/"))) {
    if (scan.NotNetWare) list->SetOutcome(TListingOutcome::NotNetWare);
    return list;
  }
  scan.HandOver(*list);
  TNWDeletedRecordBytes bytes;
  while (scan.Next(bytes)) {
    try {
      auto entry = std::make_unique<TNWDeletedEntry>();
      entry->DirHandle = scan.Handle();
      entry->IterHandle = scan.Iteration;
      entry->VolNumber = scan.Volume;
      entry->DirBase = scan.DirBase;
      entry->Record = DecodeDeletedRecord(bytes);
      const std::string name = ReturnedEntryName(entry->Record);
      std::strncpy(entry->EntryName, name.c_str(), kMaxFileName);
      const int index = list->AddObject(name, entry.get());
      entry.release();
      if (found && !found(*list, index)) {
        list->SetOutcome(TListingOutcome::Stopped);
        return list;
      }
    } catch (const std::bad_alloc&) {
      return list;
    }
  }
  if (scan.LastCode == kNoMoreEntries) list->SetOutcome(TListingOutcome::Complete);
  return list;
}

bool GetDeletedFileInfo(const std::string& fullPath, TNWDeletedFileInfo& info) {
  if (!ParsePathSlot.Resolve(CallsLibHandle) || !AllocHandleSlot.Resolve(CallsLibHandle) ||
      !ScanDirEntrySlot.Resolve(CallsLibHandle) || !ScanDeletedSlot.Resolve(CallsLibHandle) ||
      !DeallocHandleSlot.Resolve(CallsLibHandle))
    return false;
  TBusyScope busy;
  const TSplitPath split = SplitAtLastBackslash(fullPath);
  if (split.Name.size() > kMaxFileName) return false;
  TDeletedScan scan;
  if (!scan.Open(0, ReplaceNoCase(split.Folder, "\\", "/"))) return false;
  TNWDeletedRecord match;
  if (!scan.FindMatch(split.Name, match)) return false;
  std::map<uint32_t, std::string> names;
  FillDeletedFileInfo(match, scan.Connection(), names, info);
  return true;
}

bool RecoverDeletedFileAs(NWCONN_HANDLE connection, const std::string& deletedPath, const std::string& newPath) {
  if (!ParsePathSlot.Resolve(CallsLibHandle) || !AllocHandleSlot.Resolve(CallsLibHandle) ||
      !ScanDeletedSlot.Resolve(CallsLibHandle) || !RecoverSlot.Resolve(CallsLibHandle))
    return false;
  if (connection == 0) connection = GetPrimaryConnHandle();
  const TSplitPath deleted = SplitAtLastBackslash(deletedPath);
  char wantedName[kMaxFileName + 1];
  char newName[kMaxFileName + 1];
  if (!CopyToBuffer(deleted.Name, wantedName) || !CopyToBuffer(SplitAtLastBackslash(newPath).Name, newName))
    return false;
  TDeletedScan scan;
  if (!scan.Open(connection, ReplaceNoCase(deleted.Folder, "\\", "/"))) return false;
  TNWDeletedRecord match;
  if (!scan.FindMatch(deleted.Name, match)) return false;
  return RecoverSlot.Resolve(CallsLibHandle)(scan.Connection(), scan.Handle(), scan.Iteration, scan.Volume,
                                             scan.DirBase, wantedName, newName) == 0;
}

bool RecoverDeletedEntryAs(const TNWDeletedFileList& list, const TNWDeletedEntry& entry, const std::string& newName) {
  const TNWRecoverDeletedFile recover = RecoverSlot.Resolve(CallsLibHandle);
  char deletedName[kMaxFileName + 1];
  char wantedName[kMaxFileName + 1];
  if (!recover || entry.DirHandle == 0 || !CopyToBuffer(ReturnedEntryName(entry.Record), deletedName) ||
      !CopyToBuffer(newName, wantedName))
    return false;
  return recover(list.Connection(), entry.DirHandle, entry.IterHandle, entry.VolNumber, entry.DirBase, deletedName,
                 wantedName) == 0;
}

bool PurgeDeletedEntry(const TNWDeletedFileList& list, const TNWDeletedEntry& entry) {
  const TNWPurgeDeletedFile purge = PurgeSlot.Resolve(CallsLibHandle);
  char name[kMaxFileName + 1];
  if (!purge || entry.DirHandle == 0 || !CopyToBuffer(ReturnedEntryName(entry.Record), name)) return false;
  return purge(list.Connection(), entry.DirHandle, entry.IterHandle, entry.VolNumber, entry.DirBase, name) == 0;
}

bool PurgeAvailable() { return PurgeSlot.Resolve(CallsLibHandle) != nullptr; }

TDateTime UnpackNWDateTime(uint32_t packed) {
  TDateTime result = EncodeDate(1980, 1, 1);
  const TNWUnpackDateTime unpack = UnpackSlot.Resolve(CallsLibHandle);
  if (!unpack) return result;
  NW_DATE date{1, 1, 1980};
  NW_TIME time{0, 0, 12};
  unpack(packed, &date, &time);
  if (date.year >= 1980 && date.year < 2112 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
      date.day <= DaysInMonthOf(EncodeDate(date.year, date.month, 1)))
    result = EncodeDate(date.year, date.month, date.day);
  if (time.hours <= 23 && time.minutes <= 59 && time.seconds <= 59)
    result += EncodeTime(time.hours, time.minutes, time.seconds, 0);
  return result;
}

void FillDeletedFileInfo(const TNWDeletedRecord& record, NWCONN_HANDLE connection,
                         std::map<uint32_t, std::string>& names, TNWDeletedFileInfo& info) {
  info.Attributes = record.Attributes;
  info.Flags = record.Flags;
  info.NameSpace = record.NameSpace;
  info.NameLength = record.NameLength;
  info.Name = record.Name;
  info.CreationDateTime = UnpackNWDateTime(record.CreationPacked);
  info.Owner = ObjectName(connection, record.OwnerID, names);
  info.ArchiveDateTime = UnpackNWDateTime(record.ArchivePacked);
  info.Archiver = ObjectName(connection, record.ArchiverID, names);
  info.UpdateDateTime = UnpackNWDateTime(record.UpdatePacked);
  info.Updater = ObjectName(connection, record.UpdaterID, names);
  info.FileSize = record.FileSize;
  SetRightsFromMask(record.RightsMask, info);
  info.LastAccessDate = UnpackNWDateTime(LongSwap(uint32_t{record.LastAccessDate}));
  info.DeletedDateTime = UnpackNWDateTime(record.DeletedPacked);
  info.Deletor = ObjectName(connection, record.DeleterID, names);
}

}  // namespace retrove
