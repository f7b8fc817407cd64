#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Codes.h"
#include "State.h"

namespace nwsim {

// The server-wide state as read from disk.
struct Snapshot {
  State state;
  // A state of format 2 (state.entriesInline): its entries by folder key.
  std::map<std::string, std::shared_ptr<const FolderEntries>> inlineFolders;
};

// A change to one folder's deleted entries, written as one transaction.
class FolderEdit {
public:
  explicit FolderEdit(const FolderEntries& entries) : FEntries(entries) {}

  // The folder as it was before the edit.
  const FolderEntries& Entries() const { return FEntries; }
  // An entry of the folder the edit has not removed.
  const DeletedEntry* Find(uint32_t sequence) const;
  // Its sequence must follow every other in the folder.
  void Add(DeletedEntry entry);
  void Remove(uint32_t sequence);
  void Reserve(size_t added) { FAdded.reserve(FAdded.size() + added); }

  bool Empty() const { return FAdded.empty() && FRemoved.empty(); }
  const std::vector<DeletedEntry>& Added() const { return FAdded; }
  const std::set<uint32_t>& Removed() const { return FRemoved; }

private:
  const FolderEntries& FEntries;
  std::vector<DeletedEntry> FAdded;
  std::set<uint32_t> FRemoved;
};

// The server folder:
//   state              the server-wide state as text (StateText.h)
//   deleted/HASH[-N]   a folder's deleted entries (FolderFile.h), named by
//                      the hash of its folder key; -N after a collision
//   volumes/NAME       each volume's live files
//   salvage/SEQUENCE   a deleted file's contents
// A writer holds the folder's lock (FolderLock). The state file is written
// anew beside the old one and renamed over; a folder's file grows by whole
// transactions, and is written anew and renamed over now and then. Readers
// see whole states only, and read a folder only when they ask for it and
// then only what was appended since they last looked.
class ServerFolder {
public:
  explicit ServerFolder(std::filesystem::path root);

  const std::filesystem::path& Root() const { return FRoot; }
  bool Exists() const;
  // Makes the folder with the given state; refuses an existing server.
  void Create(const State& initial);

  // The latest state; parsed again only when its generation changed.
  std::shared_ptr<const Snapshot> Current();

  // One client call: while a scope lives on a thread, Current() on that
  // thread looks at the state file once and answers from what it read then,
  // and from what the thread writes itself meanwhile, as a server answers a
  // request from one state. Scopes nest; the outermost one counts.
  class CallScope {
  public:
    CallScope();
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

  private:
    friend class ServerFolder;
    bool FOutermost;
    const ServerFolder* FFolder = nullptr;
    std::shared_ptr<const Snapshot> FSnapshot;
  };
  // One folder's deleted entries (none: an empty set), as of the given
  // state or the latest.
  std::shared_ptr<const FolderEntries> Deleted(std::string_view volume, std::string_view folder);
  std::shared_ptr<const FolderEntries> Deleted(const Snapshot& current, std::string_view volume,
                                               std::string_view folder);
  // Every folder that has deleted entries, by folder key. Reads every
  // folder: for the tool and tests, not for a client call.
  std::vector<std::shared_ptr<const FolderEntries>> AllDeleted();

  // Applies the change to the latest state and, when it answers true, saves
  // it as the next generation. When the change throws, nothing is saved.
  void Update(const std::function<bool(State&)>& change);
  // Runs the change on the latest state and one folder's entries, both
  // read anew under the lock. Its edit of the folder is written as one
  // transaction; the state, when the change answers true, is saved before
  // it, so that a sequence taken from the state is never given again, even
  // when the folder's write never happens. When the change throws, nothing
  // is saved.
  void UpdateFolder(std::string_view volume, std::string_view folder,
                    const std::function<bool(State&, FolderEdit&)>& change);

  std::filesystem::path VolumeFolder(std::string_view volume) const;
  std::filesystem::path SalvageFile(uint32_t sequence) const;
  // Gives a deleted file's stored contents the live name `target`, which
  // must still be free: kFileExists when a file has taken it meanwhile (the
  // contents stay stored), kFailure when the contents are gone.
  Code MoveOutOfSalvage(uint32_t sequence, const std::filesystem::path& target) const;
  // The live folder on disk, matching names without regard to case.
  std::optional<std::filesystem::path> LiveFolder(std::string_view volume, std::string_view folder) const;

  // A folder file's name in deleted/ before collisions (the first slot).
  static std::string FolderFileName(std::string_view volume, std::string_view folder);

private:
  // What a file looked like when it was read: a stat is far cheaper than
  // an open, above all under Wine. The write time in the finest unit the
  // system keeps: two updates in one second may leave a file of the same
  // size behind.
  struct FileStamp {
    int64_t written = 0;
    uintmax_t size = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static std::optional<FileStamp> StampOf(const std::filesystem::path& path);

  // One folder's file as this process last read it.
  struct FolderCache {
    std::filesystem::path file;  // empty until the folder's file is found
    uint64_t fileId = 0;
    uint64_t end = 0;      // after the last whole transaction read
    uint64_t baseEnd = 0;  // after the file's first transaction
    bool tornTail = false;
    std::optional<FileStamp> stamp;
    std::shared_ptr<FolderEntries> entries;  // null: to be read in full
  };

  std::filesystem::path StatePath() const { return FRoot / "state"; }
  std::filesystem::path DeletedFolder() const { return FRoot / "deleted"; }
  std::shared_ptr<const Snapshot> LoadState(bool verify);
  void SaveState(const State& state);
  // The state this thread's call scope holds, if it holds this folder's.
  std::shared_ptr<const Snapshot> ScopedState() const;
  // After a write: the new state, also for this thread's call scope.
  void Saved(State state);
  // Writes the inline entries of a format-2 state into folder files, then
  // the state without them: the state file's rename commits the move.
  void MoveEntriesOut(State& state);

  // The folder's file and whether it exists; a missing one is the first
  // free slot. A slot, once taken, keeps its folder.
  std::pair<std::filesystem::path, bool> FindFolderFile(const std::string& key);
  std::string KeyOfFolderFile(const std::filesystem::path& file);
  FolderCache& CacheOf(std::string_view volume, std::string_view folder, bool verify);
  // Brings the cache up to what the file holds. `verify`: also when the
  // file's stamp says it is unchanged.
  void Refresh(FolderCache& cache, std::string_view volume, std::string_view folder, bool verify);
  void WriteEdit(FolderCache& cache, const std::filesystem::path& file, std::string_view volume,
                 std::string_view folder, const FolderEdit& edit);

  std::filesystem::path FRoot;
  std::recursive_mutex FGuard;  // the modules' threads share one ServerFolder
  std::shared_ptr<const Snapshot> FCache;
  std::optional<FileStamp> FCacheStamp;
  std::map<std::string, FolderCache> FFolders;             // by folder key
  std::map<std::filesystem::path, std::string> FSlotKeys;  // a folder file's key
};

// A file or folder in the given folder whose name equals the given one
// without regard to case.
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& folder, std::string_view name);

}  // namespace nwsim
