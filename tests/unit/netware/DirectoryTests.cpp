#include <doctest/doctest.h>

#include <memory>
#include <string>

#include "FakeClient.h"
#include "FormNotice.h"
#include "PropertyTable.h"
#include "nwbase.h"

using namespace retrove;

namespace {

// A complete client whose server is in the tree "ACME", and the component
// made on it by its form.
struct TDirectoryFixture {
  TDirectoryFixture() {
    fake::ResetServer();
    modules.AddFullClient();
    fake::Server.TreeName = "ACME";
    fake::Server.DefaultContextFlags = 0x20;  // none of the component's own
    base = new TNWBase(&form);
  }

  uint32_t Flags() { return fake::Server.Contexts[DSContext].Flags; }
  const std::string& ContextName() { return fake::Server.Contexts[DSContext].NameContext; }

  fake::TFakeModules modules;
  TComponent form{nullptr};
  TNWBase* base = nullptr;
};

struct TRecordingNotifier : IFormNotifier {
  void NotifyControls(TComponent&, uint32_t message) override { Told.push_back(message); }
  std::vector<uint32_t> Told;
};

}  // namespace

TEST_CASE("on a bindery-only server directory services are set up but not available") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  {
    TNWBase base(nullptr);
    CHECK(DSInUse);
    CHECK_FALSE(base.NDSAvailable());
    CHECK(base.LastError()->NWNDS() == "FFFFFFFF");
    // The context came after the unicode tables, which the client needs.
    REQUIRE(DSContext == 42);
    CHECK(fake::Server.Contexts[42].NameContext == "[Root]");
    CHECK(fake::Server.Contexts[42].Flags == (0x17 | 0x13));
    // Without directory services the name context cannot be changed.
    base.SetNDSContextName("OU=SALES");
    CHECK(base.NDSContextName().empty());
    CHECK(fake::Server.Contexts[42].NameContext == "[Root]");
  }
  CHECK(fake::Server.UnicodeTablesLoaded == 1);  // not released for a bindery server
  CHECK(fake::Server.Contexts.empty());
}

TEST_CASE_FIXTURE(TDirectoryFixture, "on a directory server the context starts at the root with the flags applied") {
  CHECK(DSInUse);
  CHECK(base->NDSAvailable());
  // The context of the binding was replaced by a fresh one at the root,
  // which got the component's flags although the client's defaults lack them.
  CHECK(fake::Server.ContextsCreated == 2);
  CHECK(fake::Server.ContextsFreed == 1);
  CHECK(base->NDSContextName() == "[Root]");
  CHECK(Flags() == (0x20 | 0x13));
  const TPropInfo* available = FindPropInfo(*base, "NDSAvailable");
  REQUIRE(available);
  CHECK(GetOrdProp(*base, *available) == 1);

  delete base;
  CHECK(fake::Server.UnicodeTablesLoaded == 0);
  CHECK(fake::Server.Contexts.empty());
}

TEST_CASE("a failed context creation leaves no context and directory services unused") {
  fake::ResetServer();
  fake::TFakeModules modules;
  modules.AddFullClient();
  fake::Server.TreeName = "ACME";
  fake::Server.CreateContextResult = -328;
  TNWBase base(nullptr);
  CHECK(DSContext == 0);
  CHECK_FALSE(DSInUse);
  CHECK_FALSE(base.NDSAvailable());
  CHECK(base.NetAvailable());
  CHECK(NewDSContext() == 0);
}

TEST_CASE_FIXTURE(TDirectoryFixture, "assigning the name context") {
  TRecordingNotifier notifier;
  SetFormNotifier(&notifier);
  TNWBase* owned = base;
  const int32_t first = DSContext;

  SUBCASE("a name is set once and kept in upper case") {
    const int sets = fake::Server.NameContextSets;
    owned->SetNDSContextName("ou=Sales.o=Acme");
    owned->SetNDSContextName("OU=SALES.O=ACME");
    CHECK(fake::Server.NameContextSets == sets + 1);
    CHECK(owned->NDSContextName() == "OU=SALES.O=ACME");
    CHECK(ContextName() == "OU=SALES.O=ACME");
    CHECK(notifier.Told == std::vector<uint32_t>{0xB841, 0xB841});
  }
  SUBCASE("the root in any case, or nothing, makes a new context") {
    for (const char* root : {"[root]", "", "[ROOT]"}) {
      const int32_t before = DSContext;
      owned->SetNDSContextName(root);
      CHECK(DSContext != before);
      CHECK(fake::Server.Contexts.count(before) == 0);
      CHECK(owned->NDSContextName() == "[Root]");
      CHECK(Flags() == (0x20 | 0x13));
    }
  }
  SUBCASE("a name the client refuses is not kept") {
    fake::Server.Failing["NWDSSetContext"] = 0xFFFFFDA7;
    owned->SetNDSContextName("OU=GONE");
    CHECK(owned->NDSContextName() == "[Root]");
    CHECK(notifier.Told.empty());
    CHECK(NDSError == -601);
  }
  SUBCASE("a reset the client cannot do keeps the old context") {
    owned->SetNDSContextName("OU=SALES");
    fake::Server.CreateContextResult = -328;
    owned->SetNDSContextName("[Root]");
    CHECK(DSContext == first);
    CHECK(fake::Server.Contexts.count(first) == 1);
    CHECK(owned->NDSContextName() == "OU=SALES");
  }
  SUBCASE("ignored while loading") {
    form.BeginLoading();
    owned->SetNDSContextName("OU=SALES");
    form.Loaded();
    CHECK(owned->NDSContextName() == "[Root]");
  }
  SetFormNotifier(nullptr);
}

TEST_CASE_FIXTURE(TDirectoryFixture, "context flags") {
  TNWDSContextFlags& flags = *base->NDSContextFlags();
  const uint32_t before = Flags();

  SUBCASE("a flag set and cleared again leaves the other bits as they were") {
    flags.SetTypelessNames(true);
    CHECK(Flags() == (before | 0x04));
    flags.SetTypelessNames(false);
    CHECK(Flags() == before);
    CHECK(GetContextFlags() == before);
    CHECK(AddContextFlags(0x80));
    CHECK(Flags() == (before | 0x80));
  }
  SUBCASE("a failed read of the flags writes nothing") {
    fake::Server.Failing["NWDSGetContext"] = 0xFFFFFED1;
    flags.SetDereferenceBaseClass(true);
    CHECK(flags.DereferenceBaseClass());
    CHECK_FALSE(AddContextFlags(0x08));
    CHECK(GetContextFlags() == 0);
    CHECK(Flags() == before);
    CHECK(NDSError == -303);
  }
  SUBCASE("without a context only the component's copy changes") {
    FreeDSContext(DSContext);
    DSContext = 0;
    const int32_t failures = NDSError;
    flags.SetAsyncMode(true);
    CHECK(flags.AsyncMode());
    CHECK(NDSError == failures);
  }
  const TPropInfo* prop = FindPropInfo(flags, "CanonicalizeNames");
  REQUIRE(prop);
  CHECK(prop->Default == 1);
}

TEST_CASE_FIXTURE(TDirectoryFixture, "canonical names leave the context's flags as they were") {
  const uint32_t before = Flags();
  CHECK(CanonicalizeName("BOB") == "CN=BOB");
  CHECK(fake::Server.CanonicalizeFlags == 0x13);
  CHECK(Flags() == before);

  fake::Server.Failing["NWDSCanonicalizeName"] = 0xFFFFFDA7;
  CHECK(CanonicalizeName("BOB").empty());
  CHECK(Flags() == before);
  CHECK(NDSError == -601);

  fake::Server.Failing.clear();
  CHECK(CanonicalizeName(std::string(47, 'B')) == "CN=" + std::string(47, 'B'));
  fake::Server.CanonicalizeFlags = 0;
  CHECK(CanonicalizeName(std::string(48, 'B')).empty());
  CHECK(fake::Server.CanonicalizeFlags == 0);  // never reached the client
}

TEST_CASE_FIXTURE(TDirectoryFixture, "names the client writes may be as long as it allows") {
  fake::Server.DirectoryUser = "CN=" + std::string(253, 'U');  // 256 characters and the NUL
  CHECK(WhoAmI() == fake::Server.DirectoryUser);
  fake::Server.DirectoryIDs[fake::Server.DirectoryUser] = 0x01020304;
  CHECK(MapIDToName(0, 0x01020304) == fake::Server.DirectoryUser);
  const std::string longContext = "OU=" + std::string(124, 'C');  // 127 characters
  CHECK(SetNameContext(longContext));
  CHECK(GetNameContext() == longContext);
  CHECK_FALSE(SetNameContext(longContext + "C"));
  CHECK(GetNameContext() == longContext);
  CHECK(SetNameContext("  OU=TRIMMED "));
  CHECK(ContextName() == "OU=TRIMMED");
}

TEST_CASE_FIXTURE(TDirectoryFixture, "object IDs by directory name") {
  fake::Server.DirectoryIDs = {{"CN=ALICE", 0x2301FE00}, {"CN=NOBODY", 0}, {std::string(255, 'L'), 0x1000000}};
  CHECK(MapNameToIDText(0, "CN=ALICE") == "FE0123");  // swapped, leading zeros dropped
  CHECK(MapNameToIDText(0, "CN=NOBODY") == "0");
  CHECK(MapNameToIDText(0, std::string(255, 'L')) == "1");
  CHECK(MapNameToIDText(0, std::string(256, 'L')).empty());
  CHECK(MapNameToIDText(0, "CN=GHOST").empty());
  CHECK(NDSError == -601);

  fake::Server.DirectoryIDs[std::string(47, 'S')] = 0x11;
  CHECK(AuditGetObjectID(0, "CN=ALICE") == 0x2301FE00);  // as the client gives it
  CHECK(AuditGetObjectID(0, std::string(47, 'S')) == 0x11);
  fake::Server.DirectoryIDs[std::string(48, 'S')] = 0x12;
  CHECK(AuditGetObjectID(0, std::string(48, 'S')) == 0);

  // The bindery does not know the ID, the directory does.
  CHECK(GetObjectNameByID(0, 0x2301FE00) == "CN=ALICE");
}

TEST_CASE_FIXTURE(TDirectoryFixture, "a duplicate the client cannot make leaves the context in force") {
  const int32_t before = DSContext;
  const int32_t working = NewDSContext();
  REQUIRE(working > 0);
  SUBCASE("older client") {
    fake::Server.Failing["NWDSDuplicateContext"] = 1;
    CHECK_FALSE(UseNameContext(working, "OU=SALES"));
  }
  SUBCASE("newer client") {
    modules.Add("NETWIN32.DLL", "NWDSDuplicateContextHandle", fake::DuplicateContextHandleEntry());
    fake::Server.Failing["NWDSDuplicateContextHandle"] = 0xFFFFFEB8;
    CHECK_FALSE(UseNameContext(working, "OU=SALES"));
  }
  SUBCASE("a working duplicate replaces the context") {
    modules.Add("NETWIN32.DLL", "NWDSDuplicateContextHandle", fake::DuplicateContextHandleEntry());
    CHECK(UseNameContext(working, "OU=SALES"));
    CHECK(DSContext != before);
    CHECK(ContextName() == "OU=SALES");
    CHECK(fake::Server.Contexts.count(before) == 0);
    CHECK(FreeDSContext(working));
    return;
  }
  CHECK(DSContext == before);
  CHECK(fake::Server.Contexts.count(before) == 1);
  CHECK(FreeDSContext(working));
}

TEST_CASE_FIXTURE(TDirectoryFixture, "reading an attribute as text") {
  const size_t contexts = fake::Server.Contexts.size();
  fake::Server.Attributes["CN=ALICE"]["Full Name"] = {3, "Alice Liddell"};
  std::string value;

  SUBCASE("in the context in force") {
    REQUIRE(ReadObjectAttributeText("", "CN=ALICE", kFullNameAttribute, value));
    CHECK(value == "Alice Liddell");
  }
  SUBCASE("in a named context, which stays in force") {
    REQUIRE(ReadObjectAttributeText("O=ACME", "CN=ALICE", kFullNameAttribute, value));
    CHECK(value == "Alice Liddell");
    CHECK(ContextName() == "O=ACME");
  }
  SUBCASE("a value longer than any fixed buffer is read whole") {
    fake::Server.Attributes["CN=ALICE"]["Full Name"].Value = std::string(300, 'x');
    REQUIRE(ReadObjectAttributeText("", "CN=ALICE", kFullNameAttribute, value));
    CHECK(value == std::string(300, 'x'));
  }
  SUBCASE("a value that is not text is not read") {
    fake::Server.Attributes["CN=ALICE"]["Last Login Time"] = {24, "\x01\x02"};
    CHECK_FALSE(ReadObjectAttributeText("", "CN=ALICE", 46, value));
    CHECK(fake::Server.AttributeValueReads == 0);
  }
  SUBCASE("failures") {
    CHECK_FALSE(ReadObjectAttributeText("", "CN=GHOST", kFullNameAttribute, value));
    CHECK(NDSError == -601);
    fake::Server.Failing["NWDSComputeAttrValSize"] = 0xFFFFFEAE;
    CHECK_FALSE(ReadObjectAttributeText("", "CN=ALICE", kFullNameAttribute, value));
    fake::Server.Failing["NWDSAllocBuf"] = 0xFFFFFEB7;
    CHECK_FALSE(ReadObjectAttributeText("", "CN=ALICE", kFullNameAttribute, value));
    CHECK_FALSE(ReadObjectAttributeText("", std::string(48, 'N'), kFullNameAttribute, value));
    CHECK(value.empty());
    CHECK(fake::Server.ObjectsRead == std::vector<std::string>{"CN=GHOST", "CN=ALICE"});
  }
  CHECK(fake::Server.BuffersOpen == 0);
  CHECK(fake::Server.Contexts.size() == contexts);
}

TEST_CASE("attribute names by index") {
  CHECK(AttributeName(0) == "Account Balance");
  CHECK(AttributeName(29) == "Full Name");
  CHECK(AttributeName(15) == "Object Class");
  CHECK(AttributeName(80) == "Object Class");
  CHECK(AttributeName(116) == "Revision");
  CHECK(AttributeName(142) == "Volume");
  CHECK(AttributeName(143).empty());
  CHECK(AttributeName(255).empty());
  size_t longest = 0;
  for (unsigned i = 0; i < 143; ++i) longest = std::max(longest, AttributeName(i).size());
  CHECK(longest == 31);
}
