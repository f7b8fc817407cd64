#include <doctest/doctest.h>

#include <memory>
#include <string>

#include "FakeClient.h"
#include "Nwtools.h"
#include "nwbase.h"

using namespace retrove;

namespace {

// A complete client on the bindery server FS1 (connection 7), with the
// component made on it. The client cannot set directory services up, so
// the bindery alone answers unless a test gives the server a tree.
struct TConnectionFixture {
  TConnectionFixture() {
    fake::ResetServer();
    modules.AddFullClient();
    fake::Server.Failing["NWInitUnicodeTables"] = 0xFFFFFEB7;
    fake::Server.Bindery = {
        {"ALICE", 0x0100, 0x01000000, "Alice Liddell"},
        {"PRN1", 0x0400, 0x11000000, ""},
        {"PRN1", 0x0700, 0x00010000, ""},
        {std::string(47, 'L'), 0x0200, 0x22000000, ""},
    };
  }

  void Start() { base = std::make_unique<TNWBase>(nullptr); }

  fake::TFakeModules modules;
  std::unique_ptr<TNWBase> base;
};

}  // namespace

TEST_CASE_FIXTURE(TConnectionFixture, "connection number and user name") {
  Start();
  CHECK(GetConnectionNumber(0) == 12);
  CHECK(GetConnectionUserName(0) == "ALICE");
  fake::Server.ConnectionUser = std::string(256, 'U');  // as long as the client allows
  CHECK(GetConnectionUserName(7) == fake::Server.ConnectionUser);

  CHECK(GetConnectionNumber(99) == 0);
  CHECK(NWLibError == 0x8801);
  CHECK(GetConnectionUserName(99).empty());
}

TEST_CASE_FIXTURE(TConnectionFixture, "connection number from the older entry point") {
  modules.Remove("CLXWIN32.DLL", "NWCCGetConnInfo");
  modules.Remove("CALWIN32.DLL", "NWCCGetConnInfo");
  Start();
  CHECK(GetConnectionNumber(0) == 12);
  modules.Remove("CALWIN32.DLL", "NWGetConnectionNumber");
  CHECK(GetConnectionNumber(0) == 0);
  CHECK(NWLibError == -1);
}

TEST_CASE_FIXTURE(TConnectionFixture, "object IDs and types") {
  Start();
  SUBCASE("a print server is found before a file server of the same name") {
    fake::Server.ProbedTypes.clear();
    CHECK(FindObjectType(0, "prn1") == 0x0700);
    CHECK(fake::Server.ProbedTypes == std::vector<uint16_t>{0x0100, 0x0200, 0x0300, 0x0700});
  }
  SUBCASE("an unknown name is probed under every type, in order") {
    fake::Server.ProbedTypes.clear();
    CHECK(FindObjectType(0, "GHOST") == 0);
    CHECK(fake::Server.ProbedTypes == std::vector<uint16_t>{0x0100, 0x0200, 0x0300, 0x0700, 0x0400, 0x0500, 0x0600,
                                                            0x0800, 0x0900, 0x0A00, 0x0B00, 0x2100, 0x2600, 0x2700});
    CHECK(NWLibError == 0x89FC);
  }
  SUBCASE("names longer than the bindery's are not looked up") {
    CHECK(FindObjectType(0, std::string(47, 'l')) == 0x0200);
    fake::Server.ProbedTypes.clear();
    CHECK(GetObjectIDByName(0, std::string(48, 'L'), 0x0200) == 0);
    CHECK(GetObjectIDText(0, std::string(48, 'L'), 0x0200) == "0");
    CHECK(fake::Server.ProbedTypes.empty());
  }
  SUBCASE("ID texts") {
    CHECK(GetObjectIDByName(0, "Alice", 0x0100) == 0x01000000);  // as the client gives it
    CHECK(GetObjectIDText(0, "alice", 0x0100) == "1");
    CHECK(GetObjectIDText(0, "PRN1", 0x0700) == "100");
    CHECK(GetObjectIDText(0, "PRN1", 0x0400) == "11");
    CHECK(GetObjectIDText(0, "GHOST", 0x0100) == "0");
    fake::Server.Bindery.push_back({"ZERO", 0x0100, 0, ""});
    CHECK(GetObjectIDText(0, "ZERO", 0x0100) == "0");
  }
  CHECK(ObjTypeCode(TNWObjType::nwObjTypeNASSNAServer) == 0x2100);
  CHECK(ObjTypeCode(TNWObjType::nwObjTypeConnectedServer) == 0);
  CHECK(ObjTypeCode(static_cast<TNWObjType>(40)) == 0);
}

TEST_CASE_FIXTURE(TConnectionFixture, "with directory services the directory answers for names the bindery lacks") {
  fake::Server.Failing.clear();
  fake::Server.TreeName = "ACME";
  fake::Server.DirectoryIDs = {{"CN=BOB.O=ACME", 0x05040302}, {"CN=NOID", 0}};
  fake::Server.Bindery.push_back({"CN=NOID", 0x0100, 0x00000300, ""});
  Start();
  REQUIRE(DSInUse);
  fake::Server.ProbedTypes.clear();
  CHECK(FindObjectType(0, "CN=BOB.O=ACME") == 0x0100);
  CHECK(fake::Server.ProbedTypes.size() == 1);
  CHECK(GetObjectIDByName(0, "CN=BOB.O=ACME", 0x0200) == 0x05040302);
  CHECK(GetObjectIDText(0, "CN=BOB.O=ACME", 0x0100) == "2030405");
  // A directory ID of 0 sends the question on to the bindery.
  CHECK(GetObjectIDText(0, "CN=NOID", 0x0100) == "30000");
}

TEST_CASE_FIXTURE(TConnectionFixture, "console operator and manager rights") {
  Start();
  CHECK_FALSE(HasConsolePrivileges(0));
  CHECK(NWLibError == 0x89C6);
  CHECK_FALSE(IsManagerOf(0));
  fake::Server.Supervisor = true;
  CHECK(HasConsolePrivileges(0));
  CHECK(IsManagerOf(7));
}

TEST_CASE_FIXTURE(TConnectionFixture, "server names") {
  Start();
  std::string name;
  CHECK(GetServerNameOf(0) == "FS1");
  CHECK(GetServerNameOf(8) == "FS2");
  CHECK(GetServerNameOf(99) == "LOCAL");
  CHECK_FALSE(TryGetServerNameOf(99, name));
  CHECK(NWLibError == 0x8801);
  fake::Server.ServerName = std::string(256, 'S');
  CHECK(GetServerNameOf(0) == fake::Server.ServerName);
}

TEST_CASE_FIXTURE(TConnectionFixture, "the connection-information entry point is shared by whichever library gave it") {
  modules.Remove("CALWIN32.DLL", "NWCCGetConnInfo");
  TNWLib lib;
  CHECK(GetBroadcastState(0) == 0);  // the calls library has none, and no one asked elsewhere yet
  CHECK(GetConnectionNumber(0) == 12);
  CHECK(GetBroadcastState(0) == 1);  // now the connection library's serves
  modules.Remove("CLXWIN32.DLL", "NWCCGetConnInfo");
  modules.Remove("CALWIN32.DLL", "NWGetFileServerName");
  CHECK(GetServerNameOf(0) == "FS1");  // kept, not looked up again
}

TEST_CASE_FIXTURE(TConnectionFixture, "server name without the connection library's entry point") {
  modules.Remove("CLXWIN32.DLL", "NWCCGetConnInfo");
  Start();
  CHECK(GetServerNameOf(8) == "FS2");
}

TEST_CASE_FIXTURE(TConnectionFixture, "the server's date") {
  Start();
  struct TCase {
    std::array<uint8_t, 7> Clock;
    int Year, Month, Day;
  };
  const TCase real[] = {
      {{126, 2, 28, 9, 30, 15, 6}, 2026, 2, 28},
      {{26, 2, 28, 9, 30, 15, 6}, 2026, 2, 28},
      {{96, 2, 29, 23, 59, 59, 4}, 1996, 2, 29},
      {{179, 12, 31, 0, 0, 0, 0}, 2079, 12, 31},
  };
  for (const TCase& c : real) {
    fake::Server.ServerClock = c.Clock;
    CHECK(GetServerDateOf(0) == EncodeDate(c.Year, c.Month, c.Day));  // the time of day dropped
  }
  for (const std::array<uint8_t, 7> impossible : {std::array<uint8_t, 7>{126, 13, 1, 0, 0, 0, 0},
                                                  std::array<uint8_t, 7>{126, 2, 30, 0, 0, 0, 0},
                                                  std::array<uint8_t, 7>{126, 0, 0, 0, 0, 0, 0}}) {
    fake::Server.ServerClock = impossible;
    CHECK(GetServerDateOf(0) == WorkstationDate());
  }
  fake::Server.Failing["NWGetFileServerDateAndTime"] = 0x8801;
  fake::Server.ServerClock = {126, 2, 28, 0, 0, 0, 0};
  CHECK(GetServerDateOf(0) == WorkstationDate());
  CHECK(NWLibError == 0x8801);
}

TEST_CASE_FIXTURE(TConnectionFixture, "setting the server's date and time") {
  Start();
  fake::Server.Supervisor = true;
  CHECK(SetServerDateTime(0, EncodeDate(2026, 3, 1) + EncodeTime(13, 45, 30, 0)));
  CHECK(SetServerDateTime(0, EncodeDate(1980, 1, 1)));
  CHECK(SetServerDateTime(0, EncodeDate(2155, 12, 31)));
  REQUIRE(fake::Server.ClockSettings.size() == 3);
  CHECK(fake::Server.ClockSettings[0] == std::array<uint8_t, 6>{126, 3, 1, 13, 45, 30});
  CHECK(fake::Server.ClockSettings[1][0] == 80);
  CHECK(fake::Server.ClockSettings[2][0] == 255);

  // Years the server's byte cannot hold, or would read back differently.
  CHECK_FALSE(SetServerDateTime(0, EncodeDate(1979, 12, 31)));
  CHECK_FALSE(SetServerDateTime(0, EncodeDate(2156, 1, 1)));
  CHECK_FALSE(SetServerDateTime(0, EncodeDate(1900, 1, 1)));
  CHECK(fake::Server.ClockSettings.size() == 3);

  fake::Server.Supervisor = false;
  CHECK_FALSE(SetServerDateTime(0, EncodeDate(2026, 3, 1)));
  CHECK(NWServerError == 0x89C6);
}

TEST_CASE_FIXTURE(TConnectionFixture, "maximum connections only after success") {
  Start();
  CHECK(GetMaxConnections() == 8);
  fake::Server.Failing["NWGetMaximumConnections"] = 0x8801;
  CHECK(GetMaxConnections() == 0);
  CHECK(NWLibError == 0x8801);
}

TEST_CASE_FIXTURE(TConnectionFixture, "preferred server") {
  Start();
  NWCONN_HANDLE connection = 0;
  SUBCASE("a server that opens becomes the primary connection") {
    REQUIRE(SetPreferredServer("FS2", connection));
    CHECK(connection == 8);
    CHECK(PrimaryConnHandle == 8);
    CHECK(fake::Server.PreferredServer == "FS2");
    CHECK_FALSE(DSInUse);  // FS2 is in no tree
  }
  SUBCASE("a server that does not open keeps the old connection") {
    DSInUse = true;
    CHECK_FALSE(SetPreferredServer("FS9", connection));
    CHECK(PrimaryConnHandle == 7);
    CHECK(DSInUse);
    CHECK(NWServerError == 0x880F);
  }
  SUBCASE("the older entry points") {
    modules.Remove("CLXWIN32.DLL", "NWCCSetPrefServerName");
    CHECK(SetPreferredServer("FS2", connection));
    CHECK(fake::Server.PreferredServer.empty());
    CHECK_FALSE(SetPreferredServer("FS9", connection));
    CHECK(NWLibError == 0x880F);
  }
  SUBCASE("without them nothing is asked or recorded") {
    modules.Remove("CLXWIN32.DLL", "NWCCSetPrefServerName");
    modules.Remove("CALWIN32.DLL", "NWSetPrimaryConnectionID");
    const int32_t failures = NWLibError;
    CHECK_FALSE(SetPreferredServer("FS2", connection));
    CHECK(NWLibError == failures);
    CHECK(PrimaryConnHandle == 7);
  }
  SUBCASE("a name longer than the client takes") {
    CHECK_FALSE(SetPreferredServer(std::string(48, 'F'), connection));
    CHECK(fake::Server.PreferredServer.empty());
  }
}

TEST_CASE_FIXTURE(TConnectionFixture, "broadcast state") {
  Start();
  CHECK(GetBroadcastState(0) == 1);
  fake::Server.BroadcastState = 7;  // no mode the program knows
  CHECK(GetBroadcastState(0) == 0);
  CHECK(SetBroadcastState(7, 2));
  CHECK(GetBroadcastState(7) == 2);
  // The connection goes to the client as given, 0 included.
  CHECK_FALSE(SetBroadcastState(0, 3));
  CHECK(fake::Server.BroadcastModes.back() == std::pair<uint32_t, uint16_t>{0, 3});
  CHECK(NWLibError == 0x8801);
}

TEST_CASE_FIXTURE(TConnectionFixture, "full names") {
  Start();
  CHECK(ReadFullName(0, "alice") == "Alice Liddell");
  CHECK(ReadFullName(0, " ghost ") == "GHOST");
  fake::Server.Bindery[0].Identification = std::string(128, 'N');  // a full segment has no terminator
  CHECK(ReadFullName(0, "ALICE") == std::string(128, 'N'));
}

TEST_CASE_FIXTURE(TConnectionFixture, "full names from the directory") {
  fake::Server.Failing.clear();
  fake::Server.TreeName = "ACME";
  fake::Server.Attributes["CN=ALICE.O=ACME"]["Full Name"] = {3, "Alice of Acme"};
  Start();
  CHECK(ReadFullName(0, "CN=ALICE.O=ACME") == "Alice of Acme");
  CHECK(ReadFullName(0, "alice") == "Alice Liddell");  // the bindery, when the directory has none
}

TEST_CASE_FIXTURE(TConnectionFixture, "network drives") {
  Start();
  CHECK(GetFirstNetDrive() == 'F');
  CHECK(GetNextNetDrive() == 'H');  // F and G are mapped, H is free
  fake::Server.MappedDrives.clear();
  for (uint16_t drive = 6; drive <= 26; ++drive) fake::Server.MappedDrives.insert(drive);
  fake::Server.DrivesAsked.clear();
  CHECK(GetNextNetDrive() == '\0');
  CHECK(fake::Server.DrivesAsked.front() == 6);
  CHECK(fake::Server.DrivesAsked.back() == 26);

  fake::Server.FirstDrive = 0;
  fake::Server.DrivesAsked.clear();
  CHECK(GetFirstNetDrive() == '\0');
  CHECK(GetNextNetDrive() == '\0');
  CHECK(fake::Server.DrivesAsked.empty());
}

TEST_CASE_FIXTURE(TConnectionFixture, "error mode") {
  Start();
  CHECK(SetErrorMode(1) == 0);
  CHECK(SetErrorMode(2) == 1);
  CHECK(SetErrorMode(7) == 0);
  CHECK(NWLibError == 0x8836);
  CHECK(fake::Server.ErrorMode == 2);
}

TEST_CASE_FIXTURE(TConnectionFixture, "server information") {
  Start();
  TNWServerInfo info;
  SUBCASE("a version 4 server gives its environment record too") {
    REQUIRE(GetServerInfo(0, info));
    CHECK(info.VersionText == "4.11");
    CHECK(info.FileServerName == "FS1");
    CHECK(info.PeakConnections == 40);
    CHECK(info.Extended24 == 2);
    CHECK(info.Extended144 == 17);
    CHECK(fake::Server.EnvironmentReads == 1);
  }
  SUBCASE("version 3 makes one call") {
    fake::Server.MajorVersion = 3;
    fake::Server.MinorVersion = 12;
    REQUIRE(GetServerInfo(0, info));
    CHECK(info.VersionText == "3.12");
    CHECK(info.Extended140 == 0);
    CHECK(fake::Server.EnvironmentReads == 0);
  }
  SUBCASE("a failed extended call fails, the record filled") {
    fake::Server.Failing["NWGetFileServerInfo"] = 0x8801;
    CHECK_FALSE(GetServerInfo(0, info));
    CHECK(info.VersionText == "4.11");
  }
  SUBCASE("a failed basic call leaves the record as it was") {
    fake::Server.Failing["NWGetFileServerInformation"] = 0x8801;
    info.VersionText = "untouched";
    const int32_t failures = NWServerError;
    CHECK_FALSE(GetServerInfo(0, info));
    CHECK(info.VersionText == "untouched");
    CHECK(NWServerError == failures);  // nothing recorded
  }
}

TEST_CASE_FIXTURE(TConnectionFixture, "connections by server name") {
  Start();
  CHECK(OpenServerConnection("fs2") == 8);
  CHECK(fake::Server.OpenedByName == std::vector<std::string>{"FS2"});
  CHECK(OpenServerConnection("FS9") == 0);
  CHECK(NWServerError == 0x880F);
  CHECK(OpenServerConnection(std::string(48, 'F')) == 0);
  CHECK(fake::Server.OpenedByName.size() == 2);
}

TEST_CASE_FIXTURE(TConnectionFixture, "connections by server name without the connection library's entry point") {
  modules.Remove("CLXWIN32.DLL", "NWCCOpenConnByName");
  SUBCASE("the calls library finds an open one") {
    Start();
    CHECK(OpenServerConnection("fs2") == 8);
    CHECK(fake::Server.OpenedByName.empty());
  }
  SUBCASE("with neither entry point there is none") {
    modules.Remove("CALWIN32.DLL", "NWGetConnectionHandle");
    Start();
    CHECK(OpenServerConnection("FS2") == 0);
  }
}
