// The server folder's storage of deleted entries: a file per folder, a base
// and a journal of whole transactions; what a writer that dies half way
// leaves; several processes at once; state files from before.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#ifdef _WIN32
#include <process.h>
#include <stdlib.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

#include "FileWrites.h"
#include "FolderFile.h"
#include "StateText.h"
#include "TempServer.h"
#include "Tool.h"

using namespace nwsim;

namespace {

using Listing = std::vector<std::pair<uint32_t, std::string>>;

Listing List(Server& server, const std::string& folder) {
  Listing listing;
  uint32_t handle = kScanStart;
  while (std::optional<DeletedEntry> e = server.NextDeleted("SYS", folder, handle)) {
    listing.emplace_back(e->sequence, e->name);
    handle = e->sequence;
  }
  return listing;
}

Listing Without(Listing listing, uint32_t sequence) {
  listing.erase(std::remove_if(listing.begin(), listing.end(), [&](const auto& e) { return e.first == sequence; }),
                listing.end());
  return listing;
}

std::filesystem::path FolderFile(const TempServer& t, const std::string& folder, int slot = 0) {
  std::string name = ServerFolder::FolderFileName("SYS", folder);
  if (slot) name += "-" + std::to_string(slot);
  return t.Root() / "deleted" / name;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file holds whole transactions only: no torn tail.
bool Whole(const std::filesystem::path& path) {
  const std::string bytes = Bytes(path);
  FolderEntries entries;
  JournalRead read = ApplyTransactions(bytes, 0, entries);
  return !read.tornTail && read.end == bytes.size();
}

// A writer that dies after so many bytes (a rename counts as one): runs
// `write` in a server object of its own, as a process of its own would.
bool DiesWriting(const TempServer& t, uint64_t steps, const std::function<void(Server&)>& write) {
  Server dying(t.Root());
  CutWritesAfter(steps);
  bool died = false;
  try {
    write(dying);
  } catch (const SimulatedCrash&) {
    died = true;
  }
  CutWritesAfter(std::nullopt);
  return died;
}

struct ThreeEntries {
  uint32_t a, b, c;
};

ThreeEntries Three(TempServer& t) {
  return {t.Deleted("DOCS", "A.TXT", "a"), t.Deleted("DOCS", "B.TXT", "b"), t.Deleted("DOCS", "C.TXT", "c")};
}

struct Run {
  int code;
  std::string out;
};

Run RunNwsim(const TempServer& t, std::vector<std::string> args) {
  args.insert(args.begin(), {"--root", t.Root().string()});
  std::ostringstream out, err;
  int code = RunTool(args, nullptr, out, err);
  return {code, out.str()};
}

// A state file as format 2 wrote it: the same lines, and every deleted
// entry inline.
std::string FormatTwo(const State& state, const std::vector<DeletedEntry>& entries) {
  std::string text = FormatState(state);
  REQUIRE(text.rfind("nwsim-server\t3\t", 0) == 0);
  text[13] = '2';
  for (const DeletedEntry& e : entries) {
    std::ostringstream line;
    line << "deleted\t" << e.sequence << "\t" << e.volume << "\t" << e.folder << "\t" << e.name << "\t"
         << int(e.nameSpace) << "\t" << int(e.flags) << "\t" << e.attributes << "\t" << e.size << "\t" << e.created
         << "\t" << e.archived << "\t" << e.updated << "\t" << e.accessed << "\t" << e.deleted << "\t" << e.owner
         << "\t" << e.archiver << "\t" << e.updater << "\t" << e.deleter << "\t" << e.inheritedRights << "\t"
         << (e.generated ? 1 : 0) << "\n";
    text += line.str();
  }
  return text;
}

DeletedEntry Entry(uint32_t sequence, const std::string& folder, const std::string& name) {
  DeletedEntry e;
  e.sequence = sequence;
  e.volume = "SYS";
  e.folder = folder;
  e.name = name;
  e.size = static_cast<uint32_t>(name.size());
  e.deleter = e.owner = 0x1000002;
  e.deleted = 0x22A25A35;
  e.inheritedRights = kAllRights;
  return e;
}

// A server whose state file is of format 2, with entries in DOCS and
// OTHER and their contents in the salvage area; with `leftover`, a folder
// file left by a move to folder files that died before its end, else no
// folder for such files at all, as in a server folder of that time.
std::vector<DeletedEntry> MakeFormatTwo(TempServer& t, bool leftover) {
  t.Server().PutFile("SYS", "DOCS", "LIVE.TXT", "");
  t.Server().PutFile("SYS", "OTHER", "LIVE.TXT", "");
  std::vector<DeletedEntry> entries = {Entry(3, "DOCS", "A.TXT"), Entry(5, "OTHER", "B.TXT"),
                                       Entry(7, "DOCS", "C.TXT"), Entry(8, "DOCS", "A.TXT")};
  for (const DeletedEntry& e : entries) Write(t.Server().Folder().SalvageFile(e.sequence), e.name);
  State state = t.Server().Current()->state;
  state.nextSequence = 10;
  state.generation = 4;
  Write(t.Root() / "state", FormatTwo(state, entries));
  if (!leftover) {
    std::filesystem::remove_all(t.Root() / "deleted");
    return entries;
  }
  TransactionText left;
  left.Header({0x1234, "SYS", "DOCS"});
  left.Add(Entry(99, "DOCS", "LEFTOVER.TXT"));
  left.Commit();
  Write(FolderFile(t, "DOCS"), left.Text());
  return entries;
}

#ifdef _WIN32
using Process = intptr_t;
#else
using Process = pid_t;
#endif

std::filesystem::path ThisProgram() {
#ifdef _WIN32
  return _pgmptr;  // the C runtime's full path of the program
#else
  return std::filesystem::read_symlink("/proc/self/exe");
#endif
}

Process Start(const std::vector<std::string>& args) {
  std::vector<std::string> quoted;
  for (const std::string& a : args)
#ifdef _WIN32
    quoted.push_back("\"" + a + "\"");  // the C runtime joins them with spaces
#else
    quoted.push_back(a);
#endif
  std::vector<char*> argv;
  for (std::string& a : quoted) argv.push_back(a.data());
  argv.push_back(nullptr);
#ifdef _WIN32
  Process process = _spawnv(_P_NOWAIT, args[0].c_str(), argv.data());
  REQUIRE(process != -1);
#else
  Process process = 0;
  REQUIRE(posix_spawn(&process, args[0].c_str(), nullptr, nullptr, argv.data(), environ) == 0);
#endif
  return process;
}

int Wait(Process process) {
#ifdef _WIN32
  int status = 0;
  _cwait(&status, process, 0);
  return status;
#else
  int status = 0;
  waitpid(process, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace

TEST_CASE("a folder file keeps every field, and a reader takes whole transactions only") {
  DeletedEntry e = Entry(7, "PROJECTS/A B", "Long name with spaces;[1].txt");
  e.nameSpace = 4;
  e.flags = 255;
  e.attributes = 0x80021;
  e.size = 0xFFFFFFFF;
  e.created = 1;
  e.archived = 2;
  e.updated = 3;
  e.accessed = 0x2255;
  e.deleted = 0xFFFFFFFE;
  e.owner = 4;
  e.archiver = 5;
  e.updater = 6;
  e.deleter = 7;
  e.inheritedRights = 0xFFFF;
  e.generated = true;
  TransactionText text;
  text.Header({0xFEDCBA9876543210ull, "SYS", "PROJECTS/A B\twith\\tab"});
  text.Add(e);
  text.Add(Entry(9, "", "B.TXT"));
  text.Commit();
  const std::string base = text.Text();
  text.Remove(7);
  text.Add(Entry(12, "", "C.TXT"));
  text.Commit();
  const std::string all = text.Text();

  FolderEntries read;
  JournalRead whole = ApplyTransactions(all, 0, read);
  CHECK(whole.end == all.size());
  CHECK(whole.firstEnd == base.size());
  CHECK_FALSE(whole.tornTail);
  CHECK(read.folder == "PROJECTS/A B\twith\\tab");
  REQUIRE(read.bySequence.size() == 2);
  CHECK(read.bySequence.begin()->first == 9);

  FolderEntries first;
  ApplyTransactions(base, 0, first);
  const DeletedEntry& back = first.bySequence.at(7);
  CHECK(back.name == e.name);
  CHECK(back.folder == read.folder);
  CHECK((back.nameSpace == 4 && back.flags == 255 && back.attributes == 0x80021 && back.size == 0xFFFFFFFF));
  CHECK((back.created == 1 && back.archived == 2 && back.updated == 3 && back.accessed == 0x2255));
  CHECK((back.deleted == 0xFFFFFFFE && back.owner == 4 && back.archiver == 5 && back.updater == 6));
  CHECK((back.deleter == 7 && back.inheritedRights == 0xFFFF && back.generated));

  // Every prefix of the file: the base alone until the second transaction
  // is whole, then both; the rest is a torn tail.
  for (size_t cut = base.size(); cut <= all.size(); ++cut) {
    CAPTURE(cut);
    FolderEntries partial;
    JournalRead r = ApplyTransactions(std::string_view(all).substr(0, cut), 0, partial);
    const bool both = cut == all.size();
    CHECK(r.end == (both ? all.size() : base.size()));
    CHECK(r.tornTail == (cut != base.size() && !both));
    CHECK((partial.Find(7) != nullptr) == !both);
    CHECK((partial.Find(12) != nullptr) == both);
  }
  // Read on from where a reader stopped, as a reader with the folder in
  // its cache does.
  JournalRead tail = ApplyTransactions(std::string_view(all).substr(base.size()), base.size(), first);
  CHECK(tail.end == all.size());
  CHECK(first.bySequence.size() == 2);

  // A transaction whose check fails is not taken, nor anything after it.
  for (size_t at : {base.size() + 3, all.size() - 3}) {
    std::string damaged = all;
    damaged[at] = damaged[at] == '1' ? '2' : '1';
    FolderEntries entries;
    JournalRead r = ApplyTransactions(damaged, 0, entries);
    CHECK(r.end == base.size());
    CHECK(r.tornTail);
  }
  // One that checks but does not fit the folder is a damaged file.
  TransactionText wrong;
  wrong.Header({1, "SYS", ""});
  wrong.Remove(5);
  wrong.Commit();
  FolderEntries entries;
  CHECK_THROWS_AS(ApplyTransactions(wrong.Text(), 0, entries), FormatError);
  CHECK_THROWS_AS(ApplyTransactions("nwsim-deleted\t2\t0000000000000001\tSYS\t\n", 0, entries), FormatError);
}

TEST_CASE("a purge cut off at any byte leaves the old entries or the new, and the next writer mends the tail") {
  uint64_t length = 0;  // of the purge's transaction
  {
    TempServer t;
    ThreeEntries e = Three(t);
    const uint64_t before = std::filesystem::file_size(FolderFile(t, "DOCS"));
    REQUIRE(t.Server().Purge("SYS", "DOCS", e.b) == kOk);
    length = std::filesystem::file_size(FolderFile(t, "DOCS")) - before;
  }
  REQUIRE(length > 10);
  for (uint64_t cut = 0; cut <= length; ++cut) {
    CAPTURE(cut);
    TempServer t;
    ThreeEntries e = Three(t);
    Server reader(t.Root());  // has the folder cached, and reads on from there
    const Listing all = List(reader, "DOCS");
    REQUIRE(all.size() == 3);

    const bool died = DiesWriting(t, cut, [&](Server& s) { s.Purge("SYS", "DOCS", e.b); });
    CHECK(died == (cut < length));
    Listing expected = died ? all : Without(all, e.b);
    CHECK(List(reader, "DOCS") == expected);
    Server fresh(t.Root());
    CHECK(List(fresh, "DOCS") == expected);
    CHECK(Whole(FolderFile(t, "DOCS")) == (!died || cut == 0));

    Server next(t.Root());
    REQUIRE(next.Recover("SYS", "DOCS", e.a, "A.TXT", "A.TXT") == kOk);
    expected = Without(expected, e.a);
    CHECK(Whole(FolderFile(t, "DOCS")));
    CHECK(List(reader, "DOCS") == expected);
    Server after(t.Root());
    CHECK(List(after, "DOCS") == expected);
  }
}

TEST_CASE("a deletion cut off at any byte never gives its sequence twice") {
  uint64_t stateLength = 0, length = 0;  // the state's new file, and all of it with the rename and the append
  {
    TempServer t;
    t.Deleted("DOCS", "A.TXT");
    t.Server().PutFile("SYS", "DOCS", "B.TXT", "b");
    const uint64_t before = std::filesystem::file_size(FolderFile(t, "DOCS"));
    t.Deleted("DOCS", "B.TXT");
    stateLength = std::filesystem::file_size(t.Root() / "state");
    length = stateLength + 1 + std::filesystem::file_size(FolderFile(t, "DOCS")) - before;
  }
  for (uint64_t cut = 0; cut <= length; ++cut) {
    CAPTURE(cut);
    TempServer t;
    const uint32_t a = t.Deleted("DOCS", "A.TXT");
    t.Server().PutFile("SYS", "DOCS", "B.TXT", "b");
    const uint32_t b = t.Server().Current()->state.nextSequence;
    const bool died = DiesWriting(t, cut, [&](Server& s) {
      Deletion d;
      d.volume = "SYS";
      d.folder = "DOCS";
      d.name = "B.TXT";
      d.deleter = 0x1000002;
      d.when = {1997, 5, 2, 11, 5, 42};  // as TempServer deletes, for a record of the same length
      s.DeleteFile(d);
    });
    CHECK(died == (cut < length));
    Server fresh(t.Root());
    Listing expected = {{a, "A.TXT"}};
    if (!died) expected.emplace_back(b, "B.TXT");
    CHECK(List(fresh, "DOCS") == expected);
    // The next deletion: a sequence of its own, after the one the dead
    // writer took once that was saved.
    const uint32_t c = t.Deleted("DOCS", "C.TXT");
    CHECK(c > a);
    if (cut > stateLength) CHECK(c > b);
    expected.emplace_back(c, "C.TXT");
    Server after(t.Root());
    CHECK(List(after, "DOCS") == expected);
  }
}

TEST_CASE("a folder's file written anew, cut off at any byte, leaves the old one; a torn tail is mended that way") {
  // A purge that died half way leaves a torn tail; the next writer writes
  // the folder anew without it.
  auto tear = [](TempServer& t, const ThreeEntries& e) {
    REQUIRE(DiesWriting(t, 8, [&](Server& s) { s.Purge("SYS", "DOCS", e.b); }));
    REQUIRE_FALSE(Whole(FolderFile(t, "DOCS")));
  };
  uint64_t length = 0;  // of the new file, with its rename
  {
    TempServer t;
    ThreeEntries e = Three(t);
    tear(t, e);
    REQUIRE(t.Server().Purge("SYS", "DOCS", e.a) == kOk);
    length = std::filesystem::file_size(FolderFile(t, "DOCS")) + 1;
  }
  for (uint64_t cut = 0; cut <= length; ++cut) {
    CAPTURE(cut);
    TempServer t;
    ThreeEntries e = Three(t);
    Server reader(t.Root());
    const Listing all = List(reader, "DOCS");
    tear(t, e);
    CHECK(List(reader, "DOCS") == all);

    const bool died = DiesWriting(t, cut, [&](Server& s) { s.Purge("SYS", "DOCS", e.a); });
    CHECK(died == (cut < length));
    Listing expected = died ? all : Without(all, e.a);
    CHECK(List(reader, "DOCS") == expected);
    Server fresh(t.Root());
    CHECK(List(fresh, "DOCS") == expected);
    CHECK(Whole(FolderFile(t, "DOCS")) == !died);

    Server next(t.Root());
    REQUIRE(next.Purge("SYS", "DOCS", e.c) == kOk);
    expected = Without(expected, e.c);
    CHECK(Whole(FolderFile(t, "DOCS")));
    CHECK(List(reader, "DOCS") == expected);
    Server after(t.Root());
    CHECK(List(after, "DOCS") == expected);
    // What a dead writer left beside the file is no folder of its own.
    CHECK(RunNwsim(t, {"show"}).out.find("deleted entries " + std::to_string(expected.size()) + "\n") !=
          std::string::npos);
  }
}

TEST_CASE("a folder's journal is written into a new base once it outgrows the old one; readers follow") {
  TempServer t;
  t.Server().PutFile("SYS", "BIG", "LIVE.TXT", "");
  t.Server().Generate("SYS", "BIG", 10, 0x1000001, {1997, 6, 1, 8, 0, 0});
  Server reader(t.Root());
  CHECK(List(reader, "BIG").size() == 10);
  const std::filesystem::path file = FolderFile(t, "BIG");
  const std::string base = Bytes(file);

  // Small changes are appended to the file as it is.
  t.Server().Generate("SYS", "BIG", 200, 0x1000001, {1997, 6, 1, 8, 0, 0});
  const std::string grown = Bytes(file);
  CHECK(grown.compare(0, base.size(), base) == 0);
  CHECK(List(reader, "BIG").size() == 210);

  // Then the file is written anew: a new file ID, one transaction.
  for (int i = 0; i < 3; ++i) t.Server().Generate("SYS", "BIG", 200, 0x1000001, {1997, 6, 1, 8, 0, 0});
  const std::string rewritten = Bytes(file);
  CHECK(rewritten.substr(0, rewritten.find('\n')) != base.substr(0, base.find('\n')));
  FolderEntries entries;
  JournalRead read = ApplyTransactions(rewritten, 0, entries);
  CHECK(read.firstEnd < read.end);  // appended to again since
  CHECK(entries.bySequence.size() == 810);
  const Listing listed = List(reader, "BIG");
  CHECK(listed.size() == 810);
  CHECK(std::is_sorted(listed.begin(), listed.end()));
  Server fresh(t.Root());
  CHECK(List(fresh, "BIG") == listed);
}

TEST_CASE("a call touches only its own folder's file") {
  TempServer t;
  const uint32_t a = t.Deleted("DOCS", "A.TXT");
  t.Deleted("DOCS", "B.TXT");
  t.Server().PutFile("SYS", "BIG", "LIVE.TXT", "");
  t.Server().Generate("SYS", "BIG", 1000, 0x1000001, {1997, 6, 1, 8, 0, 0});
  Write(FolderFile(t, "BIG"), "not what a folder file holds\n");

  Server other(t.Root());
  CHECK(List(other, "DOCS").size() == 2);
  CHECK(other.Recover("SYS", "DOCS", a, "A.TXT", "A.TXT") == kOk);
  CHECK(t.Deleted("DOCS", "C.TXT") > a);
  CHECK(List(other, "DOCS").size() == 2);
  CHECK_THROWS_AS(List(other, "BIG"), FormatError);
}

TEST_CASE("two folders whose keys hash alike keep files of their own") {
  // FNV-1a gives "SYS:KYXX" and "SYS:QDOZD" the same 32 bits.
  REQUIRE(ServerFolder::FolderFileName("SYS", "KYXX") == ServerFolder::FolderFileName("SYS", "QDOZD"));
  TempServer t;
  const uint32_t first = t.Deleted("KYXX", "ONE.TXT");
  Server reader(t.Root());
  CHECK(List(reader, "QDOZD").empty());
  const uint32_t second = t.Deleted("QDOZD", "TWO.TXT");
  t.Deleted("KYXX", "THREE.TXT");
  CHECK(std::filesystem::exists(FolderFile(t, "QDOZD", 1)));
  CHECK(List(reader, "QDOZD") == Listing{{second, "TWO.TXT"}});
  CHECK(List(reader, "KYXX").size() == 2);
  CHECK(t.Server().Purge("SYS", "QDOZD", first) == kFailure);
  CHECK(t.Server().Purge("SYS", "KYXX", first) == kOk);
  Server fresh(t.Root());
  CHECK(List(fresh, "QDOZD") == Listing{{second, "TWO.TXT"}});
  CHECK(List(fresh, "KYXX").size() == 1);
  fresh.Vanish(second);
  CHECK(List(reader, "QDOZD").empty());
  CHECK(RunNwsim(t, {"show"}).out.find("deleted entries 1\n") != std::string::npos);
}

TEST_CASE("a state file with the entries inline (format 2) still reads, and its first write moves them out") {
  TempServer t;
  MakeFormatTwo(t, false);
  Server reader(t.Root());
  CHECK(List(reader, "DOCS") == Listing{{3, "A.TXT"}, {7, "C.TXT"}, {8, "A.TXT"}});
  CHECK(List(reader, "OTHER") == Listing{{5, "B.TXT"}});
  CHECK(RunNwsim(t, {"list", "SYS:DOCS"}).out.find("7\tC.TXT\t5\t") != std::string::npos);
  CHECK(RunNwsim(t, {"show"}).out.find("deleted entries 4\n") != std::string::npos);
  CHECK(reader.Current()->state.entriesInline);

  // The first write: the entries move to folder files, the state loses them.
  Server writer(t.Root());
  CHECK(writer.Recover("SYS", "DOCS", 7, "C.TXT", "C.TXT") == kOk);
  const std::string state = Bytes(t.Root() / "state");
  CHECK(state.rfind("nwsim-server\t3\t5\n", 0) == 0);
  CHECK(state.find("deleted") == std::string::npos);
  CHECK(Whole(FolderFile(t, "DOCS")));
  CHECK(List(reader, "DOCS") == Listing{{3, "A.TXT"}, {8, "A.TXT"}});
  CHECK(List(reader, "OTHER") == Listing{{5, "B.TXT"}});
  CHECK(Bytes(*t.Server().Folder().LiveFolder("SYS", "DOCS") / "C.TXT") == "C.TXT");
  // The sequence counter goes on where it was.
  CHECK(t.Deleted("OTHER", "D.TXT") == 10);
  writer.Vanish(5);
  Server fresh(t.Root());
  CHECK(List(fresh, "OTHER") == Listing{{10, "D.TXT"}});
  CHECK(List(fresh, "DOCS") == Listing{{3, "A.TXT"}, {8, "A.TXT"}});
  CHECK_FALSE(fresh.Current()->state.entriesInline);
}

TEST_CASE("a move out of a format-2 state cut off anywhere leaves the old state, which the next writer moves") {
  // The writes of the move and of the purge after it, in order: both
  // folder files and their renames, the state file and its rename, the
  // purge's transaction. Cut at each end, and either side of it, and half
  // way through each.
  std::vector<uint64_t> cuts;
  {
    TempServer t;
    MakeFormatTwo(t, true);
    REQUIRE(t.Server().Purge("SYS", "DOCS", 3) == kOk);
    FolderEntries entries;
    const JournalRead docs = ApplyTransactions(Bytes(FolderFile(t, "DOCS")), 0, entries);
    const uint64_t purge = docs.end - docs.firstEnd;
    uint64_t at = 0;
    for (uint64_t size : {docs.firstEnd,
                          std::filesystem::file_size(FolderFile(t, "OTHER")),
                          std::filesystem::file_size(t.Root() / "state")}) {
      for (uint64_t c : {at, at + size / 2, at + size - 1, at + size, at + size + 1}) cuts.push_back(c);
      at += size + 1;
    }
    for (uint64_t c : {at + 1, at + purge / 2, at + purge}) cuts.push_back(c);
  }
  const Listing docs = {{3, "A.TXT"}, {7, "C.TXT"}, {8, "A.TXT"}};
  for (size_t i = 0; i < cuts.size(); ++i) {
    CAPTURE(cuts[i]);
    TempServer t;
    MakeFormatTwo(t, true);
    Server reader(t.Root());
    CHECK(List(reader, "DOCS") == docs);
    const bool died = DiesWriting(t, cuts[i], [](Server& s) { s.Purge("SYS", "DOCS", 3); });
    CHECK(died == (i + 1 < cuts.size()));
    const Listing expected = died ? docs : Without(docs, 3);
    Server fresh(t.Root());
    CHECK(List(fresh, "DOCS") == expected);
    CHECK(List(fresh, "OTHER") == Listing{{5, "B.TXT"}});
    CHECK(List(reader, "DOCS") == expected);

    Server next(t.Root());
    CHECK(next.Purge("SYS", "DOCS", 8) == kOk);
    CHECK(t.Deleted("OTHER", "D.TXT") == 10);
    Server after(t.Root());
    CHECK(List(after, "DOCS") == Without(expected, 8));
    CHECK(List(after, "OTHER") == Listing{{5, "B.TXT"}, {10, "D.TXT"}});
    CHECK_FALSE(after.Current()->state.entriesInline);
  }
}

TEST_CASE("two processes deleting, recovering and purging in one folder and in folders of their own") {
  TempServer t;
  for (const char* folder : {"SHARED", "OWNA", "OWNB"}) t.Server().PutFile("SYS", folder, "LIVE.TXT", "");
  const std::filesystem::path worker =
      ThisProgram().parent_path() / (std::string("sim_store_worker") + ThisProgram().extension().string());
  REQUIRE(std::filesystem::exists(worker));
  const std::string steps = "120";
  const std::filesystem::path outA = t.Root() / "worker-a.txt", outB = t.Root() / "worker-b.txt";
  Process a = Start({worker.string(), t.Root().string(), "A", steps, "SHARED", "OWNA", outA.string()});
  Process b = Start({worker.string(), t.Root().string(), "B", steps, "SHARED", "OWNB", outB.string()});
  CHECK(Wait(a) == 0);
  CHECK(Wait(b) == 0);

  std::map<std::string, std::map<uint32_t, std::string>> expected;
  std::set<std::pair<std::string, std::string>> recovered;
  uint32_t generated = 0;
  for (const auto& out : {outA, outB}) {
    std::istringstream lines(Bytes(out));
    std::string kind, folder, name;
    while (lines >> kind >> folder) {
      if (kind == "entry") {
        uint32_t sequence = 0;
        lines >> sequence >> name;
        CHECK(expected[folder].emplace(sequence, name).second);
      } else if (kind == "recovered") {
        lines >> name;
        recovered.emplace(folder, name);
      } else {
        uint32_t count = 0;
        lines >> count;
        generated += count;
      }
    }
  }
  REQUIRE(expected.size() == 3);
  CHECK(generated > 0);
  CHECK(recovered.size() > 40);

  Server fresh(t.Root());
  std::set<uint32_t> sequences;
  for (const char* folder : {"SHARED", "OWNA", "OWNB"}) {
    CAPTURE(folder);
    uint32_t madeUp = 0;
    std::map<uint32_t, std::string> left;
    for (const auto& [sequence, name] : List(fresh, folder)) {
      CHECK(sequences.insert(sequence).second);
      if (name.rfind("F", 0) == 0 && name.find(".DAT") != std::string::npos) ++madeUp;
      else left.emplace(sequence, name);
    }
    CHECK(left == expected[folder]);
    CHECK(madeUp == (std::string(folder) == "SHARED" ? generated : 0));
    for (const auto& [sequence, name] : left) CHECK(Bytes(fresh.Folder().SalvageFile(sequence)) == name);
  }
  CHECK(*sequences.rbegin() < fresh.Current()->state.nextSequence);
  for (const auto& [folder, name] : recovered)
    CHECK(Bytes(*fresh.Folder().LiveFolder("SYS", folder) / ("R" + name)) == name);
}
