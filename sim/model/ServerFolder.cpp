#include "ServerFolder.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "FileWrites.h"
#include "FolderFile.h"
#include "FolderLock.h"
#include "StateText.h"
#include "Text.h"

namespace nwsim {

namespace {

// A folder's journal may grow to the size of its base and this much more
// before the folder is written anew: each write stays small, and a reader
// that comes new to the folder reads at most about twice what it holds.
constexpr uint64_t kJournalAllowance = 32 * 1024;

std::shared_ptr<Snapshot> MakeSnapshot(State state) {
  auto snapshot = std::make_shared<Snapshot>();
  snapshot->state = std::move(state);
  std::map<std::string, std::shared_ptr<FolderEntries>> folders;
  for (const DeletedEntry& e : snapshot->state.inlineDeleted) {
    std::shared_ptr<FolderEntries>& folder = folders[FolderKey(e.volume, e.folder)];
    if (!folder) {
      folder = std::make_shared<FolderEntries>();
      folder->volume = UpperCase(e.volume);
      folder->folder = e.folder;
    }
    folder->bySequence.emplace_hint(folder->bySequence.end(), e.sequence, e);
  }
  for (auto& [key, folder] : folders) snapshot->inlineFolders.emplace(key, std::move(folder));
  return snapshot;
}

std::shared_ptr<FolderEntries> NoEntries(std::string_view volume, std::string_view folder) {
  auto entries = std::make_shared<FolderEntries>();
  entries->volume = UpperCase(volume);
  entries->folder = std::string(folder);
  return entries;
}

// Tells a file written anew from the one it replaces, in this process and
// in any other, even when the server folder itself is made anew.
uint64_t NewFileId() {
  static std::atomic<uint64_t> counter{0};
  std::random_device device;
  uint64_t x = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) << 7 ^
               (uint64_t(device()) << 32 | device()) ^ (++counter * 0x9E3779B97F4A7C15ull);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  x ^= x >> 31;
  return x ? x : 1;
}

// The file's bytes from `offset` to its end.
std::string ReadFrom(std::ifstream& in, uint64_t offset) {
  in.clear();
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<uint64_t>(size) < offset) return std::string();
  std::string bytes(static_cast<size_t>(size - static_cast<std::streamoff>(offset)), '\0');
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

// The call scope of this thread; a plain pointer, which each module of the
// client has its own of.
thread_local ServerFolder::CallScope* tCallScope = nullptr;

}  // namespace

ServerFolder::CallScope::CallScope() : FOutermost(tCallScope == nullptr) {
  if (FOutermost) tCallScope = this;
}

ServerFolder::CallScope::~CallScope() {
  if (FOutermost) tCallScope = nullptr;
}

std::shared_ptr<const Snapshot> ServerFolder::ScopedState() const {
  const CallScope* scope = tCallScope;
  return scope && scope->FFolder == this ? scope->FSnapshot : nullptr;
}

void ServerFolder::Saved(State state) {
  FCache = MakeSnapshot(std::move(state));
  FCacheStamp = StampOf(StatePath());
  if (tCallScope && tCallScope->FFolder == this) tCallScope->FSnapshot = FCache;
}

const DeletedEntry* FolderEdit::Find(uint32_t sequence) const {
  return FRemoved.count(sequence) ? nullptr : FEntries.Find(sequence);
}

void FolderEdit::Add(DeletedEntry entry) {
  const uint32_t last = !FAdded.empty()                   ? FAdded.back().sequence
                        : !FEntries.bySequence.empty() ? FEntries.bySequence.rbegin()->first
                                                         : 0;
  if (entry.sequence <= last) throw std::logic_error("deleted entries are added in deletion order");
  FAdded.push_back(std::move(entry));
}

void FolderEdit::Remove(uint32_t sequence) {
  if (!Find(sequence)) throw std::logic_error("no such deleted entry to remove");
  FRemoved.insert(sequence);
}

ServerFolder::ServerFolder(std::filesystem::path root) : FRoot(std::move(root)) {}

bool ServerFolder::Exists() const { return std::filesystem::exists(StatePath()); }

std::string ServerFolder::FolderFileName(std::string_view volume, std::string_view folder) {
  char name[9];
  std::snprintf(name, sizeof name, "%08x", static_cast<unsigned>(FolderHash(volume, folder)));
  return name;
}

void ServerFolder::Create(const State& initial) {
  std::filesystem::create_directories(FRoot / "volumes");
  std::filesystem::create_directories(FRoot / "salvage");
  std::filesystem::create_directories(DeletedFolder());
  std::lock_guard<std::recursive_mutex> guard(FGuard);
  FolderLock lock(FRoot);
  if (Exists()) throw std::runtime_error("a server already exists in " + FRoot.string());
  for (const Volume& v : initial.volumes) std::filesystem::create_directories(VolumeFolder(v.name));
  State state = initial;
  if (!state.inlineDeleted.empty()) {
    state.entriesInline = true;
    MoveEntriesOut(state);
  } else {
    state.entriesInline = false;
    SaveState(state);
  }
}

std::shared_ptr<const Snapshot> ServerFolder::Current() {
  if (std::shared_ptr<const Snapshot> scoped = ScopedState()) return scoped;
  std::lock_guard<std::recursive_mutex> guard(FGuard);
  std::shared_ptr<const Snapshot> result;
  RetryWhileBusy([&] { result = LoadState(false); });
  if (CallScope* scope = tCallScope; scope && !scope->FFolder) {
    scope->FFolder = this;
    scope->FSnapshot = result;
  }
  return result;
}

#ifdef _WIN32
// The C runtime's file times, which std::filesystem uses here, keep whole
// seconds only.
std::optional<ServerFolder::FileStamp> ServerFolder::StampOf(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  const auto written = static_cast<int64_t>(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                            data.ftLastWriteTime.dwLowDateTime);
  return FileStamp{written, uintmax_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow};
}
#else
std::optional<ServerFolder::FileStamp> ServerFolder::StampOf(const std::filesystem::path& path) {
  std::error_code timeError, sizeError;
  const auto written = std::filesystem::last_write_time(path, timeError);
  const uintmax_t size = std::filesystem::file_size(path, sizeError);
  if (timeError || sizeError) return std::nullopt;
  return FileStamp{written.time_since_epoch().count(), size};
}
#endif

std::shared_ptr<const Snapshot> ServerFolder::LoadState(bool verify) {
  std::optional<FileStamp> stamp = StampOf(StatePath());
  if (!verify && FCache && stamp && stamp == FCacheStamp) return FCache;
  std::ifstream in(StatePath(), std::ios::binary);
  if (!in) {
    if (!std::filesystem::exists(FRoot)) throw std::runtime_error("no server folder at " + FRoot.string());
    throw std::filesystem::filesystem_error("cannot open server state", StatePath(),
                                            std::make_error_code(std::errc::no_such_file_or_directory));
  }
  std::string header;
  std::getline(in, header);
  std::optional<StateHeader> parsed = ParseStateHeader(header);
  if (!parsed) throw FormatError("not a server state file: " + StatePath().string());
  if (!FCache || FCache->state.generation != parsed->generation ||
      FCache->state.entriesInline != parsed->entriesInline) {
    std::ostringstream rest;
    rest << header << '\n' << in.rdbuf();
    FCache = MakeSnapshot(ParseState(rest.str()));
  }
  // Taken before reading: a state written meanwhile changes the stamp again.
  FCacheStamp = stamp;
  return FCache;
}

void ServerFolder::SaveState(const State& state) { WriteAnew(StatePath(), FormatState(state)); }

void ServerFolder::MoveEntriesOut(State& state) {
  // Files left by a move that died half way belong to no state: readers of
  // this state read its own entries.
  std::filesystem::remove_all(DeletedFolder());
  std::filesystem::create_directories(DeletedFolder());
  FFolders.clear();
  FSlotKeys.clear();
  const std::shared_ptr<Snapshot> grouped = MakeSnapshot(state);
  for (const auto& [key, entries] : grouped->inlineFolders) {
    TransactionText text;
    text.Reserve(entries->bySequence.size());
    text.Header({NewFileId(), entries->volume, entries->folder});
    for (const auto& [sequence, entry] : entries->bySequence) text.Add(entry);
    text.Commit();
    const std::filesystem::path file = FindFolderFile(key).first;
    WriteAnew(file, text.Text());
    FSlotKeys[file] = key;
  }
  state.inlineDeleted.clear();
  state.entriesInline = false;
  SaveState(state);
}

std::string ServerFolder::KeyOfFolderFile(const std::filesystem::path& file) {
  auto known = FSlotKeys.find(file);
  if (known != FSlotKeys.end()) return known->second;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line))
    throw std::filesystem::filesystem_error("cannot read deleted entries", file,
                                            std::make_error_code(std::errc::io_error));
  std::optional<FolderFileHeader> header = ParseFolderHeader(line);
  if (!header) throw FormatError("not a deleted-entries file: " + file.string());
  return FSlotKeys[file] = FolderKey(header->volume, header->folder);
}

std::pair<std::filesystem::path, bool> ServerFolder::FindFolderFile(const std::string& key) {
  const size_t colon = key.find(':');
  const std::string first = FolderFileName(key.substr(0, colon), key.substr(colon + 1));
  for (unsigned slot = 0;; ++slot) {
    std::filesystem::path file = DeletedFolder() / (slot == 0 ? first : first + "-" + std::to_string(slot));
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return {file, false};
    if (KeyOfFolderFile(file) == key) return {file, true};
  }
}

ServerFolder::FolderCache& ServerFolder::CacheOf(std::string_view volume, std::string_view folder, bool verify) {
  const std::string key = FolderKey(volume, folder);
  FolderCache& cache = FFolders[key];
  if (cache.file.empty()) {
    auto [file, exists] = FindFolderFile(key);
    if (!exists) {
      cache = FolderCache();
      cache.entries = NoEntries(volume, folder);
      return cache;
    }
    cache = FolderCache();
    cache.file = file;
  }
  Refresh(cache, volume, folder, verify);
  return cache;
}

void ServerFolder::Refresh(FolderCache& cache, std::string_view volume, std::string_view folder, bool verify) {
  const std::optional<FileStamp> stamp = StampOf(cache.file);
  if (!verify && cache.entries && stamp && stamp == cache.stamp) return;
  std::ifstream in(cache.file, std::ios::binary);
  if (!in)
    throw std::filesystem::filesystem_error("cannot open deleted entries", cache.file,
                                            std::make_error_code(std::errc::no_such_file_or_directory));
  std::string line;
  std::getline(in, line);
  const std::optional<FolderFileHeader> header = ParseFolderHeader(line);
  if (!header) throw FormatError("not a deleted-entries file: " + cache.file.string());
  if (header->volume != UpperCase(volume) || header->folder != folder) {
    // Another folder's file: the server folder was made anew since this
    // process looked. Looked for again on the next try.
    FSlotKeys.erase(cache.file);
    cache = FolderCache();
    throw std::filesystem::filesystem_error("deleted entries moved", std::make_error_code(std::errc::io_error));
  }
  // The same file, grown by whole transactions and perhaps a torn tail:
  // only what follows the last transaction read.
  const bool sameFile = cache.entries && header->fileId == cache.fileId;
  const std::string bytes = ReadFrom(in, sameFile ? cache.end : 0);
  // Closed before the parse: on Windows a writer cannot rename a new file
  // over one that is open.
  in.close();
  try {
    if (sameFile) {
      if (cache.entries.use_count() > 1) cache.entries = std::make_shared<FolderEntries>(*cache.entries);
      const JournalRead read = ApplyTransactions(bytes, cache.end, *cache.entries);
      cache.end = read.end;
      cache.tornTail = read.tornTail;
    } else {
      std::shared_ptr<FolderEntries> entries = NoEntries(volume, folder);
      const JournalRead read = ApplyTransactions(bytes, 0, *entries);
      cache.entries = std::move(entries);
      cache.fileId = header->fileId;
      cache.end = read.end;
      cache.baseEnd = read.firstEnd;
      cache.tornTail = read.tornTail;
    }
  } catch (...) {
    cache = FolderCache();
    throw;
  }
  // Taken before reading: a transaction appended meanwhile changes it again.
  cache.stamp = stamp;
}

std::shared_ptr<const FolderEntries> ServerFolder::Deleted(std::string_view volume, std::string_view folder) {
  return Deleted(*Current(), volume, folder);
}

std::shared_ptr<const FolderEntries> ServerFolder::Deleted(const Snapshot& current, std::string_view volume,
                                                           std::string_view folder) {
  if (current.state.entriesInline) {
    auto it = current.inlineFolders.find(FolderKey(volume, folder));
    return it != current.inlineFolders.end() ? it->second : NoEntries(volume, folder);
  }
  std::lock_guard<std::recursive_mutex> guard(FGuard);
  std::shared_ptr<const FolderEntries> result;
  RetryWhileBusy([&] { result = CacheOf(volume, folder, false).entries; });
  return result;
}

std::vector<std::shared_ptr<const FolderEntries>> ServerFolder::AllDeleted() {
  std::shared_ptr<const Snapshot> current = Current();
  std::vector<std::shared_ptr<const FolderEntries>> result;
  if (current->state.entriesInline) {
    for (const auto& [key, entries] : current->inlineFolders) result.push_back(entries);
    return result;
  }
  std::lock_guard<std::recursive_mutex> guard(FGuard);
  std::vector<std::string> keys;
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(DeletedFolder(), ec)) {
    if (item.path().extension() == ".new") continue;
    std::string key;
    RetryWhileBusy([&] { key = KeyOfFolderFile(item.path()); });
    keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  for (const std::string& key : keys) {
    const size_t colon = key.find(':');
    std::shared_ptr<const FolderEntries> entries = Deleted(*current, key.substr(0, colon), key.substr(colon + 1));
    if (!entries->bySequence.empty()) result.push_back(std::move(entries));
  }
  return result;
}

void ServerFolder::Update(const std::function<bool(State&)>& change) {
  std::lock_guard<std::recursive_mutex> guard(FGuard);
  FolderLock lock(FRoot);
  std::shared_ptr<const Snapshot> snapshot;
  RetryWhileBusy([&] { snapshot = LoadState(true); });
  State state = snapshot->state;
  if (!change(state)) return;
  ++state.generation;
  if (state.entriesInline) MoveEntriesOut(state);
  else SaveState(state);
  Saved(std::move(state));
}

void ServerFolder::UpdateFolder(std::string_view volume, std::string_view folder,
                                const std::function<bool(State&, FolderEdit&)>& change) {
  std::lock_guard<std::recursive_mutex> guard(FGuard);
  FolderLock lock(FRoot);
  std::shared_ptr<const Snapshot> snapshot;
  RetryWhileBusy([&] { snapshot = LoadState(true); });
  State state = snapshot->state;
  const bool entriesInline = state.entriesInline;
  std::shared_ptr<const FolderEntries> before;
  FolderCache* cache = nullptr;
  if (entriesInline) {
    before = Deleted(*snapshot, volume, folder);
  } else {
    RetryWhileBusy([&] { cache = &CacheOf(volume, folder, true); });
  }
  FolderEdit edit(entriesInline ? *before : *cache->entries);
  const bool stateChanged = change(state, edit);
  if (!stateChanged && edit.Empty()) return;
  if (stateChanged || entriesInline) {
    ++state.generation;
    if (entriesInline) MoveEntriesOut(state);
    else SaveState(state);
    Saved(std::move(state));
  }
  if (edit.Empty()) return;
  if (entriesInline) RetryWhileBusy([&] { cache = &CacheOf(volume, folder, true); });
  // A folder without a file yet gets the first free slot.
  const std::filesystem::path file =
      cache->file.empty() ? FindFolderFile(FolderKey(volume, folder)).first : cache->file;
  WriteEdit(*cache, file, volume, folder, edit);
}

void ServerFolder::WriteEdit(FolderCache& cache, const std::filesystem::path& file, std::string_view volume,
                             std::string_view folder, const FolderEdit& edit) {
  if (!cache.file.empty() && !cache.tornTail) {
    TransactionText text;
    text.Reserve(edit.Added().size());
    for (uint32_t sequence : edit.Removed()) text.Remove(sequence);
    for (const DeletedEntry& entry : edit.Added()) text.Add(entry);
    text.Commit();
    const uint64_t journal = cache.end - cache.baseEnd + text.Text().size();
    if (journal <= std::max(cache.baseEnd, kJournalAllowance)) {
      AppendToFile(file, text.Text());
      if (cache.entries.use_count() > 1) cache.entries = std::make_shared<FolderEntries>(*cache.entries);
      std::map<uint32_t, DeletedEntry>& entries = cache.entries->bySequence;
      for (uint32_t sequence : edit.Removed()) entries.erase(sequence);
      for (const DeletedEntry& entry : edit.Added()) entries.emplace_hint(entries.end(), entry.sequence, entry);
      cache.end += text.Text().size();
      cache.stamp = StampOf(file);
      return;
    }
  }
  // Written anew: a folder's first file, a torn tail to leave behind, or a
  // journal grown past its allowance.
  TransactionText text;
  text.Reserve(cache.entries->bySequence.size() + edit.Added().size());
  text.Header({NewFileId(), UpperCase(volume), std::string(folder)});
  for (const auto& [sequence, entry] : cache.entries->bySequence)
    if (!edit.Removed().count(sequence)) text.Add(entry);
  for (const DeletedEntry& entry : edit.Added()) text.Add(entry);
  text.Commit();
  WriteAnew(file, text.Text());
  FSlotKeys[file] = FolderKey(volume, folder);
  // Read again in full when next asked: as cheap as keeping it up to date
  // here once in so many writes, and no copy of a large folder is kept.
  cache = FolderCache();
  cache.file = file;
}

std::filesystem::path ServerFolder::VolumeFolder(std::string_view volume) const {
  return FRoot / "volumes" / UpperCase(volume);
}

std::filesystem::path ServerFolder::SalvageFile(uint32_t sequence) const {
  return FRoot / "salvage" / std::to_string(sequence);
}

Code ServerFolder::MoveOutOfSalvage(uint32_t sequence, const std::filesystem::path& target) const {
  const std::filesystem::path contents = SalvageFile(sequence);
  // A rename would replace a file that took the name after the caller
  // looked; making a second name for the contents fails instead, as a
  // server's own recovery does.
  std::error_code ec;
  std::filesystem::create_hard_link(contents, target, ec);
  if (ec) {
    if (std::filesystem::exists(target)) return kFileExists;
    if (!std::filesystem::exists(contents)) return kFailure;
    throw std::filesystem::filesystem_error("cannot recover", contents, target, ec);
  }
  // The contents are back; a name left behind in the salvage area belongs
  // to no entry and harms nothing.
  std::filesystem::remove(contents, ec);
  return kOk;
}

std::optional<std::filesystem::path> ServerFolder::LiveFolder(std::string_view volume,
                                                              std::string_view folder) const {
  std::filesystem::path path = VolumeFolder(volume);
  if (!std::filesystem::is_directory(path)) return std::nullopt;
  std::string_view rest = folder;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::optional<std::filesystem::path> next = FindNoCase(path, rest.substr(0, slash));
    if (!next || !std::filesystem::is_directory(*next)) return std::nullopt;
    path = *next;
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
  }
  return path;
}

std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& folder, std::string_view name) {
  std::error_code ec;
  std::filesystem::path exact = folder / std::string(name);
  if (std::filesystem::exists(exact, ec)) return exact;
#ifdef _WIN32
  // Windows, and Wine with it, already matched the name without regard to
  // case: no other name can match.
  return std::nullopt;
#else
  for (const auto& item : std::filesystem::directory_iterator(folder, ec))
    if (EqualNoCase(item.path().filename().string(), name)) return item.path();
  return std::nullopt;
#endif
}

}  // namespace nwsim
