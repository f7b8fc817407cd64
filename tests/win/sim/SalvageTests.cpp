#include <doctest/doctest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Calls.h"

namespace {

std::string ObjectName(CallsLibrary& calls, uint32_t id) {
  char name[50] = {};
  uint16_t type = 0;
  return calls.objectName(calls.conn, id, name, &type) == 0 ? name : "";
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST_CASE("absent modules: nothing loads without the client's folder") {
  CHECK(LoadLibraryA("CALWIN32.DLL") == nullptr);
  CHECK(GetLastError() == ERROR_MOD_NOT_FOUND);
  CHECK(LoadLibraryA("CLXWIN32.DLL") == nullptr);
}

TEST_CASE("scan, details and recover through the calls library") {
  ServerFixture server;
  CallsLibrary calls;
  uint8_t handle = 0;
  REQUIRE(calls.Open("F:/DOCS/", handle) == 0);
  std::vector<ScannedEntry> entries = calls.ScanAll(handle);
  REQUIRE(entries.size() == 5);
  const char* names[] = {"BUDGET.XLS", "MEMO.TXT", "MEMO.TXT", "README.TXT", "LETTER.DOC"};
  for (size_t i = 0; i < entries.size(); ++i) CHECK(NameOf(entries[i]) == names[i]);

  const ScannedEntry& budget = entries[0];
  CHECK(Get32(budget.record + 0) == budget.iterHandle);
  CHECK(Get32(budget.record + 8) == 0x20);
  CHECK(Get32(budget.record + 296) == 25);
  CHECK(Get16(budget.record + 344) == 0x1FB);
  CHECK(ObjectName(calls, Get32(budget.record + 276)) == "MJONES");
  CHECK(ObjectName(calls, Get32(budget.record + 356)) == "JSMITH");
  CHECK(ObjectName(calls, Get32(entries[2].record + 356)) == "JSMITH");
  CHECK(ObjectName(calls, Get32(entries[1].record + 356)) == "MJONES");
  NW_DATE date{1, 1, 1980};
  NW_TIME time{0, 0, 12};
  calls.unpack(Get32(budget.record + 352), &date, &time);
  CHECK(date.year == 1997);
  CHECK(date.month == 3);
  CHECK(date.day == 10);
  CHECK(time.hours == 9);
  CHECK(time.minutes == 15);
  CHECK(time.seconds == 20);

  std::string docs = server.Root() + "\\volumes\\SYS\\DOCS\\";
  const ScannedEntry& readme = entries[3];
  CHECK(calls.recover(calls.conn, handle, readme.iterHandle, readme.volume, readme.dirBase, "README.TXT",
                      "README.TXT") == 0x89FE);
  CHECK(Contents(docs + "README.TXT") == "Current readme.\r\n");
  CHECK(calls.recover(calls.conn, handle, readme.iterHandle, readme.volume, readme.dirBase, "README.TXT",
                      "README~1.TXT") == 0);
  CHECK(Contents(docs + "README~1.TXT") == "Old readme.\r\n");
  CHECK(calls.recover(calls.conn, handle, readme.iterHandle, readme.volume, readme.dirBase, "README.TXT",
                      "README~2.TXT") == 0x89FF);

  const ScannedEntry& secondMemo = entries[2];
  CHECK(calls.recover(calls.conn, handle, secondMemo.iterHandle, secondMemo.volume, secondMemo.dirBase, "MEMO.TXT",
                      "MEMO.TXT") == 0);
  CHECK(Contents(docs + "MEMO.TXT") == "Second memo, revised.\r\n");
  std::vector<ScannedEntry> after = calls.ScanAll(handle);
  REQUIRE(after.size() == 3);
  CHECK(after[1].iterHandle == entries[1].iterHandle);
  CHECK(after[2].iterHandle == entries[4].iterHandle);
  CHECK(calls.dealloc(calls.conn, handle) == 0);
  CHECK(calls.dealloc(calls.conn, handle) == 0x899B);
}

TEST_CASE("a purge needs the Erase right and takes only its own entry, for good") {
  ServerFixture server;
  CallsLibrary calls;
  uint8_t handle = 0;
  REQUIRE(calls.Open("F:/DOCS/", handle) == 0);
  const std::vector<ScannedEntry> entries = calls.ScanAll(handle);
  REQUIRE(entries.size() == 5);
  const ScannedEntry& firstMemo = entries[1];
  const ScannedEntry& secondMemo = entries[2];
  const auto purge = [&](const ScannedEntry& e) {
    return calls.purge(calls.conn, handle, e.iterHandle, e.volume, e.dirBase, NameOf(e).c_str());
  };

  REQUIRE(server.Nwsim("rights SYS:DOCS 0x1EB") == 0);  // all but Erase
  CHECK(purge(firstMemo) == 0x8985);
  CHECK(calls.ScanAll(handle).size() == 5);

  REQUIRE(server.Nwsim("rights SYS:DOCS 0x1FB") == 0);
  CHECK(calls.purge(calls.conn, handle, firstMemo.iterHandle, firstMemo.volume + 1, firstMemo.dirBase,
                    "MEMO.TXT") == 0x8998);
  CHECK(calls.purge(calls.conn, handle, firstMemo.iterHandle, firstMemo.volume, firstMemo.dirBase, nullptr) ==
        0x89FF);
  CHECK(purge(firstMemo) == 0);
  CHECK(purge(firstMemo) == 0x89FF);
  const std::vector<ScannedEntry> after = calls.ScanAll(handle);
  REQUIRE(after.size() == 4);
  CHECK(after[1].iterHandle == secondMemo.iterHandle);
  CHECK(calls.recover(calls.conn, handle, firstMemo.iterHandle, firstMemo.volume, firstMemo.dirBase, "MEMO.TXT",
                      "MEMO~1.TXT") == 0x89FF);
  CHECK(calls.recover(calls.conn, handle, secondMemo.iterHandle, secondMemo.volume, secondMemo.dirBase, "MEMO.TXT",
                      "MEMO.TXT") == 0);
  calls.dealloc(calls.conn, handle);
}

TEST_CASE("the program's last-access decoding gives the stored date back") {
  ServerFixture server;
  CallsLibrary calls;
  uint8_t handle = 0;
  REQUIRE(calls.Open("F:/DOCS/", handle) == 0);
  std::vector<ScannedEntry> entries = calls.ScanAll(handle);
  REQUIRE_FALSE(entries.empty());
  // Read the 16-bit field, widen it with a zero upper half, swap the four
  // bytes, unpack.
  uint32_t widened = Get16(entries[0].record + 346);
  uint32_t swapped = calls.longSwap(widened);
  NW_DATE date{1, 1, 1980};
  NW_TIME time{0, 0, 12};
  calls.unpack(swapped, &date, &time);
  CHECK(date.year == 1997);
  CHECK(date.month == 1);
  CHECK(date.day == 31);
  CHECK(time.hours == 0);
  calls.dealloc(calls.conn, handle);
}

TEST_CASE("a record is written in full and never beyond") {
  ServerFixture server;
  CallsLibrary calls;
  uint8_t handle = 0;
  REQUIRE(calls.Open("F:/DOCS/", handle) == 0);
  uint8_t buffer[400];
  std::memset(buffer, 0xAB, sizeof buffer);
  uint32_t iter = 0xFFFFFFFF, volume = 99, base = 0;
  REQUIRE(calls.scan(calls.conn, handle, &iter, &volume, &base, buffer) == 0);
  CHECK(volume == 0);
  for (size_t i = 376; i < sizeof buffer; ++i) CHECK(buffer[i] == 0xAB);
  CHECK(buffer[16 + buffer[15]] == 0);
  calls.dealloc(calls.conn, handle);
}

TEST_CASE("bad arguments fail with a NetWare code") {
  ServerFixture server;
  CallsLibrary calls;
  char path[256];
  uint32_t conn = 0;
  uint8_t dir = 0;
  CHECK(calls.parse("C:/WINDOWS/", &conn, &dir, path) != 0);
  CHECK(calls.parse(nullptr, &conn, &dir, path) != 0);
  CHECK(calls.parse("F:/DOCS/", nullptr, &dir, path) != 0);
  std::string longPath = "F:/" + std::string(300, 'A');
  CHECK(calls.parse(longPath.c_str(), &conn, &dir, path) != 0);

  uint8_t handle = 0;
  CHECK(calls.alloc(calls.conn, 0, "SYS:NO/SUCH/FOLDER", &handle, nullptr) == 0x899C);
  CHECK(calls.alloc(calls.conn, 0, "VOL9:", &handle, nullptr) == 0x8998);
  CHECK(calls.alloc(0x1234, 0, "SYS:DOCS", &handle, nullptr) == 0x8801);
  CHECK(calls.alloc(calls.conn, 0, "SYS:DOCS", nullptr, nullptr) != 0);

  uint8_t record[376];
  uint32_t iter = 0xFFFFFFFF, volume = 0, base = 0;
  CHECK(calls.scan(calls.conn, 77, &iter, &volume, &base, record) == 0x899B);
  REQUIRE(calls.Open("F:/DOCS/", handle) == 0);
  CHECK(calls.scan(calls.conn, handle, nullptr, &volume, &base, record) != 0);
  CHECK(calls.scan(calls.conn, handle, &iter, &volume, &base, nullptr) != 0);
  CHECK(calls.recover(calls.conn, handle, 1, 0, 0, nullptr, "A") == 0x89FF);
  CHECK(ObjectName(calls, 0x12345678) == "");
  calls.dealloc(calls.conn, handle);
}

TEST_CASE("directory handles run out at 255") {
  ServerFixture server;
  CallsLibrary calls;
  std::vector<uint8_t> handles;
  uint8_t handle = 0;
  NWCCODE code = 0;
  while ((code = calls.Open("F:/DOCS/", handle)) == 0 && handles.size() < 300) handles.push_back(handle);
  CHECK(handles.size() == 255);
  CHECK(code == 0x899D);
  for (uint8_t h : handles) CHECK(calls.dealloc(calls.conn, h) == 0);
}

TEST_CASE("faults set with nwsim reach the modules") {
  ServerFixture server;
  CallsLibrary calls;
  uint8_t handle = 0;
  REQUIRE(calls.Open("F:/DOCS/", handle) == 0);
  REQUIRE(server.Nwsim("fault fail NWScanForDeletedFiles 0x8801") == 0);
  CHECK(calls.ScanAll(handle).empty());
  REQUIRE(server.Nwsim("fault clear") == 0);
  REQUIRE(server.Nwsim("fault vanish LETTER.DOC") == 0);
  std::vector<ScannedEntry> listed = calls.ScanAll(handle);
  REQUIRE(listed.size() == 5);
  const ScannedEntry& letter = listed[4];
  CHECK(calls.recover(calls.conn, handle, letter.iterHandle, letter.volume, letter.dirBase, "LETTER.DOC",
                      "LETTER.DOC") == 0x89FF);
  CHECK(calls.ScanAll(handle).size() == 4);
  REQUIRE(server.Nwsim("fault clear") == 0);
  REQUIRE(server.Nwsim("rights SYS:DOCS 0x1F3") == 0);
  CHECK(calls.recover(calls.conn, handle, listed[0].iterHandle, listed[0].volume, listed[0].dirBase, "BUDGET.XLS",
                      "BUDGET.XLS") == 0x8984);
  calls.dealloc(calls.conn, handle);
}

TEST_CASE("scan speed of a 100,000-entry folder") {
  ServerFixture server(false);
  REQUIRE(server.Nwsim("map F SYS:") == 0);
  REQUIRE(server.Nwsim("put SYS:BIG/LIVE.TXT") == 0);
  REQUIRE(server.Nwsim("generate SYS:BIG 100000") == 0);
  CallsLibrary calls;
  uint8_t handle = 0;
  REQUIRE(calls.Open("F:/BIG/", handle) == 0);
  DWORD start = GetTickCount();
  size_t count = calls.ScanAll(handle).size();
  DWORD elapsed = GetTickCount() - start;
  CHECK(count == 100000);
  MESSAGE("scanned " << count << " entries in " << elapsed << " ms: "
                     << (elapsed ? count * 1000 / elapsed : count) << " entries per second");
  calls.dealloc(calls.conn, handle);
}
