#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Server.h"

// A server folder of its own for each test, removed afterwards.
class TempServer {
public:
  TempServer() : FRoot(UniqueFolder()), FServer(FRoot) {
    nwsim::State state;
    state.objects.push_back({0x1000001, 1, "ADMIN", "System Administrator", true});
    state.objects.push_back({0x1000002, 1, "JSMITH", "John Smith", false});
    state.currentUser = 0x1000001;
    state.nextObjectId = 0x1000003;
    state.volumes.push_back({0, "SYS"});
    state.mappings.push_back({'F', "SYS", ""});
    FServer.Folder().Create(state);
  }
  ~TempServer() {
    std::error_code ec;
    std::filesystem::remove_all(FRoot, ec);
  }

  nwsim::Server& Server() { return FServer; }
  const std::filesystem::path& Root() const { return FRoot; }

  // Puts a file and deletes it as the given user; gives its sequence.
  uint32_t Deleted(const std::string& folder, const std::string& name, const std::string& contents = "x",
                   uint32_t deleter = 0x1000002) {
    FServer.PutFile("SYS", folder, name, contents);
    nwsim::Deletion d;
    d.volume = "SYS";
    d.folder = folder;
    d.name = name;
    d.deleter = deleter;
    d.when = {1997, 5, 2, 11, 5, 42};
    return FServer.DeleteFile(d).sequence;
  }

  // Every byte of the server's state and of its folders' deleted entries:
  // equal before and after when nothing changed.
  std::string Fingerprint() const {
    std::set<std::filesystem::path> files = {FRoot / "state"};
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(FRoot / "deleted", ec)) files.insert(item.path());
    std::string all;
    for (const std::filesystem::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      all += file.filename().string() + "\n" + text.str() + "\n";
    }
    return all;
  }

private:
  static std::filesystem::path UniqueFolder() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::filesystem::temp_directory_path() /
           ("nwsim-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  }

  std::filesystem::path FRoot;
  nwsim::Server FServer;
};
