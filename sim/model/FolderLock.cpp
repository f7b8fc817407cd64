#include "FolderLock.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace nwsim {

namespace {

constexpr auto kStaleAfter = std::chrono::seconds(30);
constexpr auto kGiveUpAfter = std::chrono::seconds(60);
constexpr auto kRetryEvery = std::chrono::milliseconds(1);

bool IsStale(const std::filesystem::path& lock) {
  std::error_code ec;
  auto written = std::filesystem::last_write_time(lock, ec);
  if (ec) return false;
  return std::filesystem::file_time_type::clock::now() - written > kStaleAfter;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& root) : FPath(root / "lock") {
  auto deadline = std::chrono::steady_clock::now() + kGiveUpAfter;
  for (;;) {
    std::error_code ec;
    if (std::filesystem::create_directory(FPath, ec)) return;
    if (ec && !std::filesystem::exists(root)) throw std::runtime_error("no server folder at " + root.string());
    if (IsStale(FPath)) std::filesystem::remove(FPath, ec);
    if (std::chrono::steady_clock::now() > deadline)
      throw std::runtime_error("server folder stays locked: " + FPath.string());
    std::this_thread::sleep_for(kRetryEvery);
  }
}

FolderLock::~FolderLock() {
  std::error_code ec;
  std::filesystem::remove(FPath, ec);
}

}  // namespace nwsim
