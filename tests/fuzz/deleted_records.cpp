// The deleted-entry records and the object names the client writes are the
// server's word, whatever it is: a listing must hold each record's entry
// under the name it returned, cut to its own length and never read past its
// fields; the details must be dates there are; and a recovery must hand the
// server back exactly the name it gave, under a new name that is free and is
// one plain file name, or not be tried at all.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DetailTexts.h"
#include "FakeClient.h"
#include "FuzzCheck.h"
#include "FuzzSettings.h"
#include "NWServer.h"
#include "RecoveryName.h"
#include "nwbase.h"

using namespace retrove;
using retrove::fuzz::AllSettings;
using retrove::fuzz::Require;

namespace {

// The client's object-name buffer; a hostile client may fill it without a
// terminator.
constexpr std::size_t kObjectNameBytes = 48;
constexpr std::size_t kMostRecords = 6;
constexpr char kFolder[] = "F:\\DATA\\";

// What the scan and the object-name look-ups answer for one input.
struct TAnswers {
  std::vector<TNWDeletedRecordBytes> Records;
  std::string_view NamePool;
};

TAnswers Answers;

uint32_t NWAPI ScanRecords(NWCONN_HANDLE, uint8_t handle, uint32_t* iteration, uint32_t* volume, uint32_t* dirBase,
                           void* record) {
  if (!fake::Server.OpenHandles.count(handle)) return 0x899B;
  const uint32_t next = *iteration == 0xFFFFFFFF ? 0 : *iteration + 1;
  if (next >= Answers.Records.size()) return 0x89FF;
  *iteration = next;
  *volume = 1;
  *dirBase = 700 + next;
  std::memcpy(record, Answers.Records[next].data(), kDeletedRecordSize);
  return 0;
}

// Odd IDs are unknown; an even one names whatever the pool holds there, a
// full buffer's worth when the pool has that much.
uint32_t NWAPI ObjectNameFromPool(NWCONN_HANDLE, uint32_t id, char* name, uint16_t* type) {
  if (id % 2 != 0 || Answers.NamePool.empty()) return 0x89FC;
  const std::string_view from = Answers.NamePool.substr(id / 2 % Answers.NamePool.size());
  const std::size_t count = std::min(from.size(), kObjectNameBytes);
  std::memcpy(name, from.data(), count);
  *type = 1;
  return 0;
}

// The fake client, bound once: the program looks each entry point up once.
struct TBoundClient {
  TBoundClient() {
    modules.AddFullClient();
    modules.Add("CALWIN32.DLL", "NWScanForDeletedFiles", fake::Entry(&ScanRecords));
    modules.Add("CALWIN32.DLL", "NWGetObjectName", fake::Entry(&ObjectNameFromPool));
    base = std::make_unique<TNWBase>(nullptr);
  }
  fake::TFakeModules modules;
  std::unique_ptr<TNWBase> base;
};

bool IsRealDateTime(TDateTime value) {
  return value >= EncodeDate(1980, 1, 1) && value < EncodeDate(2112, 1, 1);
}

bool IsObjectName(const std::string& name) {
  return name.size() <= kObjectNameBytes && name.find('\0') == std::string::npos;
}

void CheckDetails(const TNWDeletedFileInfo& info, const TNWDeletedRecord& record, TDetailTexts& texts) {
  for (const TDateTime value : {info.CreationDateTime, info.ArchiveDateTime, info.UpdateDateTime,
                                info.LastAccessDate, info.DeletedDateTime})
    Require(IsRealDateTime(value), "every date shown is a date from 1980 to 2111");
  for (const std::string* name : {&info.Owner, &info.Archiver, &info.Updater, &info.Deletor})
    Require(IsObjectName(*name), "an object name stays inside the client's buffer");
  Require(info.Name == record.Name && info.FileSize == record.FileSize && info.Attributes == record.Attributes,
          "the details are the entry's own");
  const auto shown = texts.Of(info);
  uint32_t bytes = 0;
  std::memcpy(&bytes, &record.FileSize, sizeof bytes);
  Require(shown[0] == std::to_string(bytes), "the size column shows the server's count of bytes, never negative");
  Require(shown[6].size() == 10, "the attributes column keeps its ten positions");
}

// The listed name is what the record says, its NUL and its length both
// respected, and the entry's own copy of it is terminated.
void CheckListed(const TNWDeletedFileList& list, int index, const TNWDeletedRecordBytes& bytes) {
  const TNWDeletedEntry* entry = list.Entry(index);
  Require(entry != nullptr, "every listed name carries its entry");
  const TNWDeletedRecord record = DecodeDeletedRecord(bytes);
  const std::string name = list.Strings(index);
  const std::size_t nameEnd = std::find(bytes.begin() + 16, bytes.begin() + 272, '\0') - (bytes.begin() + 16);
  Require(name.size() == std::min<std::size_t>(nameEnd, bytes[15]), "the name is cut at its NUL or its length");
  Require(std::memcmp(name.data(), bytes.data() + 16, name.size()) == 0, "the name is the record's");
  Require(entry->EntryName[kMaxFileName] == '\0', "the entry's name is terminated");
  Require(std::string(entry->EntryName) == name.substr(0, kMaxFileName), "the entry's name is the listed name");
  Require(entry->IterHandle == static_cast<uint32_t>(index) && entry->DirBase == 700u + index,
          "an entry keeps the scan position that returned it");
  Require(entry->Record.NameLength == record.NameLength && entry->Record.DeleterID == record.DeleterID,
          "an entry keeps its own record");
}

// A name that, put after the folder's path, names something else than a
// file in that folder.
bool ReachesAnotherPath(std::string_view name) {
  return name.empty() || name == "." || name == ".." || name.find_first_of("\\/:") != std::string_view::npos;
}

// The new name is free and in the folder, and the server is handed back
// exactly the name it gave; a name that cannot be passed whole is not
// passed at all.
void CheckRecovery(const TNWDeletedFileList& list, int index, const std::set<std::string>& live) {
  const std::string name = list.Strings(index);
  const auto exists = [&](const std::string& candidate) { return live.count(candidate) > 0; };
  const auto newName = RecoveryName(name, exists);
  if (ReachesAnotherPath(name)) Require(!newName, "a name that reaches another path is never recovered");
  if (!newName) return;
  Require(!ReachesAnotherPath(*newName) && !exists(*newName), "a recovery name is free and in the same folder");
  const std::size_t before = fake::Server.Recoveries.size();
  const bool recovered = RecoverDeletedEntryAs(list, *list.Entry(index), *newName);
  const bool fits = name.size() <= kMaxFileName && newName->size() <= kMaxFileName;
  Require(recovered == fits, "a recovery is tried exactly when both names fit the client's buffers");
  Require(fake::Server.Recoveries.size() == before + (fits ? 1 : 0), "a refused recovery asks nothing");
  if (!fits) return;
  const auto& asked = fake::Server.Recoveries.back();
  Require(asked.DeletedName == name && asked.NewName == *newName && asked.Iteration == static_cast<uint32_t>(index),
          "the server gets its own name and position back");
}

bool SameDetails(const TNWDeletedFileInfo& a, const TNWDeletedFileInfo& b) {
  return a.Name == b.Name && a.FileSize == b.FileSize && a.DeletedDateTime == b.DeletedDateTime &&
         a.Deletor == b.Deletor && a.Owner == b.Owner && a.Attributes == b.Attributes;
}

// Asked by path, the details are those of the first entry of the name, and a
// name that finds none leaves the caller's record as it was.
void CheckDetailsByPath(TNWDeletedFileList& list, int index) {
  const std::string name = list.Strings(index);
  TNWDeletedFileInfo asked;
  asked.Name = "UNTOUCHED";
  asked.FileSize = -7;
  const TNWDeletedFileInfo before = asked;
  if (!GetDeletedFileInfo(kFolder + name, asked)) {
    Require(SameDetails(asked, before), "details not found leave the record as it was");
    Require(name.empty() || name.size() > kMaxFileName || name.find('\\') != std::string::npos,
            "the details of a listed name that fits are found");
    return;
  }
  int first = 0;
  while (list.Strings(first) != name) ++first;
  TNWDeletedFileInfo listed;
  Require(list.Details(first, listed) && SameDetails(asked, listed), "the details by path are the first entry's");
}

}  // namespace

// One byte for the format settings, one for the length of the pool that
// object names come from, the pool, then records of 376 bytes (the last one
// padded with zeros).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TBoundClient client;
  if (size < 2) return 0;
  const std::size_t poolSize = std::min<std::size_t>(data[1], size - 2);
  const std::span<const std::uint8_t> recordBytes(data + 2 + poolSize, size - 2 - poolSize);
  fake::ResetServer();
  Answers = {};
  Answers.NamePool = std::string_view(reinterpret_cast<const char*>(data + 2), poolSize);
  for (std::size_t at = 0; at < recordBytes.size() && Answers.Records.size() < kMostRecords;
       at += kDeletedRecordSize) {
    TNWDeletedRecordBytes record{};
    const std::size_t count = std::min(kDeletedRecordSize, recordBytes.size() - at);
    std::memcpy(record.data(), recordBytes.data() + at, count);
    Answers.Records.push_back(record);
  }

  TDetailTexts texts(AllSettings()[data[0] % AllSettings().size()]);
  {
    const std::unique_ptr<TNWDeletedFileList> list = GetDeletedFileList(0, kFolder);
    Require(list->Count() == static_cast<int>(Answers.Records.size()), "every record the scan returns is listed");
    // The names already listed stand for live files in the way.
    std::set<std::string> live;
    for (int index = 0; index < list->Count(); ++index) {
      CheckListed(*list, index, Answers.Records[index]);
      TNWDeletedFileInfo info;
      Require(list->Details(index, info), "a listed entry has details");
      CheckDetails(info, list->Entry(index)->Record, texts);
      CheckRecovery(*list, index, live);
      live.insert(list->Strings(index));
    }
    // Each ask by path scans the folder again: the last name is the one
    // that can follow another entry of the same name.
    if (list->Count() > 0) CheckDetailsByPath(*list, list->Count() - 1);
  }
  Require(fake::Server.OpenHandles.empty(), "the listing's directory handle goes with the list");
  return 0;
}
