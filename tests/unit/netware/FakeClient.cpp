#include "FakeClient.h"

#include <cstring>

namespace fake {

TFakeServer Server;

void ResetServer() {
  Server = TFakeServer{};
}

uint32_t Failure(const std::string& entry) {
  const auto found = Server.Failing.find(entry);
  return found == Server.Failing.end() ? 0 : found->second;
}

uint32_t PackDate(int year, int month, int day) {
  return static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
}

uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second) {
  return (PackDate(year, month, day) << 16) | static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
}

namespace {

using retrove::NWCONN_HANDLE;

uint32_t NWAPI CallsInit(void*, void*) {
  return Server.CallsInitResult;
}

uint32_t NWAPI GetPrimConnRef(uint32_t* ref) {
  ++Server.PrimaryLookups;
  *ref = 99;
  return Server.PrimConnRefResult;
}

uint32_t NWAPI OpenConnByRef(uint32_t ref, uint32_t, uint32_t, NWCONN_HANDLE* handle) {
  if (ref != 99) return 0x8801;
  *handle = Server.PrimaryConnection;
  return 0;
}

uint32_t NWAPI GetPrimaryConnectionID(NWCONN_HANDLE* handle) {
  ++Server.PrimaryLookups;
  *handle = Server.PrimaryConnection;
  return 0;
}

uint32_t NWAPI GetObjectName(NWCONN_HANDLE, uint32_t id, char* name, uint16_t* type) {
  ++Server.ObjectNameCalls;
  const auto found = Server.ObjectNames.find(id);
  if (found == Server.ObjectNames.end()) return 0x89FC;
  std::strncpy(name, found->second.c_str(), 47);
  *type = 1;
  return 0;
}

uint32_t NWAPI LongSwapEntry(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

uint32_t NWAPI ParsePath(const char* path, NWCONN_HANDLE* conn, uint8_t* dirHandle, char* serverPath) {
  Server.ParsedPaths.push_back(path);
  std::string wanted = Server.FolderPath;
  if (std::strcmp(path, wanted.c_str()) != 0) return 0x899C;
  *conn = Server.PrimaryConnection;
  *dirHandle = 0;
  std::strcpy(serverPath, "VOL1:DATA");
  return 0;
}

uint32_t NWAPI AllocTempHandle(NWCONN_HANDLE, uint8_t, const char* path, uint8_t* handle, uint8_t* rights) {
  if (std::strcmp(path, "VOL1:DATA") != 0) return 0x899C;
  uint8_t next = 1;
  while (Server.OpenHandles.count(next)) ++next;
  Server.OpenHandles.insert(next);
  ++Server.HandlesAllocated;
  *handle = next;
  *rights = 0xFF;
  return 0;
}

uint32_t NWAPI DeallocHandle(NWCONN_HANDLE, uint8_t handle) {
  return Server.OpenHandles.erase(handle) ? 0 : 0x899B;
}

void WriteRecord(const TFakeDeleted& entry, unsigned char* record) {
  std::memset(record, 0, retrove::kDeletedRecordSize);
  const auto put32 = [&](size_t offset, uint32_t value) { std::memcpy(record + offset, &value, 4); };
  put32(8, 0x20);
  record[15] = static_cast<unsigned char>(entry.Name.size());
  std::memcpy(record + 16, entry.Name.data(), entry.Name.size());
  put32(272, PackDateTime(1996, 2, 29, 8, 0, 0));
  put32(276, entry.OwnerID);
  put32(296, static_cast<uint32_t>(entry.Size));
  std::memcpy(record + 344, &entry.Rights, 2);
  record[346] = static_cast<unsigned char>(entry.LastAccessDate >> 8);
  record[347] = static_cast<unsigned char>(entry.LastAccessDate & 0xFF);
  put32(352, entry.DeletedPacked);
  put32(356, entry.DeleterID);
}

uint32_t NWAPI ScanDeleted(NWCONN_HANDLE, uint8_t handle, uint32_t* iteration, uint32_t* volume, uint32_t* dirBase,
                           void* record) {
  ++Server.ScanCalls;
  if (!Server.OpenHandles.count(handle)) return 0x899B;
  for (const TFakeDeleted& entry : Server.Deleted) {
    if (*iteration != 0xFFFFFFFF && entry.Sequence <= *iteration) continue;
    *iteration = entry.Sequence;
    *volume = 1;
    *dirBase = 500 + entry.Sequence;
    WriteRecord(entry, static_cast<unsigned char*>(record));
    return 0;
  }
  return Server.ScanEndCode;
}

uint32_t NWAPI Recover(NWCONN_HANDLE, uint8_t handle, uint32_t iteration, uint32_t volume, uint32_t dirBase,
                       char* deletedName, char* newName) {
  if (!Server.OpenHandles.count(handle)) return 0x899B;
  Server.Recoveries.push_back({iteration, volume, dirBase, deletedName, newName});
  return Server.RecoverResult;
}

uint32_t NWAPI Purge(NWCONN_HANDLE, uint8_t handle, uint32_t iteration, uint32_t volume, uint32_t dirBase,
                     const char* name) {
  if (!Server.OpenHandles.count(handle)) return 0x899B;
  Server.Purges.push_back({iteration, volume, dirBase, name, {}});
  return Server.PurgeResult;
}

struct NWDate {
  uint8_t day, month;
  uint16_t year;
};
struct NWTime {
  uint8_t seconds, minutes;
  uint16_t hours;
};

void NWAPI UnpackDateTime(uint32_t packed, NWDate* date, NWTime* time) {
  const uint32_t d = packed >> 16;
  const uint32_t t = packed & 0xFFFF;
  date->day = static_cast<uint8_t>(d & 0x1F);
  date->month = static_cast<uint8_t>((d >> 5) & 0x0F);
  date->year = static_cast<uint16_t>(1980 + (d >> 9));
  time->seconds = static_cast<uint8_t>((t & 0x1F) * 2);
  time->minutes = static_cast<uint8_t>((t >> 5) & 0x3F);
  time->hours = static_cast<uint16_t>(t >> 11);
}

// Never called by the program, only looked up.
uint32_t NWAPI NeverCalled() {
  return 0x89FF;
}

}  // namespace

TFakeModules::TFakeModules() {
  retrove::SetClientModules(this);
}

TFakeModules::~TFakeModules() {
  retrove::SetClientModules(nullptr);
}

void TFakeModules::AddModule(const std::string& fileName) {
  // Handles differ from test to test, so no cached entry point outlives
  // the fake it came from.
  static retrove::TClientModuleHandle nextHandle = 0x1000;
  if (!FModules.count(fileName)) FModules[fileName].Handle = nextHandle++;
}

void TFakeModules::Add(const std::string& fileName, const std::string& entry, retrove::TEntryPoint function) {
  AddModule(fileName);
  FModules[fileName].Entries[entry] = function;
}

void TFakeModules::Remove(const std::string& fileName, const std::string& entry) {
  FModules[fileName].Entries.erase(entry);
}

void TFakeModules::AddFullClient() {
  Add("CALWIN32.DLL", "NWCallsInit", Entry(&CallsInit));
  Add("CALWIN32.DLL", "NWGetPrimaryConnectionID", Entry(&GetPrimaryConnectionID));
  Add("CALWIN32.DLL", "NWGetObjectName", Entry(&GetObjectName));
  Add("CALWIN32.DLL", "NWLongSwap", Entry(&LongSwapEntry));
  Add("CALWIN32.DLL", "NWParseNetWarePath", Entry(&ParsePath));
  Add("CALWIN32.DLL", "NWAllocTemporaryDirectoryHandle", Entry(&AllocTempHandle));
  Add("CALWIN32.DLL", "NWIntScanDirEntryInfo", Entry(&NeverCalled));
  Add("CALWIN32.DLL", "NWScanForDeletedFiles", Entry(&ScanDeleted));
  Add("CALWIN32.DLL", "NWRecoverDeletedFile", Entry(&Recover));
  Add("CALWIN32.DLL", "NWPurgeDeletedFile", Entry(&Purge));
  Add("CALWIN32.DLL", "NWDeallocateDirectoryHandle", Entry(&DeallocHandle));
  Add("CALWIN32.DLL", "NWUnpackDateTime", Entry(&UnpackDateTime));
  Add("CLXWIN32.DLL", "NWCCGetPrimConnRef", Entry(&GetPrimConnRef));
  Add("CLXWIN32.DLL", "NWCCOpenConnByRef", Entry(&OpenConnByRef));
  AddConnectionClient(*this);
  AddDirectoryClient(*this);
}

retrove::TClientModuleHandle TFakeModules::Load(const std::string& fileName) {
  Loads.push_back(fileName);
  const auto found = FModules.find(fileName);
  return found == FModules.end() ? 0 : found->second.Handle;
}

retrove::TEntryPoint TFakeModules::Find(retrove::TClientModuleHandle module, const char* name) {
  Lookups.push_back(name);
  for (const auto& [fileName, entry] : FModules) {
    if (entry.Handle != module) continue;
    const auto found = entry.Entries.find(name);
    return found == entry.Entries.end() ? nullptr : found->second;
  }
  return nullptr;
}

}  // namespace fake
