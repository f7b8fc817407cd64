#include <doctest/doctest.h>

#include <set>
#include <sstream>

#include "DirectoryNames.h"
#include "StateText.h"
#include "TempServer.h"
#include "Tool.h"

using namespace nwsim;

namespace {

struct Run {
  int code;
  std::string out;
  std::string err;
};

Run Tool(const TempServer& t, std::vector<std::string> args) {
  args.insert(args.begin(), {"--root", t.Root().string()});
  std::ostringstream out, err;
  int code = RunTool(args, nullptr, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace

TEST_CASE("bad arguments give one line, exit code 2 and no change") {
  TempServer t;
  t.Deleted("DOCS", "A.TXT");
  const std::string before = t.Fingerprint();
  const std::vector<std::vector<std::string>> bad = {
      {"frobnicate"},
      {"delete", "SYS:DOCS/B.TXT", "--at", "1997-13-01"},
      {"delete", "SYS:DOCS/"},
      {"purge", "SYS:DOCS"},
      {"purge", "SYS:DOCS", "--all", "--name", "A.TXT"},
      {"generate", "SYS:DOCS", "many"},
      {"map", "FF", "SYS:"},
      {"fault", "fail", "NWScanForDeletedFiles"},
      {"fault", "sometimes"},
      {"list", "SYS:DOCS", "extra"},
      {"rights", "DOCS", "0x1FB"},
      {"first-drive", "AA"},
      {"clock", "bytes", "1", "2", "3"},
      {"clock", "set", "1979-01-01"},
      {"clock", "tomorrow"},
  };
  for (const auto& args : bad) {
    Run r = Tool(t, args);
    CHECK(r.code == 2);
    CHECK(r.err.rfind("nwsim: ", 0) == 0);
    CHECK(r.err.find('\n') == r.err.size() - 1);
  }
  CHECK(t.Fingerprint() == before);
}

TEST_CASE("a refused operation exits 1 and changes nothing") {
  TempServer t;
  t.Deleted("DOCS", "A.TXT");
  const std::string before = t.Fingerprint();
  CHECK(Tool(t, {"delete", "SYS:DOCS/NONE.TXT", "--by", "ADMIN"}).code == 1);
  CHECK(Tool(t, {"delete", "SYS:NONE.TXT", "--by", "NOBODY"}).code == 1);
  CHECK(Tool(t, {"purge", "SYS:DOCS", "--name", "NONE.TXT"}).code == 1);
  CHECK(Tool(t, {"purge", "SYS:OTHER", "--all"}).code == 1);
  CHECK(t.Fingerprint() == before);
}

TEST_CASE("put, delete, list and purge through the tool") {
  TempServer t;
  CHECK(Tool(t, {"put", "SYS:DOCS/MEMO.TXT", "--text", "hello"}).code == 0);
  Run deleted = Tool(t, {"delete", "SYS:DOCS/MEMO.TXT", "--by", "JSMITH", "--at", "1997-04-01 16:40"});
  CHECK(deleted.code == 0);
  Run list = Tool(t, {"list", "sys:docs"});
  CHECK(list.out == deleted.out.substr(0, deleted.out.size() - 1) + "\tMEMO.TXT\t5\t1997-04-01 16:40:00\tJSMITH\n");
  CHECK(Tool(t, {"purge", "SYS:DOCS", "--name", "memo.txt"}).code == 0);
  CHECK(Tool(t, {"list", "SYS:DOCS"}).out.empty());
}

TEST_CASE("the demo server has versions, a collision and several deleters") {
  TempServer base;  // only for a fresh, unique folder name
  std::filesystem::path root = base.Root() / "demo";
  std::ostringstream out, err;
  REQUIRE(RunTool({"--root", root.string(), "demo"}, nullptr, out, err) == 0);
  Server server(root);
  std::shared_ptr<const FolderEntries> docs = server.Folder().Deleted("SYS", "DOCS");
  REQUIRE(docs->bySequence.size() == 5);
  int memos = 0;
  std::set<uint32_t> deleters;
  for (const auto& [sequence, e] : docs->bySequence) {
    memos += e.name == "MEMO.TXT";
    deleters.insert(e.deleter);
  }
  CHECK(memos == 2);
  CHECK(deleters.size() >= 3);
  CHECK(std::filesystem::exists(server.Folder().VolumeFolder("SYS") / "DOCS" / "README.TXT"));
  CHECK(RunTool({"--root", root.string(), "demo"}, nullptr, out, err) == 1);
}

TEST_CASE("directory names up to the client's 256 characters; objects only the directory knows") {
  TempServer t;
  const std::string context = "OU=" + std::string(178, 'U') + ".O=ACME";
  TempServer tree;
  tree.Server().Folder().Update([&](State& s) {
    s.treeName = "ACME";
    s.dsContext = context;
    return true;
  });
  // CN=, 64 characters, a dot and the 188-character context: 256 exactly.
  const std::string longest(256 - 4 - context.size(), 'D');
  CHECK(Tool(tree, {"add-user", longest, "--directory-only"}).code == 0);
  CHECK(Tool(tree, {"add-user", longest + "X", "--directory-only"}).code != 0);
  CHECK(Tool(tree, {"add-user", std::string(48, 'B')}).code == 2);
  const State state = ParseState(FormatState(tree.Server().Current()->state));
  REQUIRE(state.FindObjectByName(longest));
  CHECK(DirectoryName(state, *state.FindObjectByName(longest), true).size() == 256);
  CHECK(state.FindObjectByName(longest)->directoryOnly);
  // The bindery-only server has no directory to keep such an object in.
  CHECK(Tool(t, {"add-user", "DSONLY", "--directory-only"}).code == 1);
}

TEST_CASE("the server clock, its raw bytes and the first network drive are kept with the server") {
  TempServer t;
  REQUIRE(Tool(t, {"clock", "bytes", "126", "13", "30", "0", "0", "0", "0"}).code == 0);
  REQUIRE(Tool(t, {"first-drive", "h:"}).code == 0);
  State state = t.Server().Current()->state;
  REQUIRE(state.clock.rawBytes);
  CHECK((*state.clock.rawBytes)[1] == 13);
  CHECK(state.firstNetworkDrive == 'H');
  REQUIRE(Tool(t, {"clock", "set", "2030-01-01"}).code == 0);
  REQUIRE(Tool(t, {"first-drive", "none"}).code == 0);
  state = ParseState(FormatState(t.Server().Current()->state));
  CHECK_FALSE(state.clock.rawBytes);
  CHECK(state.clock.offsetSeconds > 0);
  CHECK(state.firstNetworkDrive == 0);
}
