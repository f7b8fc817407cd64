#include <doctest/doctest.h>

#include <memory>
#include <string>

#include "FakeClient.h"
#include "FormNotice.h"
#include "Nwtools.h"
#include "PropertyTable.h"
#include "nwbase.h"

using namespace retrove;

namespace {

struct TRecordingNotifier : IFormNotifier {
  void NotifyControls(TComponent&, uint32_t message) override { Told.push_back(message); }
  std::vector<uint32_t> Told;
};

// The component on its form, on the bindery server FS1 (connection 7)
// where ALICE is logged in; the owner form's controls and the two events
// are watched.
struct TComponentFixture {
  TComponentFixture() {
    fake::ResetServer();
    modules.AddFullClient();
    fake::Server.Failing["NWInitUnicodeTables"] = 0xFFFFFEB7;  // the bindery alone answers
    fake::Server.Bindery = {
        {"ALICE", 0x0100, 0x01000000, "Alice Liddell"},
        {"PRN1", 0x0400, 0x11000000, ""},
        {"PRN1", 0x0700, 0x00010000, ""},
    };
    SetFormNotifier(&notifier);
  }
  ~TComponentFixture() { SetFormNotifier(nullptr); }

  void Start() {
    base = new TNWBase(&form);
    base->OnServerChange = [this](TObject* sender) { serverChanges += sender == base; };
    base->OnUserChange = [this](TObject* sender) { userChanges += sender == base; };
  }

  std::string Text(const char* property) { return GetStrProp(*base, *FindPropInfo(*base, property)); }
  int64_t Ordinal(const char* property) { return GetOrdProp(*base, *FindPropInfo(*base, property)); }

  fake::TFakeModules modules;
  TRecordingNotifier notifier;
  TComponent form{nullptr};
  TNWBase* base = nullptr;
  int serverChanges = 0;
  int userChanges = 0;
};

}  // namespace

TEST_CASE("with no client libraries every property gives its failure value") {
  fake::ResetServer();
  fake::TFakeModules none;
  TNWBase base(nullptr);
  CHECK(base.ServerVersion() == "0.0");
  CHECK(base.ServerName() == "LOCAL");
  CHECK(base.LoginID().empty());
  CHECK(base.LoginFullName().empty());
  CHECK(base.ObjectID() == "0");
  CHECK(base.ObjectType() == TNWObjType::nwObjTypeUser);
  CHECK(base.ConnectionID() == 0);
  CHECK(base.ServerDate() == WorkstationDate());
  CHECK(base.FirstNetworkDrive() == '\0');
  CHECK(base.NextNetworkDrive() == '\0');
  CHECK(base.MaxServerConns() == 0);
  CHECK_FALSE(base.ConsoleOperator());
  CHECK(base.LastError()->NWLib() == "FFFFFFFF");
}

TEST_CASE_FIXTURE(TComponentFixture, "the login name") {
  Start();
  CHECK(base->LoginID() == "ALICE");  // from the connection, at creation
  fake::Server.ConnectionUser = "SOMEONE";
  CHECK(base->LoginID() == "ALICE");  // kept

  base->SetLoginID("prn1");
  CHECK(base->LoginID() == "PRN1");
  base->SetLoginID("");
  CHECK(base->LoginID() == "SOMEONE");
  CHECK(notifier.Told == std::vector<uint32_t>{0xB842, 0xB842});
  CHECK(userChanges == 2);
}

TEST_CASE_FIXTURE(TComponentFixture, "the login name on a directory server") {
  fake::Server.Failing.clear();
  fake::Server.TreeName = "ACME";
  fake::Server.DirectoryUser = "ALICE.ACME";
  fake::Server.DirectoryIDs = {{"CN=ALICE.ACME", 0x78563412}, {"ALICE.ACME", 0x78563412}};
  Start();
  CHECK(base->LoginID() == "CN=ALICE.ACME");  // canonical and typed at creation
  CHECK(base->ObjectID() == "12345678");
  base->SetLoginID("");
  CHECK(base->LoginID() == "ALICE.ACME");  // as the directory says, later
}

TEST_CASE_FIXTURE(TComponentFixture, "the server name") {
  SUBCASE("read once and kept") {
    Start();
    CHECK(Text("ServerName") == "FS1");
    fake::Server.ServerName = "RENAMED";
    CHECK(base->ServerName() == "FS1");
  }
  SUBCASE("a name the client could not give is not kept") {
    fake::Server.Failing["NWCCGetConnInfo"] = 0x8801;
    Start();
    CHECK(base->ServerName() == "LOCAL");
    fake::Server.Failing.erase("NWCCGetConnInfo");
    CHECK(base->ServerName() == "FS1");
  }
  SUBCASE("another server is opened once") {
    Start();
    base->SetServerName("fs2");
    CHECK(base->ServerHandle() == 8);
    CHECK(base->ServerName() == "FS2");
    CHECK(fake::Server.OpenedByName == std::vector<std::string>{"FS2"});
    CHECK(notifier.Told == std::vector<uint32_t>{0xB841});
    CHECK(serverChanges == 1);
    base->SetServerName("");
    CHECK(base->ServerHandle() == 7);
    CHECK(base->ServerName() == "FS1");
  }
  SUBCASE("a server that does not open, quietly") {
    Start();
    base->SetServerName("FS9");
    CHECK(base->ServerHandle() == 7);
    CHECK(base->ServerName() == "FS1");
    CHECK(notifier.Told == std::vector<uint32_t>{0xB841});
    CHECK(serverChanges == 1);
  }
  SUBCASE("a server that does not open, loudly") {
    Start();
    base->SetSilentExceptions(false);
    CHECK_THROWS_WITH_AS(base->SetServerName("FS9"), "Invalid Server Handle", TNWObjError);
    CHECK(base->ServerHandle() == 7);
    CHECK(notifier.Told.empty());
    CHECK(serverChanges == 0);
  }
}

TEST_CASE_FIXTURE(TComponentFixture, "the default server") {
  Start();
  CHECK(base->DefaultServer() == "FS1");
  base->SetDefaultServer("FS2");
  base->SetDefaultServer("FS2");
  CHECK(fake::Server.OpenedByName.size() == 1);
  CHECK(base->DefaultServer() == "FS2");
  CHECK(base->ServerHandle() == 7);  // the component's own server stays
  base->SetDefaultServer("FS9");
  CHECK(base->DefaultServer() == "FS2");
}

TEST_CASE_FIXTURE(TComponentFixture, "object type and ID of the login") {
  Start();
  CHECK(base->ObjectType() == TNWObjType::nwObjTypeUser);
  CHECK(Text("ObjectID") == "1");
  base->SetLoginID("PRN1");
  CHECK(GetEnumName(*FindPropInfo(*base, "ObjectType"), Ordinal("ObjectType")) == "nwObjTypePrintServer");
  CHECK(base->NWObjectType() == 0x0700);
  CHECK(base->ObjectID() == "100");

  base->SetLoginID("GHOST");
  CHECK(base->ObjectType() == TNWObjType::nwObjTypeUser);
  base->SetSilentExceptions(false);
  CHECK_THROWS_WITH_AS(base->ObjectType(), "Invalid Netware Object Type", TNWObjError);
}

TEST_CASE_FIXTURE(TComponentFixture, "server, connection and workstation properties") {
  Start();
  CHECK(Text("ServerVersion") == "4.11");
  CHECK(Text("LoginFullName") == "Alice Liddell");
  CHECK(Ordinal("ConnectionID") == 12);
  CHECK(Ordinal("MaxServerConns") == 8);
  CHECK(Ordinal("ConsoleOperator") == 0);
  CHECK(Ordinal("Manager") == 0);
  CHECK(Ordinal("FirstNetworkDrive") == 'F');
  CHECK(Ordinal("NextNetworkDrive") == 'H');
  CHECK(Ordinal("ServerHandle") == 7);
  CHECK(base->ServerDate() == EncodeDate(2026, 2, 28));

  fake::Server.Failing["NWGetFileServerInfo"] = 0x8801;
  CHECK(base->ServerVersion() == "0.0");

  SetOrdProp(*base, *FindPropInfo(*base, "BroadcastMode"), 2);
  CHECK(base->BroadcastMode() == TNWBroadcastMode::nwBroadcastOff);
  SetOrdProp(*base, *FindPropInfo(*base, "ShellErrorMode"), 2);
  CHECK(fake::Server.ErrorMode == 2);
  CHECK(base->ShellErrorMode() == TNWShellErrorMode::nwErrDOS);

  fake::Server.Supervisor = true;
  base->SetServerDate(EncodeDate(2026, 7, 4) + EncodeTime(8, 9, 10, 0));
  REQUIRE(fake::Server.ClockSettings.size() == 1);
  CHECK(fake::Server.ClockSettings[0] == std::array<uint8_t, 6>{126, 7, 4, 8, 9, 10});
}

TEST_CASE_FIXTURE(TComponentFixture, "the published properties, in order") {
  Start();
  std::vector<std::string> names;
  for (const TPropInfo* prop : PublishedProperties(*base)) names.push_back(prop->Name);
  const std::vector<std::string> expected = {
      "Name",           "Tag",           "ServerVersion", "NetAvailable",     "NDSContextName",    "NDSContextFlags",
      "NDSAvailable",   "DefaultServer", "LastError",     "SilentExceptions", "LoginID",           "ServerName",
      "ShellErrorMode", "BroadcastMode", "ServerHandle",  "LoginFullName",    "ObjectID",          "ConnectionID",
      "ObjectType",     "NWObjectType",  "MaxServerConns", "ConsoleOperator", "Manager",           "FirstNetworkDrive",
      "NextNetworkDrive"};
  CHECK(names == expected);
  for (const char* readOnly : {"ServerVersion", "NDSAvailable", "ObjectType", "NextNetworkDrive"})
    CHECK_FALSE(FindPropInfo(*base, readOnly)->IsWritable());
  CHECK(FindPropInfo(*base, "SilentExceptions")->Default == 1);
}
