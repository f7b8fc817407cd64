#include <doctest/doctest.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "FarTimeZone.h"
#include "TempServer.h"

using namespace nwsim;

namespace {

std::vector<DeletedEntry> ScanAll(Server& server, const std::string& folder) {
  std::vector<DeletedEntry> entries;
  uint32_t handle = kScanStart;
  while (std::optional<DeletedEntry> e = server.NextDeleted("SYS", folder, handle)) {
    entries.push_back(*e);
    handle = e->sequence;
  }
  return entries;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST_CASE("a scan returns a folder's entries in deletion order, duplicates included") {
  TempServer t;
  t.Deleted("DOCS", "DATA.TXT");
  t.Deleted("OTHER", "ELSEWHERE.TXT");
  t.Deleted("DOCS", "A.TXT", "first");
  t.Deleted("DOCS", "A.TXT", "second");
  std::vector<DeletedEntry> entries = ScanAll(t.Server(), "DOCS");
  REQUIRE(entries.size() == 3);
  CHECK(entries[0].name == "DATA.TXT");
  CHECK(entries[1].name == "A.TXT");
  CHECK(entries[2].name == "A.TXT");
  CHECK(entries[1].size == 5);
  CHECK(entries[2].size == 6);
  CHECK(entries[1].sequence < entries[2].sequence);
  CHECK(entries[0].deleter == 0x1000002);
  CHECK(UnpackDateTime(entries[0].deleted).year == 1997);
  CHECK(ScanAll(t.Server(), "EMPTY").empty());
}

TEST_CASE("sequences stay the same when other entries are recovered or purged") {
  TempServer t;
  uint32_t first = t.Deleted("DOCS", "ONE.TXT");
  uint32_t second = t.Deleted("DOCS", "TWO.TXT");
  uint32_t third = t.Deleted("DOCS", "THREE.TXT");
  CHECK(t.Server().Recover("SYS", "DOCS", first, "ONE.TXT", "ONE.TXT") == kOk);
  CHECK(t.Server().Purge("SYS", "DOCS", second) == kOk);
  std::vector<DeletedEntry> entries = ScanAll(t.Server(), "DOCS");
  REQUIRE(entries.size() == 1);
  CHECK(entries[0].sequence == third);
  // A scan resumed from a handle that vanished goes on after it.
  CHECK(t.Server().NextDeleted("SYS", "DOCS", second)->sequence == third);
}

TEST_CASE("recovery restores the contents and never overwrites") {
  TempServer t;
  uint32_t old = t.Deleted("DOCS", "README.TXT", "old text");
  t.Server().PutFile("SYS", "DOCS", "README.TXT", "live text");
  std::filesystem::path docs = *t.Server().Folder().LiveFolder("SYS", "DOCS");

  CHECK(t.Server().Recover("SYS", "DOCS", old, "README.TXT", "readme.txt") == kFileExists);
  CHECK(ReadFile(docs / "README.TXT") == "live text");
  CHECK(ScanAll(t.Server(), "DOCS").size() == 1);

  CHECK(t.Server().Recover("SYS", "DOCS", old, "README.TXT", "README~1.TXT") == kOk);
  CHECK(ReadFile(docs / "README~1.TXT") == "old text");
  CHECK(ScanAll(t.Server(), "DOCS").empty());
  CHECK(t.Server().Recover("SYS", "DOCS", old, "README.TXT", "AGAIN.TXT") == kFailure);
}

TEST_CASE("a file that takes the name between the recovery's check and its move is kept") {
  TempServer t;
  uint32_t s = t.Deleted("DOCS", "A.TXT", "old text");
  std::filesystem::path docs = *t.Server().Folder().LiveFolder("SYS", "DOCS");
  // The name was free when the recovery looked; a user saves a file of
  // that name just before the move.
  t.Server().PutFile("SYS", "DOCS", "A.TXT", "live text");
  CHECK(t.Server().Folder().MoveOutOfSalvage(s, docs / "A.TXT") == kFileExists);
  CHECK(ReadFile(docs / "A.TXT") == "live text");
  CHECK(ReadFile(t.Server().Folder().SalvageFile(s)) == "old text");
  CHECK(t.Server().Recover("SYS", "DOCS", s, "A.TXT", "A~1.TXT") == kOk);
  CHECK(ReadFile(docs / "A~1.TXT") == "old text");
}

TEST_CASE("a recovery needs the stored contents; generated entries, which never had any, come back as filler") {
  TempServer t;
  uint32_t lost = t.Deleted("DOCS", "LOST.TXT", "text");
  std::filesystem::remove(t.Server().Folder().SalvageFile(lost));
  std::filesystem::path docs = *t.Server().Folder().LiveFolder("SYS", "DOCS");
  CHECK(t.Server().Recover("SYS", "DOCS", lost, "LOST.TXT", "LOST.TXT") == kFailure);
  CHECK_FALSE(std::filesystem::exists(docs / "LOST.TXT"));
  CHECK(ScanAll(t.Server(), "DOCS").size() == 1);

  t.Server().Generate("SYS", "DOCS", 1, 0x1000001, {1997, 6, 1, 8, 0, 0});
  const DeletedEntry generated = ScanAll(t.Server(), "DOCS").back();
  REQUIRE(generated.sequence != lost);
  CHECK(t.Server().Recover("SYS", "DOCS", generated.sequence, generated.name, "MADE.DAT") == kOk);
  CHECK(ReadFile(docs / "MADE.DAT") == std::string(generated.size, '.'));
}

TEST_CASE("recovery refuses what the server would refuse") {
  TempServer t;
  uint32_t s = t.Deleted("DOCS", "A.TXT");
  CHECK(t.Server().Recover("SYS", "DOCS", s, "B.TXT", "A.TXT") == kFailure);
  CHECK(t.Server().Recover("SYS", "OTHER", s, "A.TXT", "A.TXT") == kFailure);
  CHECK(t.Server().Recover("SYS", "DOCS", s, "A.TXT", "") == kInvalidPath);
  CHECK(t.Server().Recover("SYS", "DOCS", s, "A.TXT", "X/Y.TXT") == kInvalidPath);
  CHECK(t.Server().Recover("SYS", "DOCS", s, "A.TXT", std::string(256, 'N')) == kInvalidPath);
  CHECK(ScanAll(t.Server(), "DOCS").size() == 1);
}

TEST_CASE("salvaging needs Create and purging needs Erase, inherited from the parent folder") {
  TempServer t;
  uint32_t s = t.Deleted("DOCS/SUB", "A.TXT");
  t.Server().Folder().Update([](State& state) {
    state.rights.push_back({"SYS", "DOCS", static_cast<uint16_t>(kAllRights & ~kRightCreate & ~kRightErase)});
    return true;
  });
  CHECK(t.Server().Recover("SYS", "DOCS/SUB", s, "A.TXT", "A.TXT") == kNoCreatePrivileges);
  CHECK(t.Server().Purge("SYS", "DOCS/SUB", s) == kNoCreateDeletePrivileges);
  t.Server().Folder().Update([](State& state) {
    state.rights.push_back({"SYS", "DOCS/SUB", kAllRights});
    return true;
  });
  CHECK(t.Server().Recover("SYS", "DOCS/SUB", s, "A.TXT", "A.TXT") == kOk);
}

TEST_CASE("a failed operation changes nothing on disk") {
  TempServer t;
  uint32_t s = t.Deleted("DOCS", "A.TXT");
  t.Server().PutFile("SYS", "DOCS", "B.TXT", "live");
  const uint64_t generation = t.Server().Current()->state.generation;
  const std::string before = t.Fingerprint();
  CHECK(t.Server().Purge("SYS", "DOCS", s + 100) == kFailure);
  CHECK(t.Server().Purge("SYS", "OTHER", s) == kFailure);
  CHECK(t.Server().Recover("SYS", "DOCS", s, "A.TXT", "B.TXT") == kFileExists);
  CHECK(t.Server().Recover("SYS", "DOCS", s, "B.TXT", "C.TXT") == kFailure);
  CHECK(t.Fingerprint() == before);
  CHECK(t.Server().Current()->state.generation == generation);
}

TEST_CASE("two writers at once lose nothing") {
  TempServer t;
  auto writer = [&](const std::string& prefix) {
    Server own(t.Root());  // its own cache, as another process would have
    for (int i = 0; i < 15; ++i) {
      std::string name = prefix + std::to_string(i) + ".TXT";
      own.PutFile("SYS", "DOCS", name, name);
      Deletion d;
      d.volume = "SYS";
      d.folder = "DOCS";
      d.name = name;
      d.deleter = 0x1000001;
      own.DeleteFile(d);
    }
  };
  std::thread a(writer, "A"), b(writer, "B");
  a.join();
  b.join();
  std::vector<DeletedEntry> entries = ScanAll(t.Server(), "DOCS");
  REQUIRE(entries.size() == 30);
  for (size_t i = 1; i < entries.size(); ++i) CHECK(entries[i - 1].sequence < entries[i].sequence);
  for (const DeletedEntry& e : entries)
    CHECK(ReadFile(t.Server().Folder().SalvageFile(e.sequence)) == e.name);
}

TEST_CASE("a generated folder of 100,000 entries scans in linear time") {
  TempServer t;
  t.Server().PutFile("SYS", "BIG", "LIVE.TXT", "");
  t.Server().Generate("SYS", "BIG", 100000, 0x1000001, {1997, 6, 1, 8, 0, 0});
  auto start = std::chrono::steady_clock::now();
  std::vector<DeletedEntry> entries = ScanAll(t.Server(), "BIG");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  CHECK(entries.size() == 100000);
  MESSAGE("scanned 100000 entries in " << seconds << " s");
  CHECK(seconds < 30.0);
  std::filesystem::path big = *t.Server().Folder().LiveFolder("SYS", "BIG");
  CHECK(t.Server().Recover("SYS", "BIG", entries[5].sequence, entries[5].name, "BACK.DAT") == kOk);
  CHECK(std::filesystem::file_size(big / "BACK.DAT") == entries[5].size);
}

TEST_CASE("the server's clock and a deletion made without a time keep local time") {
  FarTimeZone zone;
  const ClockReading clock = ReadClock([] { return CurrentDateTime(); });
  CHECK(clock.seen == clock.expected);

  TempServer t;
  t.Server().PutFile("SYS", "DOCS", "A.TXT", "x");
  const ClockReading deleted = ReadClock([&] {
    Deletion d;
    d.volume = "SYS";
    d.folder = "DOCS";
    d.name = "A.TXT";
    d.deleter = 0x1000002;
    return UnpackDateTime(t.Server().DeleteFile(d).deleted);
  });
  CHECK(deleted.seen == deleted.expected);
}
