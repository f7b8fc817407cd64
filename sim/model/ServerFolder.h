#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Codes.h"
#include "State.h"

namespace nwsim {

// A state as read from disk, with the deleted entries indexed by folder so
// that a scan step is a binary search, not a walk over every entry.
struct Snapshot {
  State state;
  std::map<std::string, std::vector<size_t>> entriesByFolder;

  static std::string FolderKey(std::string_view volume, std::string_view folder);
  // Indexes into state.deleted, in deletion (= sequence) order.
  const std::vector<size_t>* EntriesOf(std::string_view volume, std::string_view folder) const;
};

// The server folder: "state" (the server's state as text), "volumes/NAME"
// (each volume's live files), "salvage/SEQUENCE" (a deleted file's
// contents). Readers see whole states only: a writer holds the folder's lock,
// writes a new state file beside the old one and renames it over.
class ServerFolder {
public:
  explicit ServerFolder(std::filesystem::path root);

  const std::filesystem::path& Root() const { return FRoot; }
  bool Exists() const;
  // Makes the folder with the given state; refuses an existing server.
  void Create(const State& initial);

  // The latest state; parsed again only when its generation changed.
  std::shared_ptr<const Snapshot> Current();
  // Applies the change to the latest state and, when it answers true, saves
  // it as the next generation. When the change throws, nothing is saved.
  void Update(const std::function<bool(State&)>& change);

  std::filesystem::path VolumeFolder(std::string_view volume) const;
  std::filesystem::path SalvageFile(uint32_t sequence) const;
  // Gives a deleted file's stored contents the live name `target`, which
  // must still be free: kFileExists when a file has taken it meanwhile (the
  // contents stay stored), kFailure when the contents are gone.
  Code MoveOutOfSalvage(uint32_t sequence, const std::filesystem::path& target) const;
  // The live folder on disk, matching names without regard to case.
  std::optional<std::filesystem::path> LiveFolder(std::string_view volume, std::string_view folder) const;

private:
  std::filesystem::path StatePath() const { return FRoot / "state"; }
  std::shared_ptr<const Snapshot> Load();
  void Save(const State& state);

  // What the state file looked like when the cache was filled: a stat is
  // far cheaper than an open, above all under Wine.
  // The write time in the finest unit the system keeps: two updates in one
  // second may leave a file of the same size behind.
  struct FileStamp {
    int64_t written = 0;
    uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
  };
  std::optional<FileStamp> StampOfStateFile() const;

  std::filesystem::path FRoot;
  std::shared_ptr<const Snapshot> FCache;
  std::optional<FileStamp> FCacheStamp;
};

// A file or folder in the given folder whose name equals the given one
// without regard to case.
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& folder, std::string_view name);

}  // namespace nwsim
