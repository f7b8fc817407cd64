#include "Server.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "Text.h"

namespace nwsim {

namespace {

constexpr uint32_t kArchiveAttribute = 0x20;
constexpr uint32_t kReadOnlyAttribute = 0x01;

void WriteFile(const std::filesystem::path& path, std::string_view contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void CheckName(std::string_view name) {
  if (!IsValidEntryName(name)) throw std::runtime_error("not a valid file name: '" + std::string(name) + "'");
}

std::filesystem::path RequireLiveFolder(const ServerFolder& folder, std::string_view volume,
                                        std::string_view path) {
  std::optional<std::filesystem::path> live = folder.LiveFolder(volume, path);
  if (!live) throw std::runtime_error("no folder " + std::string(volume) + ":" + std::string(path));
  return *live;
}

}  // namespace

uint32_t DirectoryBase(std::string_view volume, std::string_view folder) { return FolderHash(volume, folder); }

std::optional<DeletedEntry> Server::NextDeleted(std::string_view volume, std::string_view folder, uint32_t after) {
  return NextDeleted(*FFolder.Deleted(volume, folder), after);
}

std::optional<DeletedEntry> Server::NextDeleted(const FolderEntries& entries, uint32_t after) {
  const DeletedEntry* entry = entries.After(after, after == kScanStart);
  if (!entry) return std::nullopt;
  return *entry;
}

Code Server::Recover(std::string_view volume, std::string_view folder, uint32_t sequence,
                     std::string_view deletedName, std::string_view newName) {
  if (!IsValidEntryName(newName)) return kInvalidPath;
  Code result = kOk;
  FFolder.UpdateFolder(volume, folder, [&](State& state, FolderEdit& edit) {
    const DeletedEntry* entry = edit.Find(sequence);
    if (!entry || !EqualNoCase(entry->name, deletedName)) {
      result = kFailure;
    } else if (!(state.EffectiveRights(volume, folder) & kRightCreate)) {
      result = kNoCreatePrivileges;
    } else {
      result = RestoreEntry(*entry, newName);
      if (result == kOk) edit.Remove(sequence);
    }
    return false;
  });
  return result;
}

Code Server::RestoreEntry(const DeletedEntry& entry, std::string_view newName) {
  std::optional<std::filesystem::path> live = FFolder.LiveFolder(entry.volume, entry.folder);
  if (!live) return kInvalidPath;
  if (FindNoCase(*live, newName)) return kFileExists;
  if (entry.generated) WriteFile(FFolder.SalvageFile(entry.sequence), std::string(entry.size, '.'));
  std::filesystem::path target = *live / std::string(newName);
  if (Code moved = FFolder.MoveOutOfSalvage(entry.sequence, target)) return moved;
  if (entry.attributes & kReadOnlyAttribute)
    std::filesystem::permissions(target, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
  return kOk;
}

Code Server::Purge(std::string_view volume, std::string_view folder, uint32_t sequence) {
  return Purge(volume, folder, std::vector<uint32_t>{sequence});
}

Code Server::Purge(std::string_view volume, std::string_view folder, const std::vector<uint32_t>& sequences,
                   uint32_t* failed) {
  Code result = kOk;
  FFolder.UpdateFolder(volume, folder, [&](State& state, FolderEdit& edit) {
    const bool mayErase = state.EffectiveRights(volume, folder) & kRightErase;
    for (uint32_t sequence : sequences) {
      if (!mayErase || !edit.Find(sequence)) {
        result = mayErase ? kFailure : kNoCreateDeletePrivileges;
        if (failed) *failed = sequence;
        break;
      }
      std::error_code ec;
      std::filesystem::remove(FFolder.SalvageFile(sequence), ec);
      edit.Remove(sequence);
    }
    return false;
  });
  return result;
}

void Server::Vanish(std::string_view volume, std::string_view folder, uint32_t sequence) {
  FFolder.UpdateFolder(volume, folder, [&](State&, FolderEdit& edit) {
    if (!edit.Find(sequence)) return false;
    std::error_code ec;
    std::filesystem::remove(FFolder.SalvageFile(sequence), ec);
    edit.Remove(sequence);
    return false;
  });
}

void Server::Vanish(uint32_t sequence) {
  for (const std::shared_ptr<const FolderEntries>& entries : FFolder.AllDeleted()) {
    if (entries->Find(sequence)) {
      Vanish(entries->volume, entries->folder, sequence);
      return;
    }
  }
}

void Server::PutFile(std::string_view volume, std::string_view folder, std::string_view name,
                     std::string_view contents) {
  CheckName(name);
  FFolder.Update([&](State& state) {
    if (!state.FindVolume(volume)) throw std::runtime_error("no volume " + std::string(volume));
    std::filesystem::path live = FFolder.VolumeFolder(volume);
    std::string_view rest = folder;
    while (!rest.empty()) {
      size_t slash = rest.find('/');
      std::string part(rest.substr(0, slash));
      std::optional<std::filesystem::path> existing = FindNoCase(live, part);
      live = existing ? *existing : live / part;
      std::filesystem::create_directories(live);
      rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    }
    std::optional<std::filesystem::path> existing = FindNoCase(live, name);
    WriteFile(existing ? *existing : live / std::string(name), contents);
    return false;
  });
}

DeletedEntry Server::DeleteFile(const Deletion& d) {
  CheckName(d.name);
  DeletedEntry entry;
  FFolder.UpdateFolder(d.volume, d.folder, [&](State& state, FolderEdit& edit) {
    const Volume* volume = state.FindVolume(d.volume);
    if (!volume) throw std::runtime_error("no volume " + d.volume);
    if (!state.FindObject(d.deleter)) throw std::runtime_error("no bindery object with that ID");
    std::filesystem::path live = RequireLiveFolder(FFolder, d.volume, d.folder);
    std::optional<std::filesystem::path> file = FindNoCase(live, d.name);
    if (!file || !std::filesystem::is_regular_file(*file))
      throw std::runtime_error("no file " + d.name + " in " + d.volume + ":" + d.folder);
    uintmax_t size = std::filesystem::file_size(*file);
    if (size > 0xFFFFFFFFu) throw std::runtime_error("file too large for a NetWare volume");
    entry.sequence = state.nextSequence++;
    entry.volume = volume->name;
    entry.folder = d.folder;
    entry.name = file->filename().string();
    entry.size = static_cast<uint32_t>(size);
    entry.attributes = kArchiveAttribute;
    entry.deleted = PackDateTime(d.when);
    entry.created = PackDateTime(d.created.value_or(d.when));
    entry.updated = PackDateTime(d.updated.value_or(d.when));
    entry.accessed = PackDate(d.accessed.value_or(d.when));
    entry.owner = d.owner ? d.owner : d.deleter;
    entry.updater = entry.owner;
    entry.deleter = d.deleter;
    entry.inheritedRights = kAllRights;
    edit.Add(entry);
    std::filesystem::rename(*file, FFolder.SalvageFile(entry.sequence));
    return true;
  });
  return entry;
}

void Server::Generate(std::string_view volume, std::string_view folder, uint32_t count, uint32_t deleter,
                      const DateTimeParts& start) {
  FFolder.UpdateFolder(volume, folder, [&](State& state, FolderEdit& edit) {
    const Volume* v = state.FindVolume(volume);
    if (!v) throw std::runtime_error("no volume " + std::string(volume));
    if (!state.FindObject(deleter)) throw std::runtime_error("no bindery object with that ID");
    RequireLiveFolder(FFolder, volume, folder);
    edit.Reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      DeletedEntry e;
      e.sequence = state.nextSequence++;
      e.volume = v->name;
      e.folder = std::string(folder);
      char name[16];
      std::snprintf(name, sizeof name, "F%07u.DAT", static_cast<unsigned>(e.sequence % 10000000));
      e.name = name;
      e.size = (e.sequence * 37) % 5000;
      e.attributes = kArchiveAttribute;
      DateTimeParts when = start;
      when.minute = static_cast<int>(i % 60);
      when.second = static_cast<int>(i / 60 % 30) * 2;
      e.created = e.updated = e.deleted = PackDateTime(when);
      e.accessed = PackDate(when);
      e.owner = e.updater = e.deleter = deleter;
      e.inheritedRights = kAllRights;
      e.generated = true;
      edit.Add(std::move(e));
    }
    return count > 0;
  });
}

}  // namespace nwsim
