#include <doctest/doctest.h>

#include <algorithm>

#include "FakeClient.h"
#include "FormNotice.h"
#include "PropertyTable.h"
#include "nwbase.h"

using namespace retrove;

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

TEST_CASE("a complete client binds both libraries, finds the primary connection and a context") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  TNWBase base(nullptr);
  CHECK(base.NetAvailable());
  CHECK(PrimaryConnHandle == 7);
  CHECK(NWLibError == 0);
  CHECK(DSContext == 42);
  CHECK(fake::Server.Contexts[DSContext].NameContext == "[Root]");
  CHECK(modules.Loads == std::vector<std::string>{"CALWIN32.DLL", "CLXWIN32.DLL", "NETWIN32.DLL", "LOCWIN32.DLL"});
  CHECK(base.ServerHandle() == 7);

  // Cached: asking again does not reach the library.
  const int lookups = fake::Server.PrimaryLookups;
  CHECK(GetPrimaryConnHandle() == 7);
  CHECK(GetPrimaryConnHandle() == 7);
  CHECK(fake::Server.PrimaryLookups == lookups);

  REQUIRE(InitDSUnicode());
  CHECK(fake::Server.UnicodeTables == std::pair<int32_t, int32_t>{1, 850});
  CHECK(FreeDSUnicode());

  const TPropInfo* available = FindPropInfo(base, "NetAvailable");
  REQUIRE(available);
  CHECK_FALSE(available->IsWritable());
  CHECK(GetOrdProp(base, *available) == 1);
}

TEST_CASE("destroying the component frees the context and the unit objects, not the modules") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  {
    TNWBase base(nullptr);
    CHECK(NWLib != nullptr);
    CHECK(NWServer != nullptr);
  }
  CHECK(fake::Server.ContextsFreed == 1);
  CHECK(DSContext == 0);
  CHECK(NWLib == nullptr);
  CHECK(NWNDS == nullptr);
  CHECK(NWProp == nullptr);
  CHECK(CallsLibHandle != 0);
}

TEST_CASE("without the calls library nothing else of the client is tried") {
  fake::ResetServer();
  SUBCASE("calls library absent") {
    fake::TFakeModules bare;
    bare.AddModule("NETWIN32.DLL");
    bare.AddModule("LOCWIN32.DLL");
    {
      TNWLib lib;
      CHECK(NWLibError == 0xFFFF);
    }
    TNWBase base(nullptr);
    CHECK_FALSE(base.NetAvailable());
    CHECK_FALSE(Contains(bare.Loads, "CLXWIN32.DLL"));
    CHECK(NDSError == 0);  // the directory libraries loaded
    // The login name was asked for last, of a primary connection that no
    // entry point could give.
    CHECK(base.LastError()->NWLib() == "FFFFFFFF");
    CHECK(base.LastError()->NWNDS() == "0000");
    CHECK(base.LastError()->NWProp() == "0000");
    CHECK(GetDeletedFileList(0, "F:\\DATA\\")->Count() == 0);
    TNWDeletedFileInfo info;
    CHECK_FALSE(GetDeletedFileInfo("F:\\DATA\\A.TXT", info));
    CHECK_FALSE(RecoverDeletedFileAs(0, "F:\\DATA\\A.TXT", "F:\\DATA\\A.TXT"));
  }
  SUBCASE("connection library absent") {
    fake::TFakeModules callsOnly;
    callsOnly.AddModule("CALWIN32.DLL");
    {
      TNWLib lib;
      CHECK(NWLibError == 0xFFFF);
    }
    TNWBase base(nullptr);
    CHECK_FALSE(base.NetAvailable());
    CHECK(NDSError == 0xFFFF);
    CHECK(base.LastError()->NWNDS() == "FFFF");
  }
}

TEST_CASE("a failing NWCallsInit leaves the connection uncached; readiness asks again") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  fake::Server.CallsInitResult = 0x8801;
  TNWBase base(nullptr);
  CHECK(PrimaryConnHandle == 0);
  CHECK(base.NetAvailable());  // the readiness check found the connection itself
  const int lookups = fake::Server.PrimaryLookups;
  CHECK(GetPrimaryConnHandle() == 7);
  CHECK(fake::Server.PrimaryLookups == lookups + 1);
}

TEST_CASE("a failing primary-reference call records -1 and does not fall back") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  fake::Server.PrimConnRefResult = 0x8801;
  {
    TNWLib lib;
    CHECK(NWLibError == -1);
  }
  TNWBase base(nullptr);
  CHECK_FALSE(base.NetAvailable());
  CHECK_FALSE(Contains(modules.Lookups, "NWGetPrimaryConnectionID"));
}

TEST_CASE("without the reference entry point the older connection call is used") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  modules.Remove("CLXWIN32.DLL", "NWCCGetPrimConnRef");
  TNWBase base(nullptr);
  CHECK(base.NetAvailable());
  CHECK(PrimaryConnHandle == 7);
  CHECK(Contains(modules.Lookups, "NWGetPrimaryConnectionID"));
}

TEST_CASE("a directory library lacking one entry point creates no context and records nothing") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  modules.Remove("NETWIN32.DLL", "NWDSList");
  TNWLib lib;
  TNWNDS nds;
  CHECK(DSContext == 0);
  CHECK(NDSError == 0);
  CHECK(fake::Server.ContextsCreated == 0);
  // The routines it needs were all found, so the unicode set-up makes its own.
  CHECK(InitDSUnicode());
  CHECK(DSContext == 42);
}

TEST_CASE("object names and byte swapping go through the client") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  fake::Server.ObjectNames[0x01000000] = "SUPERVISOR";
  TNWBase base(nullptr);
  CHECK(GetObjectNameByID(0, 0x01000000) == "SUPERVISOR");
  CHECK(GetObjectNameByID(0, 0x02000000).empty());
  CHECK(NWLibError == 0x89FC);
  CHECK(LongSwap(0x11223344) == 0x44332211);
}

TEST_CASE("error codes as texts") {
  CHECK(NWErrorCodeText(0) == "0000");
  CHECK(NWErrorCodeText(0xFFFF) == "FFFF");
  CHECK(NWErrorCodeText(0x8801) == "8801");
  CHECK(NWErrorCodeText(0x12) == "0012");
  CHECK(NWErrorCodeText(-1) == "FFFFFFFF");
  CHECK(NWErrorCodeText(0x10000) == "10000");
}

namespace {

struct TRecordingNotifier : IFormNotifier {
  void NotifyControls(TComponent& owner, uint32_t message) override {
    Told.emplace_back(&owner, message);
  }
  std::vector<std::pair<TComponent*, uint32_t>> Told;
};

}  // namespace

TEST_CASE("the owner form is told of changes, but not while loading and not without an owner") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  TRecordingNotifier notifier;
  SetFormNotifier(&notifier);
  {
    TComponent form(nullptr);
    auto* base = new TNWBase(&form);
    form.BeginLoading();
    base->NotifyOwnerForm(TNWBase::kServerChangedMessage);
    CHECK(notifier.Told.empty());
    form.Loaded();
    base->NotifyOwnerForm(TNWBase::kUserChangedMessage);
    REQUIRE(notifier.Told.size() == 1);
    CHECK(notifier.Told[0].first == &form);
    CHECK(notifier.Told[0].second == 0xB842);
  }
  TNWBase alone(nullptr);
  alone.NotifyOwnerForm(TNWBase::kServerChangedMessage);
  CHECK(notifier.Told.size() == 1);
  SetFormNotifier(nullptr);
}
