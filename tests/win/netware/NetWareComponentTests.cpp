#include <doctest/doctest.h>

#include <memory>
#include <string>

#include "../sim/ClientModules.h"
#include "Win32ClientModules.h"
#include "nwbase.h"

namespace {

// The component bound to the development client's modules, over a server
// of its own, made afresh for each test.
class TComponent {
public:
  TComponent() {
    SetDllDirectoryA(ModulesFolder().c_str());
    retrove::SetClientModules(&FModules);
  }
  ~TComponent() { retrove::SetClientModules(nullptr); }
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // After the server is set up as the test wants it.
  retrove::TNWBase& Make() {
    FBase = std::make_unique<retrove::TNWBase>(nullptr);
    return *FBase;
  }

  ServerFixture Server;

private:
  retrove::TWin32ClientModules FModules;
  std::unique_ptr<retrove::TNWBase> FBase;
};

}  // namespace

using retrove::TNWBroadcastMode;
using retrove::TNWObjType;
using retrove::TNWShellErrorMode;

TEST_CASE("the demo server's properties as the component publishes them") {
  TComponent component;
  retrove::TNWBase& base = component.Make();
  REQUIRE(base.NetAvailable());
  CHECK(base.NDSAvailable());
  CHECK(base.ServerName() == "ACME_FS1");
  CHECK(base.DefaultServer() == "ACME_FS1");
  CHECK(base.ServerVersion() == "4.11");
  CHECK(base.LoginID() == "CN=ADMIN.O=ACME");
  CHECK(base.LoginFullName() == "System Administrator");
  CHECK(base.ObjectType() == TNWObjType::nwObjTypeUser);
  CHECK(base.ObjectID() == "1000001");
  CHECK(base.ConnectionID() == 1);
  CHECK(base.ConsoleOperator());
  CHECK(base.Manager());
  CHECK(base.FirstNetworkDrive() == 'F');
  CHECK(base.NextNetworkDrive() >= 'H');
  // The name the client reports for the root.
  CHECK(base.NDSContextName() == "[Root]");
  CHECK(base.LastError()->NWLib() == "0000");
}

TEST_CASE("a user without console rights, on a server outside any directory") {
  TComponent component;
  REQUIRE(component.Server.Nwsim("login JSMITH") == 0);
  retrove::TNWBase& base = component.Make();
  CHECK_FALSE(base.ConsoleOperator());
  CHECK_FALSE(base.Manager());
  CHECK(base.LoginFullName() == "John Smith");
}

TEST_CASE("two servers: the default server switches, the component's server is opened once") {
  TComponent component;
  REQUIRE(component.Server.Nwsim("add-server NW312 --version 3.12 --bindery-only") == 0);
  retrove::TNWBase& base = component.Make();
  base.SetServerName("NW312");
  CHECK(base.ServerName() == "NW312");
  CHECK(base.ServerVersion() == "3.12");
  CHECK(base.DefaultServer() == "ACME_FS1");
  base.SetDefaultServer("NW312");
  CHECK(base.DefaultServer() == "NW312");
  base.SetServerName("NOSUCH");
  CHECK(base.ServerName() == "NW312");
}

TEST_CASE("broadcast and error modes go to the client and come back") {
  TComponent component;
  retrove::TNWBase& base = component.Make();
  base.SetBroadcastMode(TNWBroadcastMode::nwBroadcastOff);
  CHECK(base.BroadcastMode() == TNWBroadcastMode::nwBroadcastOff);
  base.SetBroadcastMode(TNWBroadcastMode::nwBroadcastServerOnly);
  CHECK(base.BroadcastMode() == TNWBroadcastMode::nwBroadcastServerOnly);
  base.SetShellErrorMode(TNWShellErrorMode::nwErrDOS);
  CHECK(base.ShellErrorMode() == TNWShellErrorMode::nwErrDOS);
  CHECK(base.LastError()->NWLib() == "0000");
}

TEST_CASE("a server that cannot describe itself gives version 0.0") {
  TComponent component;
  REQUIRE(component.Server.Nwsim("fault fail NWGetFileServerInformation 0x8801") == 0);
  retrove::TNWBase& base = component.Make();
  CHECK(base.ServerVersion() == "0.0");
}
