#include "ServerFolder.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "FolderLock.h"
#include "StateText.h"
#include "Text.h"

namespace nwsim {

namespace {

constexpr int kAttempts = 200;
constexpr auto kRetryEvery = std::chrono::milliseconds(5);

std::shared_ptr<Snapshot> IndexSnapshot(State state) {
  auto snapshot = std::make_shared<Snapshot>();
  snapshot->state = std::move(state);
  const std::vector<DeletedEntry>& deleted = snapshot->state.deleted;
  for (size_t i = 0; i < deleted.size(); ++i)
    snapshot->entriesByFolder[Snapshot::FolderKey(deleted[i].volume, deleted[i].folder)].push_back(i);
  return snapshot;
}

// Another process may be renaming a new state over the file at this very
// moment; on Windows that shows as a short sharing violation.
template <class Action>
void WithRetries(Action action) {
  for (int attempt = 1;; ++attempt) {
    try {
      action();
      return;
    } catch (const std::filesystem::filesystem_error&) {
      if (attempt >= kAttempts) throw;
    }
    std::this_thread::sleep_for(kRetryEvery);
  }
}

}  // namespace

std::string Snapshot::FolderKey(std::string_view volume, std::string_view folder) {
  return UpperCase(volume) + ":" + std::string(folder);
}

const std::vector<size_t>* Snapshot::EntriesOf(std::string_view volume, std::string_view folder) const {
  auto it = entriesByFolder.find(FolderKey(volume, folder));
  return it == entriesByFolder.end() ? nullptr : &it->second;
}

ServerFolder::ServerFolder(std::filesystem::path root) : FRoot(std::move(root)) {}

bool ServerFolder::Exists() const { return std::filesystem::exists(StatePath()); }

void ServerFolder::Create(const State& initial) {
  std::filesystem::create_directories(FRoot / "volumes");
  std::filesystem::create_directories(FRoot / "salvage");
  FolderLock lock(FRoot);
  if (Exists()) throw std::runtime_error("a server already exists in " + FRoot.string());
  for (const Volume& v : initial.volumes) std::filesystem::create_directories(VolumeFolder(v.name));
  Save(initial);
}

std::shared_ptr<const Snapshot> ServerFolder::Current() {
  std::shared_ptr<const Snapshot> result;
  WithRetries([&] { result = Load(); });
  return result;
}

#ifdef _WIN32
// The C runtime's file times, which std::filesystem uses here, keep whole
// seconds only.
std::optional<ServerFolder::FileStamp> ServerFolder::StampOfStateFile() const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(StatePath().c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  const auto written = static_cast<int64_t>(uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                            data.ftLastWriteTime.dwLowDateTime);
  return FileStamp{written, uintmax_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow};
}
#else
std::optional<ServerFolder::FileStamp> ServerFolder::StampOfStateFile() const {
  std::error_code timeError, sizeError;
  const auto written = std::filesystem::last_write_time(StatePath(), timeError);
  const uintmax_t size = std::filesystem::file_size(StatePath(), sizeError);
  if (timeError || sizeError) return std::nullopt;
  return FileStamp{written.time_since_epoch().count(), size};
}
#endif

std::shared_ptr<const Snapshot> ServerFolder::Load() {
  std::optional<FileStamp> stamp = StampOfStateFile();
  if (FCache && stamp && stamp == FCacheStamp) return FCache;
  std::ifstream in(StatePath(), std::ios::binary);
  if (!in) {
    if (!std::filesystem::exists(FRoot)) throw std::runtime_error("no server folder at " + FRoot.string());
    throw std::filesystem::filesystem_error("cannot open server state", StatePath(),
                                            std::make_error_code(std::errc::no_such_file_or_directory));
  }
  std::string header;
  std::getline(in, header);
  std::optional<uint64_t> generation = ParseGeneration(header);
  if (!generation) throw FormatError("not a server state file: " + StatePath().string());
  if (!FCache || FCache->state.generation != *generation) {
    std::ostringstream rest;
    rest << header << '\n' << in.rdbuf();
    FCache = IndexSnapshot(ParseState(rest.str()));
  }
  // Taken before reading: a state written meanwhile changes the stamp again.
  FCacheStamp = stamp;
  return FCache;
}

void ServerFolder::Update(const std::function<bool(State&)>& change) {
  FolderLock lock(FRoot);
  State state = Current()->state;
  if (!change(state)) return;
  ++state.generation;
  Save(state);
  FCache = IndexSnapshot(std::move(state));
  FCacheStamp = StampOfStateFile();
}

void ServerFolder::Save(const State& state) {
  std::filesystem::path temporary = FRoot / "state.new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << FormatState(state);
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + temporary.string());
  }
  WithRetries([&] { std::filesystem::rename(temporary, StatePath()); });
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
  for (const auto& item : std::filesystem::directory_iterator(folder, ec))
    if (EqualNoCase(item.path().filename().string(), name)) return item.path();
  return std::nullopt;
}

}  // namespace nwsim
