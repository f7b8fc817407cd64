#include <doctest/doctest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeClient.h"
#include "nwbase.h"

using namespace retrove;

namespace {

constexpr uint32_t kAlice = 0x0A000001;
constexpr uint32_t kBob = 0x0B000001;

// A bound client whose folder F:\DATA\ holds deleted entries.
struct TClientFixture {
  TClientFixture() {
    fake::ResetServer();
    modules.AddFullClient();
    fake::Server.ObjectNames = {{kAlice, "ALICE"}, {kBob, "BOB"}};
    base = std::make_unique<TNWBase>(nullptr);
  }

  void AddDeleted(const std::string& name, uint32_t sequence, uint32_t deleter, uint32_t deletedPacked) {
    fake::TFakeDeleted entry;
    entry.Name = name;
    entry.Sequence = sequence;
    entry.OwnerID = kAlice;
    entry.DeleterID = deleter;
    entry.DeletedPacked = deletedPacked;
    entry.LastAccessDate = static_cast<uint16_t>(fake::PackDate(1997, 12, 31));
    entry.Size = static_cast<int32_t>(sequence * 100);
    entry.Rights = 0x00FB;
    fake::Server.Deleted.push_back(entry);
  }

  fake::TFakeModules modules;
  std::unique_ptr<TNWBase> base;
};

}  // namespace

TEST_CASE_FIXTURE(TClientFixture, "the list holds every entry in server order, each with its own details") {
  AddDeleted("REPORT.TXT", 3, kAlice, fake::PackDateTime(1997, 1, 31, 10, 0, 0));
  AddDeleted("A.TXT", 5, kBob, fake::PackDateTime(1997, 2, 1, 11, 30, 0));
  AddDeleted("REPORT.TXT", 9, kBob, fake::PackDateTime(1997, 3, 1, 12, 0, 0));

  auto list = GetDeletedFileList(0, "f:\\data\\");
  CHECK(fake::Server.ParsedPaths.back() == "F:/DATA/");
  REQUIRE(list->Count() == 3);
  CHECK(list->Strings(0) == "REPORT.TXT");
  CHECK(list->Strings(1) == "A.TXT");
  const TNWDeletedEntry* newer = list->Entry(2);
  REQUIRE(newer);
  CHECK(newer->IterHandle == 9);
  CHECK(newer->VolNumber == 1);
  CHECK(newer->DirBase == 509);
  CHECK(std::string(newer->EntryName) == "REPORT.TXT");
  CHECK(newer->DirHandle != 0);

  // Two versions of one name: each row shows its own entry.
  TNWDeletedFileInfo older;
  TNWDeletedFileInfo latest;
  REQUIRE(list->Details(0, older));
  REQUIRE(list->Details(2, latest));
  CHECK(older.Deletor == "ALICE");
  CHECK(latest.Deletor == "BOB");
  CHECK(older.FileSize == 300);
  CHECK(latest.FileSize == 900);
  CHECK(latest.Owner == "ALICE");
  CHECK(latest.Archiver.empty());  // ID 0 is nobody
  CHECK(latest.DeletedDateTime == doctest::Approx(EncodeDate(1997, 3, 1) + EncodeTime(12, 0, 0, 0)));
  CHECK(older.DeletedDateTime == doctest::Approx(EncodeDate(1997, 1, 31) + EncodeTime(10, 0, 0, 0)));
  CHECK(latest.LastAccessDate == doctest::Approx(EncodeDate(1997, 12, 31)));
  CHECK(latest.CreationDateTime == doctest::Approx(EncodeDate(1996, 2, 29) + EncodeTime(8, 0, 0, 0)));
  CHECK(latest.RightsNormal);
  CHECK(latest.RightsErase);
  CHECK_FALSE(latest.RightsSupervisor);
  CHECK(latest.Attributes == 0x20);

  // Object names are asked once per ID for the whole list.
  TNWDeletedFileInfo again;
  list->Details(1, again);
  CHECK(fake::Server.ObjectNameCalls == 3);  // ALICE, nobody (0), BOB
}

TEST_CASE_FIXTURE(TClientFixture, "the list releases its directory handle when it goes") {
  AddDeleted("A.TXT", 1, kAlice, 0);
  for (int i = 0; i < 300; ++i) {
    auto list = GetDeletedFileList(0, "F:\\DATA\\");
    REQUIRE(list->Count() == 1);
  }
  CHECK(fake::Server.OpenHandles.empty());
  CHECK(fake::Server.HandlesAllocated == 300);
}

TEST_CASE_FIXTURE(TClientFixture, "each entry is told as it is found, and the listener can end the scan") {
  AddDeleted("A.TXT", 1, kAlice, 0);
  AddDeleted("B.TXT", 2, kBob, 0);
  AddDeleted("C.TXT", 3, kAlice, 0);
  std::vector<std::string> told;
  auto list = GetDeletedFileList(0, "F:\\DATA\\", [&](TNWDeletedFileList& found, int index) {
    told.push_back(found.Strings(index));
    TNWDeletedFileInfo info;
    CHECK(found.Details(index, info));  // usable while the scan runs
    CHECK(info.Deletor == (index == 1 ? "BOB" : "ALICE"));
    return index < 1;
  });
  CHECK(told == std::vector<std::string>{"A.TXT", "B.TXT"});
  CHECK(list->Count() == 2);
  CHECK(fake::Server.ScanCalls == 2);  // no call after the listener said stop
  CHECK(fake::Server.OpenHandles.size() == 1);
  list.reset();
  CHECK(fake::Server.OpenHandles.empty());
}

TEST_CASE_FIXTURE(TClientFixture, "listing failures give an empty list") {
  AddDeleted("A.TXT", 1, kAlice, 0);
  CHECK(GetDeletedFileList(0, "G:\\ELSEWHERE\\")->Count() == 0);
  CHECK(fake::Server.OpenHandles.empty());

  const std::string longFolder = "F:\\" + std::string(253, 'X') + "\\";  // 257 characters
  const size_t parsedBefore = fake::Server.ParsedPaths.size();
  CHECK(GetDeletedFileList(0, longFolder)->Count() == 0);
  CHECK(fake::Server.ParsedPaths.size() == parsedBefore);  // refused before the client saw it
}

TEST_CASE_FIXTURE(TClientFixture, "a listing says how it ended, so that an empty list can say why") {
  CHECK(GetDeletedFileList(0, "F:\\DATA\\")->Outcome() == TListingOutcome::Complete);
  CHECK(GetDeletedFileList(0, "C:\\LOCAL\\")->Outcome() == TListingOutcome::NotNetWare);
  CHECK(GetDeletedFileList(0, "F:\\" + std::string(253, 'X') + "\\")->Outcome() == TListingOutcome::Failed);

  AddDeleted("A.TXT", 1, kAlice, 0);
  AddDeleted("B.TXT", 2, kBob, 0);
  const auto stopped = GetDeletedFileList(0, "F:\\DATA\\", [](TNWDeletedFileList&, int) { return false; });
  CHECK(stopped->Count() == 1);
  CHECK(stopped->Outcome() == TListingOutcome::Stopped);

  fake::Server.ScanEndCode = 0x8801;  // the connection went during the scan
  const auto broken = GetDeletedFileList(0, "F:\\DATA\\");
  CHECK(broken->Count() == 2);
  CHECK(broken->Outcome() == TListingOutcome::Failed);
}

TEST_CASE("absent entry points give each operation's failure value") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  for (const char* name : {"NWScanForDeletedFiles", "NWUnpackDateTime", "NWLongSwap"})
    modules.Remove("CALWIN32.DLL", name);
  TNWBase base(nullptr);
  REQUIRE(base.NetAvailable());
  CHECK(GetDeletedFileList(0, "F:\\DATA\\")->Count() == 0);
  TNWDeletedFileInfo info;
  CHECK_FALSE(GetDeletedFileInfo("F:\\DATA\\A.TXT", info));
  CHECK_FALSE(RecoverDeletedFileAs(0, "F:\\DATA\\A.TXT", "F:\\DATA\\A.TXT"));
  CHECK(fake::Server.ParsedPaths.empty());
  CHECK(UnpackNWDateTime(fake::PackDateTime(1997, 1, 31, 6, 0, 0)) == doctest::Approx(EncodeDate(1980, 1, 1)));
  CHECK(LongSwap(0x11223344) == 0);
}

TEST_CASE_FIXTURE(TClientFixture, "details by name take the first entry of exactly that name") {
  AddDeleted("DATA.TXT", 1, kAlice, fake::PackDateTime(1997, 1, 1, 0, 0, 0));
  AddDeleted("A.TXT", 2, kBob, fake::PackDateTime(1997, 1, 2, 0, 0, 0));
  AddDeleted("A.TXT", 3, kAlice, fake::PackDateTime(1997, 1, 3, 0, 0, 0));

  TNWDeletedFileInfo info;
  REQUIRE(GetDeletedFileInfo("F:\\DATA\\A.TXT", info));
  CHECK(info.Name == "A.TXT");
  CHECK(info.Deletor == "BOB");
  CHECK(info.FileSize == 200);
  CHECK(fake::Server.OpenHandles.empty());

  TNWDeletedFileInfo untouched;
  untouched.FileSize = -5;
  CHECK_FALSE(GetDeletedFileInfo("F:\\DATA\\a.txt", untouched));  // case counts
  CHECK_FALSE(GetDeletedFileInfo("F:\\DATA\\", untouched));
  CHECK_FALSE(GetDeletedFileInfo("F:\\DATA\\" + std::string(128, 'N'), untouched));
  CHECK(untouched.FileSize == -5);
  // The details pass the folder's case through.
  CHECK_FALSE(GetDeletedFileInfo("F:\\data\\A.TXT", untouched));
  CHECK(fake::Server.ParsedPaths.back() == "F:/data/");
  CHECK(fake::Server.OpenHandles.empty());
}

TEST_CASE_FIXTURE(TClientFixture, "recovery by name recovers the first match under the new name") {
  AddDeleted("REPORT.TXT", 4, kAlice, 0);
  AddDeleted("REPORT.TXT", 8, kBob, 0);

  REQUIRE(RecoverDeletedFileAs(0, "F:\\DATA\\REPORT.TXT", "X:\\ignored\\REPORT~1.TXT"));
  REQUIRE(fake::Server.Recoveries.size() == 1);
  const auto& call = fake::Server.Recoveries[0];
  CHECK(call.Iteration == 4);
  CHECK(call.Volume == 1);
  CHECK(call.DirBase == 504);
  CHECK(call.DeletedName == "REPORT.TXT");
  CHECK(call.NewName == "REPORT~1.TXT");
  CHECK(fake::Server.OpenHandles.empty());

  fake::Server.RecoverResult = 0x89FE;
  CHECK_FALSE(RecoverDeletedFileAs(0, "F:\\DATA\\REPORT.TXT", "F:\\DATA\\REPORT.TXT"));

  // No file part: the whole folder is scanned and nothing matches.
  const int scans = fake::Server.ScanCalls;
  CHECK_FALSE(RecoverDeletedFileAs(0, "F:\\DATA\\", "F:\\DATA\\X.TXT"));
  CHECK(fake::Server.ScanCalls == scans);  // an empty name is refused without a scan
  CHECK_FALSE(RecoverDeletedFileAs(0, "F:\\DATA\\REPORT.TXT", "F:\\DATA\\" + std::string(128, 'N')));
  CHECK(fake::Server.Recoveries.size() == 2);
  CHECK(fake::Server.OpenHandles.empty());
}

TEST_CASE_FIXTURE(TClientFixture, "a purge names exactly its own entry, and a refusal or no purge call says false") {
  AddDeleted("REPORT.TXT", 4, kAlice, 0);
  AddDeleted("REPORT.TXT", 8, kBob, 0);
  const auto list = GetDeletedFileList(0, "F:\\DATA\\");
  REQUIRE(list->Count() == 2);
  CHECK(PurgeAvailable());

  REQUIRE(PurgeDeletedEntry(*list, *list->Entry(1)));
  REQUIRE(fake::Server.Purges.size() == 1);
  const auto& call = fake::Server.Purges[0];
  CHECK(call.Iteration == 8);
  CHECK(call.Volume == list->Entry(1)->VolNumber);
  CHECK(call.DirBase == list->Entry(1)->DirBase);
  CHECK(call.DeletedName == "REPORT.TXT");

  fake::Server.PurgeResult = 0x8985;
  CHECK_FALSE(PurgeDeletedEntry(*list, *list->Entry(0)));
  CHECK(fake::Server.Purges.size() == 2);

  TNWDeletedEntry unlisted;  // no directory handle: never sent
  CHECK_FALSE(PurgeDeletedEntry(*list, unlisted));
  CHECK(fake::Server.Purges.size() == 2);
}

TEST_CASE("a client without the purge call lists and recovers, and only purging is unavailable") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  modules.Remove("CALWIN32.DLL", "NWPurgeDeletedFile");
  TNWBase base(nullptr);
  REQUIRE(base.NetAvailable());
  CHECK_FALSE(PurgeAvailable());
  fake::TFakeDeleted entry;
  entry.Name = "A.TXT";
  entry.Sequence = 1;
  fake::Server.Deleted.push_back(entry);
  const auto list = GetDeletedFileList(0, "F:\\DATA\\");
  REQUIRE(list->Count() == 1);
  CHECK_FALSE(PurgeDeletedEntry(*list, *list->Entry(0)));
  CHECK(fake::Server.Purges.empty());
}

TEST_CASE_FIXTURE(TClientFixture, "packed dates: impossible parts fall back without losing the others") {
  CHECK(UnpackNWDateTime(fake::PackDateTime(1997, 1, 31, 0, 0, 0)) == doctest::Approx(EncodeDate(1997, 1, 31)));
  CHECK(UnpackNWDateTime(fake::PackDateTime(2000, 2, 29, 23, 59, 58)) ==
        doctest::Approx(EncodeDate(2000, 2, 29) + EncodeTime(23, 59, 58, 0)));
  // Hour 24 keeps the date and adds no time.
  CHECK(UnpackNWDateTime(fake::PackDateTime(1997, 6, 1, 24, 0, 0)) == doctest::Approx(EncodeDate(1997, 6, 1)));
  // 30 February with a good time: 1 January 1980 at that time.
  CHECK(UnpackNWDateTime(fake::PackDateTime(1997, 2, 30, 6, 0, 0)) ==
        doctest::Approx(EncodeDate(1980, 1, 1) + EncodeTime(6, 0, 0, 0)));
  CHECK(UnpackNWDateTime(0) == doctest::Approx(EncodeDate(1980, 1, 1)));
}

TEST_CASE("the record decoder reads every field at its offset") {
  TNWDeletedRecordBytes bytes{};
  const auto put32 = [&](size_t offset, uint32_t value) { std::memcpy(bytes.data() + offset, &value, 4); };
  put32(8, 0x00010021);
  bytes[13] = 0x5A;
  bytes[14] = 4;
  bytes[15] = 9;
  std::memcpy(bytes.data() + 16, "LONGNAME.TXT", 12);
  const uint32_t fields[] = {272, 276, 280, 284, 288, 292, 296, 352, 356};
  for (uint32_t offset : fields) put32(offset, offset * 1000 + 1);
  bytes[344] = 0xFB;
  bytes[345] = 0x01;
  bytes[346] = 0x12;
  bytes[347] = 0x34;
  const TNWDeletedRecord record = DecodeDeletedRecord(bytes);
  CHECK(record.Attributes == 0x00010021);
  CHECK(record.Flags == 0x5A);
  CHECK(record.NameSpace == 4);
  CHECK(ReturnedEntryName(record) == "LONGNAME.");
  CHECK(record.CreationPacked == 272001);
  CHECK(record.OwnerID == 276001);
  CHECK(record.ArchivePacked == 280001);
  CHECK(record.ArchiverID == 284001);
  CHECK(record.UpdatePacked == 288001);
  CHECK(record.UpdaterID == 292001);
  CHECK(record.FileSize == 296001);
  CHECK(record.RightsMask == 0x01FB);
  CHECK(record.LastAccessDate == 0x3412);
  CHECK(record.DeletedPacked == 352001);
  CHECK(record.DeleterID == 356001);

  // A name without its NUL stops at the end of its 256-byte field.
  std::memset(bytes.data() + 16, 'Z', 256);
  bytes[15] = 255;
  CHECK(ReturnedEntryName(DecodeDeletedRecord(bytes)) == std::string(255, 'Z'));
}
