#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Codes.h"
#include "PackedDate.h"
#include "ServerFolder.h"

namespace nwsim {

inline constexpr uint32_t kScanStart = 0xFFFFFFFF;

// A file deleted by the tool: who, when, and the dates the file carried.
struct Deletion {
  std::string volume;
  std::string folder;
  std::string name;
  uint32_t deleter = 0;
  DateTimeParts when = CurrentDateTime();
  std::optional<DateTimeParts> created;
  std::optional<DateTimeParts> updated;
  std::optional<DateTimeParts> accessed;
  uint32_t owner = 0;  // 0: the deleter
};

// The folder's own number, the same for every process that asks.
uint32_t DirectoryBase(std::string_view volume, std::string_view folder);

// The simulated file server's operations on deleted entries. Client calls
// get NetWare result codes; the tool's operations throw std::runtime_error
// with a message a person can act on.
class Server {
public:
  explicit Server(std::filesystem::path root) : FFolder(std::move(root)) {}

  ServerFolder& Folder() { return FFolder; }
  std::shared_ptr<const Snapshot> Current() { return FFolder.Current(); }

  // The folder's first entry after the given sequence (kScanStart: from the
  // beginning), in deletion order.
  std::optional<DeletedEntry> NextDeleted(std::string_view volume, std::string_view folder, uint32_t after);
  static std::optional<DeletedEntry> NextDeleted(const FolderEntries& entries, uint32_t after);
  // Never overwrites: a live file of the new name fails the recovery
  // (kFileExists), as do stored contents that have gone (kFailure).
  Code Recover(std::string_view volume, std::string_view folder, uint32_t sequence, std::string_view deletedName,
               std::string_view newName);
  Code Purge(std::string_view volume, std::string_view folder, uint32_t sequence);
  // Purges the entries in their order in one update; stops at the first
  // that fails (named in `failed`), those before it staying purged.
  Code Purge(std::string_view volume, std::string_view folder, const std::vector<uint32_t>& sequences,
             uint32_t* failed = nullptr);
  // An entry taken away behind the client's back (another user's purge).
  void Vanish(std::string_view volume, std::string_view folder, uint32_t sequence);
  // The same for an entry of any folder: looks through every folder.
  void Vanish(uint32_t sequence);

  void PutFile(std::string_view volume, std::string_view folder, std::string_view name, std::string_view contents);
  DeletedEntry DeleteFile(const Deletion& deletion);
  // Deleted entries without contents (a recovered one gets its size in
  // filler), made in one update.
  void Generate(std::string_view volume, std::string_view folder, uint32_t count, uint32_t deleter,
                const DateTimeParts& start);

private:
  Code RestoreEntry(const DeletedEntry& entry, std::string_view newName);

  ServerFolder FFolder;
};

}  // namespace nwsim
