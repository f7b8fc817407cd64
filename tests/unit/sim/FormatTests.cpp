#include <doctest/doctest.h>

#include "ClientPaths.h"
#include "DirectoryNames.h"
#include "PackedDate.h"
#include "StateText.h"

using namespace nwsim;

TEST_CASE("the state text keeps every field, including awkward names") {
  State state;
  state.generation = 41;
  state.server.name = "FS1";
  state.treeName = "TREE";
  state.dsContext = "OU=SALES.O=ACME";
  state.nextSequence = 8;
  state.objects.push_back({7, 2, "ALL USERS", "Tab\there\\and\nnewline", false});
  state.objects.push_back({8, 1, "OPER", "", false, true, false, true});
  state.volumes.push_back({3, "DATA"});
  state.mappings.push_back({'G', "DATA", "PROJECTS/A B"});
  state.rights.push_back({"DATA", "PROJECTS", 0x41});
  state.faults.failingCalls["NWScanForDeletedFiles"] = 0x8801;
  state.faults.vanishingNames.insert("A.TXT");
  state.faults.callDelayMs = 20;
  OtherServer other;
  other.identity.name = "NW312";
  other.identity.major = 3;
  other.identity.connectionNumber = 9;
  state.otherServers.push_back(other);
  state.primaryServer = "NW312";
  state.connectionOpens["NW312"] = 2;
  state.clock.offsetSeconds = -86400;
  state.firstNetworkDrive = 'H';

  State back = ParseState(FormatState(state));
  REQUIRE(back.otherServers.size() == 1);
  CHECK((back.otherServers[0].identity.major == 3 && back.otherServers[0].identity.connectionNumber == 9));
  CHECK_FALSE(back.otherServers[0].directory);
  CHECK(back.primaryServer == "NW312");
  CHECK(back.connectionOpens.at("NW312") == 2);
  CHECK(back.clock.offsetSeconds == -86400);
  CHECK(back.firstNetworkDrive == 'H');
  CHECK(back.generation == 41);
  CHECK(back.dsContext == "OU=SALES.O=ACME");
  REQUIRE(back.objects.size() == 2);
  CHECK(back.objects[0].fullName == "Tab\there\\and\nnewline");
  CHECK((back.objects[1].consoleOperator && !back.objects[1].manager && back.objects[1].directoryOnly));
  CHECK(back.mappings[0].folder == "PROJECTS/A B");
  CHECK(back.rights[0].mask == 0x41);
  CHECK(back.faults.failingCalls.at("NWScanForDeletedFiles") == 0x8801);
  CHECK(back.faults.vanishingNames.count("A.TXT") == 1);
  CHECK(back.faults.callDelayMs == 20);
}

TEST_CASE("a state file from before the per-user rights and directory-only objects still reads") {
  // Format 2, as the files were then.
  const State back = ParseState("nwsim-server\t2\t3\nserver\tFS1\t4\t11\t0\t250\t1\t437\t1\n"
                                "object\t16777217\t1\tSUPERVISOR\tSupervisor\t1\n");
  REQUIRE(back.objects.size() == 1);
  const BinderyObject& o = back.objects[0];
  CHECK((o.supervisor && !o.consoleOperator && !o.manager && !o.directoryOnly));
  CHECK((o.IsConsoleOperator() && o.IsManager()));
}

TEST_CASE("a damaged state file is refused, not half read") {
  std::string good = FormatState(State());
  CHECK_NOTHROW(ParseState(good));
  const char* damaged[] = {
      "",
      "something else\n",
      "nwsim-server\t1\t0\n",
      "nwsim-server\t2\t0\nvolume\tx\tSYS\n",
      "nwsim-server\t2\t0\nvolume\t1\n",
      "nwsim-server\t2\t0\nwhatever\t1\n",
      "nwsim-server\t2\t0\nobject\t1\t70000\tA\t\t0\n",
      "nwsim-server\t2\t0\ncounters\t2\t1\ndeleted\t5\tSYS\t\tA\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n",
      // Format 3 keeps its deleted entries in the folder files only.
      "nwsim-server\t3\t0\ncounters\t9\t1\ndeleted\t5\tSYS\t\tA\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\n",
      "nwsim-server\t4\t0\n",
  };
  for (const char* text : damaged) CHECK_THROWS_AS(ParseState(text), FormatError);
}

TEST_CASE("drive paths become server paths through the mappings") {
  State state;
  state.mappings.push_back({'F', "SYS", ""});
  state.mappings.push_back({'H', "DATA", "HOME/JSMITH"});
  CHECK(ToServerPath(state, "F:/DATA/") == "SYS:DATA");
  CHECK(ToServerPath(state, "f:\\docs\\reports\\") == "SYS:DOCS/REPORTS");
  CHECK(ToServerPath(state, "F:/") == "SYS:");
  CHECK(ToServerPath(state, "H:/MAIL") == "DATA:HOME/JSMITH/MAIL");
  CHECK(ToServerPath(state, "FS1/SYS:PUBLIC") == "SYS:PUBLIC");
  CHECK_FALSE(ToServerPath(state, "C:/WINDOWS"));
  CHECK_FALSE(ToServerPath(state, "F:/DOCS/../.."));
  CHECK_FALSE(ToServerPath(state, "no volume here"));
  ServerPlace docs{"SYS", "DOCS"};
  CHECK(Below(docs, "SUB")->folder == "DOCS/SUB");
  CHECK(Below(docs, "")->folder == "DOCS");
  CHECK_FALSE(Below(docs, ".."));
}

TEST_CASE("packed dates hold date and time in the DOS layout") {
  DateTimeParts p{1997, 1, 31, 23, 59, 58};
  uint32_t packed = PackDateTime(p);
  CHECK((packed >> 16) == PackDate(p));
  CHECK(((packed >> 25) & 0x7F) == 17);
  DateTimeParts back = UnpackDateTime(packed);
  CHECK(back.year == 1997);
  CHECK(back.month == 1);
  CHECK(back.day == 31);
  CHECK(back.hour == 23);
  CHECK(back.minute == 59);
  CHECK(back.second == 58);
  CHECK(ParseDateTime("1996-02-29")->day == 29);
  CHECK_FALSE(ParseDateTime("1997-02-29"));
  CHECK_FALSE(ParseDateTime("1979-12-31"));
  CHECK_FALSE(ParseDateTime("1997-01-01 24:00"));
  CHECK_FALSE(ParseDateTime("1997-01-01x"));
}

TEST_CASE("directory names: canonical, typeless, resolved in the tree") {
  State state;
  state.treeName = "ACME_TREE";
  state.dsContext = "OU=SALES.O=ACME";
  state.objects.push_back({5, 1, "JSMITH", "John Smith", false});
  CHECK(CanonicalName("JSMITH", "OU=SALES.O=ACME", true) == "CN=JSMITH.OU=SALES.O=ACME");
  CHECK(CanonicalName("JSMITH.SALES.ACME", "[Root]", true) == "CN=JSMITH.OU=SALES.O=ACME");
  CHECK(TypelessName("CN=JSMITH.OU=SALES.O=ACME") == "JSMITH.SALES.ACME");
  CHECK(ResolveDirectoryName(state, "jsmith", "SALES.ACME")->id == 5);
  CHECK(ResolveDirectoryName(state, "CN=JSMITH.OU=SALES.O=ACME", "[Root]")->id == 5);
  CHECK_FALSE(ResolveDirectoryName(state, "JSMITH", "[Root]"));
  state.treeName.clear();
  CHECK_FALSE(ResolveDirectoryName(state, "CN=JSMITH.OU=SALES.O=ACME", "[Root]"));
}
