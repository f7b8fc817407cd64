#include <doctest/doctest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "Calls.h"
#include "FarTimeZone.h"

namespace {

using NWGetFileServerInformationFn = NWCCODE(NWCALL*)(uint32_t, char*, uint8_t*, uint8_t*, uint8_t*, uint16_t*,
                                                      uint16_t*, uint16_t*, uint16_t*, uint8_t*, uint8_t*);
using NWGetFileServerInfoFn = NWCCODE(NWCALL*)(uint32_t, uint8_t*);
using NWCCGetConnInfoFn = NWCCODE(NWCALL*)(uint32_t, uint32_t, uint32_t, void*);
using NWLlocaleconvFn = void*(NWCALL*)(void*);
using NWIsDSServerFn = uint16_t(NWCALL*)(uint32_t, char*);
using NWDSCreateContextFn = int32_t(NWCALL*)();
using NWDSFreeContextFn = NWCCODE(NWCALL*)(int32_t);
using NWInitUnicodeTablesFn = NWCCODE(NWCALL*)(int32_t, int32_t);
using NWFreeUnicodeTablesFn = NWCCODE(NWCALL*)();
using NWDSMapIDToNameFn = NWCCODE(NWCALL*)(int32_t, uint32_t, uint32_t, char*);
using NWDSMapNameToIDFn = NWCCODE(NWCALL*)(int32_t, uint32_t, const char*, uint32_t*);
using NWGetObjectNameFn2 = NWCCODE(NWCALL*)(uint32_t, uint32_t, char*, uint16_t*);
using NWCheckConsolePrivilegesFn = NWCCODE(NWCALL*)(uint32_t);
using NWIsManagerFn = NWCCODE(NWCALL*)(uint32_t);
using NWDSWhoAmIFn = NWCCODE(NWCALL*)(int32_t, char*);
using NWDSSetContextFn = NWCCODE(NWCALL*)(int32_t, int32_t, const void*);
using NWDSAllocBufFn = NWCCODE(NWCALL*)(size_t, void**);
using NWDSInitBufFn = NWCCODE(NWCALL*)(int32_t, uint32_t, void*);
using NWDSPutAttrNameFn = NWCCODE(NWCALL*)(int32_t, void*, const char*);
using NWDSReadFn = NWCCODE(NWCALL*)(int32_t, const char*, uint32_t, uint8_t, void*, int32_t*, void*);
using NWDSGetAttrNameFn = NWCCODE(NWCALL*)(int32_t, void*, char*, uint32_t*, uint32_t*);
using NWDSGetAttrValFn = NWCCODE(NWCALL*)(int32_t, void*, uint32_t, void*);
using NWGetObjectIDFn = NWCCODE(NWCALL*)(uint32_t, const char*, uint16_t, uint32_t*);
using NWGetConnectionNumberFn = NWCCODE(NWCALL*)(uint32_t, uint16_t*);
using NWGetConnectionInformationFn = NWCCODE(NWCALL*)(uint32_t, uint16_t, char*, uint16_t*, uint32_t*, uint8_t*);
using NWGetFileServerDateAndTimeFn = NWCCODE(NWCALL*)(uint32_t, uint8_t*);
using NWSetFileServerDateAndTimeFn = NWCCODE(NWCALL*)(uint32_t, uint8_t, uint8_t, uint8_t, uint8_t, uint8_t, uint8_t);

// The unicode tables loaded for a scope, as a program loads them before it
// makes a directory context.
class UnicodeTables {
public:
  UnicodeTables() { REQUIRE(EntryPoint<NWInitUnicodeTablesFn>("LOCWIN32.DLL", "NWInitUnicodeTables")(1, 437) == 0); }
  ~UnicodeTables() { EntryPoint<NWFreeUnicodeTablesFn>("LOCWIN32.DLL", "NWFreeUnicodeTables")(); }
  UnicodeTables(const UnicodeTables&) = delete;
  UnicodeTables& operator=(const UnicodeTables&) = delete;
};

// The seven bytes the calls library gives a time in: years since 1900,
// month, day, hours, minutes, seconds and one more.
nwsim::DateTimeParts FromClientBytes(const uint8_t* bytes) {
  return {1900 + bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5]};
}

}  // namespace

TEST_CASE("server information and connection information") {
  ServerFixture server;
  CallsLibrary calls;
  char name[48] = {};
  uint8_t major = 0, minor = 0, revision = 0, sft = 0, tts = 0;
  uint16_t maxConns = 0, used = 0, inUse = 0, volumes = 0;
  auto info = EntryPoint<NWGetFileServerInformationFn>("CALWIN32.DLL", "NWGetFileServerInformation");
  REQUIRE(info(calls.conn, name, &major, &minor, &revision, &maxConns, &used, &inUse, &volumes, &sft, &tts) == 0);
  CHECK(std::string(name) == "ACME_FS1");
  CHECK(major == 4);
  CHECK(minor == 11);
  CHECK(volumes == 2);

  uint8_t extended[160];
  std::memset(extended, 0xCD, sizeof extended);
  REQUIRE(EntryPoint<NWGetFileServerInfoFn>("CALWIN32.DLL", "NWGetFileServerInfo")(calls.conn, extended) == 0);
  CHECK(extended[0] == 4);
  CHECK(extended[151] == 0xCD);

  for (const char* module : {"CALWIN32.DLL", "CLXWIN32.DLL"}) {
    auto connInfo = EntryPoint<NWCCGetConnInfoFn>(module, "NWCCGetConnInfo");
    char serverName[48] = {};
    CHECK(connInfo(calls.conn, 7, sizeof serverName, serverName) == 0);
    CHECK(std::string(serverName) == "ACME_FS1");
    char tooSmall[4] = {'x', 'x', 'x', 'x'};
    CHECK(connInfo(calls.conn, 7, sizeof tooSmall, tooSmall) != 0);
    CHECK(tooSmall[0] == 'x');
    uint32_t number = 0;
    CHECK(connInfo(calls.conn, 5, 4, &number) == 0);
    CHECK(number == 1);
  }

  uint32_t id = 0;
  auto objectId = EntryPoint<NWGetObjectIDFn>("CALWIN32.DLL", "NWGetObjectID");
  REQUIRE(objectId(calls.conn, "PSERVER1", 0x0700, &id) == 0);
  CHECK(calls.longSwap(id) == 0x01000005);
  CHECK(objectId(calls.conn, "PSERVER1", 0x0100, &id) == 0x89FC);
}

TEST_CASE("the server's clock and the login time are local time") {
  ServerFixture server;
  CallsLibrary calls;
  FarTimeZone zone;
  uint16_t number = 0;
  REQUIRE(EntryPoint<NWGetConnectionNumberFn>("CALWIN32.DLL", "NWGetConnectionNumber")(calls.conn, &number) == 0);
  auto connectionInfo = EntryPoint<NWGetConnectionInformationFn>("CALWIN32.DLL", "NWGetConnectionInformation");
  const ClockReading login = ReadClock([&] {
    uint8_t loginTime[7] = {};
    CHECK(connectionInfo(calls.conn, number, nullptr, nullptr, nullptr, loginTime) == 0);
    return FromClientBytes(loginTime);
  });
  CHECK(login.seen == login.expected);

  auto serverTime = EntryPoint<NWGetFileServerDateAndTimeFn>("CALWIN32.DLL", "NWGetFileServerDateAndTime");
  const auto readServerTime = [&] {
    uint8_t now[7] = {};
    CHECK(serverTime(calls.conn, now) == 0);
    return FromClientBytes(now);
  };
  const ClockReading clock = ReadClock(readServerTime);
  CHECK(clock.seen == clock.expected);

  // A clock set to a local time reads back as that time.
  auto setServerTime = EntryPoint<NWSetFileServerDateAndTimeFn>("CALWIN32.DLL", "NWSetFileServerDateAndTime");
  REQUIRE(setServerTime(calls.conn, 99, 12, 31, 23, 59, 0) == 0);
  const nwsim::DateTimeParts set = readServerTime();
  CHECK(TimeText(set).substr(0, 16) == "1999-12-31 23:59");
  CHECK(set.second < 10);

  // Kept with the server, so the tool and every process see it.
  REQUIRE(server.Nwsim("clock set \"2031-02-03 04:05\"") == 0);
  CHECK(TimeText(readServerTime()).substr(0, 16) == "2031-02-03 04:05");
  REQUIRE(server.Nwsim("clock bytes 26 2 30 25 61 99 9") == 0);
  uint8_t raw[7] = {};
  REQUIRE(serverTime(calls.conn, raw) == 0);
  CHECK(std::vector<uint8_t>(raw, raw + 7) == std::vector<uint8_t>{26, 2, 30, 25, 61, 99, 9});
  REQUIRE(server.Nwsim("clock reset") == 0);
  const ClockReading again = ReadClock(readServerTime);
  CHECK(again.seen == again.expected);
}

TEST_CASE("drive status as the client documents it, and the first network drive") {
  ServerFixture server;
  using NWGetFirstDriveFn = NWCCODE(NWCALL*)(uint16_t*);
  using NWGetDriveStatusFn = NWCCODE(NWCALL*)(uint16_t, uint16_t, uint16_t*, uint32_t*, char*, char*, char*);
  auto first = EntryPoint<NWGetFirstDriveFn>("CALWIN32.DLL", "NWGetFirstDrive");
  auto status = EntryPoint<NWGetDriveStatusFn>("CALWIN32.DLL", "NWGetDriveStatus");
  uint16_t drive = 0;
  REQUIRE(first(&drive) == 0);
  CHECK(drive == 6);
  REQUIRE(server.Nwsim("first-drive H") == 0);
  REQUIRE(first(&drive) == 0);
  CHECK(drive == 8);

  uint16_t bits = 0xFFFF;
  uint32_t conn = 0;
  char root[256], relative[256], full[256];
  REQUIRE(status(6, 0, &bits, &conn, root, relative, full) == 0);
  CHECK(bits == 0xA000);
  CHECK(std::string(full) == "ACME_FS1/SYS:");
  // C: is the workstation's own drive; a letter nothing uses is free.
  REQUIRE(status(3, 0, &bits, &conn, root, relative, full) == 0);
  CHECK(bits == 0x1000);
  DWORD present = GetLogicalDrives();
  uint16_t unused = 26;
  while (unused > 8 && (present >> (unused - 1)) & 1) --unused;
  REQUIRE(status(unused, 0, &bits, &conn, root, relative, full) == 0);
  CHECK(bits == 0);
  CHECK(status(27, 0, &bits, &conn, root, relative, full) == 15);
  CHECK(status(0, 0, &bits, &conn, root, relative, full) == 15);
}

TEST_CASE("locale record: code page at 56, country at 60, 132 bytes") {
  ServerFixture server;
  uint8_t record[140];
  std::memset(record, 0xEE, sizeof record);
  auto localeconv = EntryPoint<NWLlocaleconvFn>("LOCWIN32.DLL", "NWLlocaleconv");
  CHECK(localeconv(record) == record);
  CHECK(Get32(record + 56) == 437);
  CHECK(Get32(record + 60) == 1);
  for (size_t i = 132; i < sizeof record; ++i) CHECK(record[i] == 0xEE);
}

TEST_CASE("directory services: tree, current user and a full name") {
  ServerFixture server;
  CallsLibrary calls;
  char tree[48] = {};
  CHECK(EntryPoint<NWIsDSServerFn>("NETWIN32.DLL", "NWIsDSServer")(calls.conn, tree) != 0);
  CHECK(std::string(tree) == "ACME_TREE");

  UnicodeTables tables;
  int32_t context = EntryPoint<NWDSCreateContextFn>("NETWIN32.DLL", "NWDSCreateContext")();
  REQUIRE(context > 0);
  char me[128] = {};
  REQUIRE(EntryPoint<NWDSWhoAmIFn>("NETWIN32.DLL", "NWDSWhoAmI")(context, me) == 0);
  CHECK(std::string(me) == "ADMIN.ACME");
  auto setContext = EntryPoint<NWDSSetContextFn>("NETWIN32.DLL", "NWDSSetContext");
  uint32_t typedNames = 0x13;
  REQUIRE(setContext(context, 1, &typedNames) == 0);
  REQUIRE(EntryPoint<NWDSWhoAmIFn>("NETWIN32.DLL", "NWDSWhoAmI")(context, me) == 0);
  CHECK(std::string(me) == "CN=ADMIN.O=ACME");
  char root[128] = "[Root]";
  CHECK(setContext(context, 3, root) == 0);
  CHECK(setContext(context, 9, root) != 0);

  auto alloc = EntryPoint<NWDSAllocBufFn>("NETWIN32.DLL", "NWDSAllocBuf");
  void* request = nullptr;
  void* result = nullptr;
  REQUIRE(alloc(4096, &request) == 0);
  REQUIRE(alloc(4096, &result) == 0);
  REQUIRE(EntryPoint<NWDSInitBufFn>("NETWIN32.DLL", "NWDSInitBuf")(context, 3, request) == 0);
  REQUIRE(EntryPoint<NWDSPutAttrNameFn>("NETWIN32.DLL", "NWDSPutAttrName")(context, request, "Full Name") == 0);
  int32_t iteration = -1;
  REQUIRE(EntryPoint<NWDSReadFn>("NETWIN32.DLL", "NWDSRead")(context, "JSMITH.ACME", 1, 0, request, &iteration,
                                                              result) == 0);
  CHECK(iteration == -1);
  char attribute[38] = {};
  uint32_t values = 0, syntax = 0;
  REQUIRE(EntryPoint<NWDSGetAttrNameFn>("NETWIN32.DLL", "NWDSGetAttrName")(context, result, attribute, &values,
                                                                            &syntax) == 0);
  uint32_t size = 0;
  using NWDSComputeAttrValSizeFn = NWCCODE(NWCALL*)(int32_t, void*, uint32_t, uint32_t*);
  REQUIRE(EntryPoint<NWDSComputeAttrValSizeFn>("NETWIN32.DLL", "NWDSComputeAttrValSize")(context, result, syntax,
                                                                                          &size) == 0);
  CHECK(size == sizeof "John Smith");
  char value[128] = {};
  REQUIRE(EntryPoint<NWDSGetAttrValFn>("NETWIN32.DLL", "NWDSGetAttrVal")(context, result, syntax, value) == 0);
  CHECK(std::string(value) == "John Smith");
  CHECK(EntryPoint<NWDSReadFn>("NETWIN32.DLL", "NWDSRead")(context, "NOBODY.ACME", 1, 0, request, &iteration,
                                                            result) != 0);
  CHECK(EntryPoint<NWDSInitBufFn>("NETWIN32.DLL", "NWDSInitBuf")(context, 3, &iteration) != 0);
  CHECK(EntryPoint<NWDSFreeContextFn>("NETWIN32.DLL", "NWDSFreeContext")(context) == 0);
}

TEST_CASE("directory contexts need the unicode tables and run out when never freed") {
  ServerFixture server;
  auto create = EntryPoint<NWDSCreateContextFn>("NETWIN32.DLL", "NWDSCreateContext");
  auto release = EntryPoint<NWDSFreeContextFn>("NETWIN32.DLL", "NWDSFreeContext");
  CHECK(create() == -328);
  UnicodeTables tables;
  std::vector<int32_t> made;
  for (int32_t context; (context = create()) > 0 && made.size() < 100;) made.push_back(context);
  CHECK(made.size() == 64);
  CHECK(create() == -328);
  for (int32_t context : made) CHECK(release(context) == 0);
  CHECK(release(made.front()) != 0);

  REQUIRE(server.Nwsim("fault fail NWDSCreateContext 4294966968") == 0);
  CHECK(create() == -328);
  REQUIRE(server.Nwsim("fault fail NWIsDSServer 1") == 0);
  CallsLibrary calls;
  char tree[48] = {};
  CHECK(EntryPoint<NWIsDSServerFn>("NETWIN32.DLL", "NWIsDSServer")(calls.conn, tree) == 0);
}

TEST_CASE("console-operator and manager rights of their own; objects only the directory knows") {
  ServerFixture server;
  CallsLibrary calls;
  auto console = EntryPoint<NWCheckConsolePrivilegesFn>("CALWIN32.DLL", "NWCheckConsolePrivileges");
  auto manager = EntryPoint<NWIsManagerFn>("CALWIN32.DLL", "NWIsManager");
  CHECK(console(calls.conn) == 0);
  CHECK(manager(calls.conn) == 0);
  REQUIRE(server.Nwsim("add-user OPER --console-operator") == 0);
  REQUIRE(server.Nwsim("login OPER") == 0);
  CHECK(console(calls.conn) == 0);
  CHECK(manager(calls.conn) != 0);
  REQUIRE(server.Nwsim("add-user BOSS --manager") == 0);
  REQUIRE(server.Nwsim("login BOSS") == 0);
  CHECK(console(calls.conn) == 0x89C6);
  CHECK(manager(calls.conn) == 0);

  REQUIRE(server.Nwsim("add-user DSONLY --directory-only") == 0);
  UnicodeTables tables;
  const int32_t context = EntryPoint<NWDSCreateContextFn>("NETWIN32.DLL", "NWDSCreateContext")();
  REQUIRE(context > 0);
  uint32_t id = 0;
  REQUIRE(EntryPoint<NWDSMapNameToIDFn>("NETWIN32.DLL", "NWDSMapNameToID")(context, calls.conn, "DSONLY.ACME", &id) ==
          0);
  char name[128] = {};
  uint16_t type = 0;
  CHECK(EntryPoint<NWGetObjectNameFn2>("CALWIN32.DLL", "NWGetObjectName")(calls.conn, id, name, &type) == 0x89FC);
  uint32_t binderyId = 0;
  CHECK(EntryPoint<NWGetObjectIDFn>("CALWIN32.DLL", "NWGetObjectID")(calls.conn, "DSONLY", 0x0100, &binderyId) ==
        0x89FC);
  REQUIRE(EntryPoint<NWDSMapIDToNameFn>("NETWIN32.DLL", "NWDSMapIDToName")(context, calls.conn, id, name) == 0);
  CHECK(std::string(name) == "DSONLY.ACME");
  EntryPoint<NWDSFreeContextFn>("NETWIN32.DLL", "NWDSFreeContext")(context);
}

TEST_CASE("a second server: a connection of its own, its own description, counted opens, the primary switch") {
  ServerFixture server;
  REQUIRE(server.Nwsim("add-server NW312 --version 3.12 --bindery-only") == 0);
  using NWCCOpenConnByNameFn = NWCCODE(NWCALL*)(uint32_t, const char*, uint32_t, uint32_t, uint32_t, uint32_t*);
  using NWCCSetPrefServerNameFn = NWCCODE(NWCALL*)(const char*);
  using NWGetPrimaryConnectionIDFn = NWCCODE(NWCALL*)(uint32_t*);
  using NWGetConnectionHandleFn = NWCCODE(NWCALL*)(const char*, uint16_t, uint32_t*, uint16_t*);
  auto open = EntryPoint<NWCCOpenConnByNameFn>("CLXWIN32.DLL", "NWCCOpenConnByName");
  auto handleOf = EntryPoint<NWGetConnectionHandleFn>("CALWIN32.DLL", "NWGetConnectionHandle");
  auto primary = EntryPoint<NWGetPrimaryConnectionIDFn>("CALWIN32.DLL", "NWGetPrimaryConnectionID");
  auto info = EntryPoint<NWGetFileServerInformationFn>("CALWIN32.DLL", "NWGetFileServerInformation");
  auto isDS = EntryPoint<NWIsDSServerFn>("NETWIN32.DLL", "NWIsDSServer");

  uint32_t main = 0, other = 0, again = 0;
  REQUIRE(primary(&main) == 0);
  REQUIRE(open(0, "nw312", 2, 1, 0, &other) == 0);
  REQUIRE(handleOf("NW312", 0, &again, nullptr) == 0);
  CHECK(other != main);
  CHECK(again == other);
  CHECK(open(0, "NOSUCH", 2, 1, 0, &again) == 0x880F);
  char name[48] = {};
  uint8_t major = 0, minor = 0;
  REQUIRE(info(other, name, &major, &minor, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) == 0);
  CHECK(std::string(name) == "NW312");
  CHECK((major == 3 && minor == 12));
  char tree[48] = {};
  CHECK(isDS(other, tree) == 0);
  CHECK(isDS(main, tree) != 0);
  uint16_t mainNumber = 0, otherNumber = 0;
  auto number = EntryPoint<NWGetConnectionNumberFn>("CALWIN32.DLL", "NWGetConnectionNumber");
  REQUIRE(number(main, &mainNumber) == 0);
  REQUIRE(number(other, &otherNumber) == 0);
  CHECK(mainNumber != otherNumber);

  // Every open by name is counted with the server, for every process to see.
  std::string text;
  {
    std::ifstream state(server.Root() + "\\state");
    text.assign(std::istreambuf_iterator<char>(state), std::istreambuf_iterator<char>());
  }
  CHECK(text.find("opens\tNW312\t2\n") != std::string::npos);

  auto prefer = EntryPoint<NWCCSetPrefServerNameFn>("CLXWIN32.DLL", "NWCCSetPrefServerName");
  REQUIRE(prefer("NW312") == 0);
  uint32_t now = 0;
  REQUIRE(primary(&now) == 0);
  CHECK(now == other);
  CHECK(prefer("NOSUCH") == 0);
  REQUIRE(primary(&now) == 0);
  CHECK(now == other);
  REQUIRE(server.Nwsim("primary ACME_FS1") == 0);
  REQUIRE(primary(&now) == 0);
  CHECK(now == main);
}
