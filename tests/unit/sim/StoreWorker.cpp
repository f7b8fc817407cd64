// One of the processes of the store's concurrency test (StoreTests.cpp):
// deletes files into a folder of its own and one it shares with another
// worker, recovers and purges some of them, adds generated entries to the
// shared folder now and then (so that its file is written anew while the
// other process reads and appends), and after every step scans both
// folders through a reader of its own, checking that what it knows of its
// entries holds. Writes what it left to OUTPUT:
//   entry FOLDER SEQUENCE NAME      deleted, neither recovered nor purged
//   recovered FOLDER NAME           brought back as R<NAME>
//   generated FOLDER COUNT
//
//   sim_store_worker ROOT TAG STEPS SHARED OWN OUTPUT
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Server.h"

using namespace nwsim;

namespace {

struct Mine {
  std::string folder;
  uint32_t sequence = 0;
  std::string name;
  bool present = true;
  bool recovered = false;
};

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "sim_store_worker: %s\n", why.c_str());
  std::exit(1);
}

void CheckFolder(Server& reader, const std::string& folder, const std::vector<Mine>& mine) {
  // Read as a whole transaction at a time: a damaged or doubled entry
  // would not read at all.
  std::shared_ptr<const FolderEntries> entries = reader.Folder().Deleted("SYS", folder);
  for (const Mine& m : mine) {
    if (m.folder != folder) continue;
    const DeletedEntry* e = entries->Find(m.sequence);
    if (m.present && (!e || e->name != m.name))
      Fail("entry " + std::to_string(m.sequence) + " " + m.name + " missing from " + folder);
    if (!m.present && e) Fail("entry " + std::to_string(m.sequence) + " back in " + folder);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) Fail("usage: sim_store_worker ROOT TAG STEPS SHARED OWN OUTPUT");
  const std::string root = argv[1], tag = argv[2], shared = argv[4], own = argv[5];
  const int steps = std::atoi(argv[3]);
  try {
    Server writer(root);
    Server reader(root);  // a cache of its own, as a client module has
    std::vector<Mine> mine;
    uint32_t generated = 0;
    for (int i = 0; i < steps; ++i) {
      const std::string folder = i % 2 ? own : shared;
      const std::string name = tag + std::to_string(i) + ".TXT";
      writer.PutFile("SYS", folder, name, name);
      Deletion d;
      d.volume = "SYS";
      d.folder = folder;
      d.name = name;
      d.deleter = 0x1000001;
      mine.push_back({folder, writer.DeleteFile(d).sequence, name});
      if (i % 3 == 2 && mine[i - 2].present) {
        Mine& m = mine[i - 2];
        Code code = writer.Recover("SYS", m.folder, m.sequence, m.name, "R" + m.name);
        if (code != kOk) Fail("recover of " + m.name + " gave " + std::to_string(code));
        m.present = false;
        m.recovered = true;
      }
      if (i % 5 == 4 && mine[i - 1].present) {
        Mine& m = mine[i - 1];
        Code code = writer.Purge("SYS", m.folder, m.sequence);
        if (code != kOk) Fail("purge of " + m.name + " gave " + std::to_string(code));
        m.present = false;
      }
      if (i % 40 == 20) {
        writer.Generate("SYS", shared, 150, 0x1000001, {1997, 6, 1, 8, 0, 0});
        generated += 150;
      }
      CheckFolder(reader, shared, mine);
      CheckFolder(reader, own, mine);
    }
    std::ofstream out(argv[6], std::ios::binary);
    for (const Mine& m : mine) {
      if (m.present) out << "entry " << m.folder << " " << m.sequence << " " << m.name << "\n";
      if (m.recovered) out << "recovered " << m.folder << " " << m.name << "\n";
    }
    out << "generated " << shared << " " << generated << "\n";
    return out ? 0 : 1;
  } catch (const std::exception& e) {
    Fail(e.what());
  }
}
