#include "FileWrites.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

namespace nwsim {

namespace {

constexpr int kAttempts = 200;
constexpr auto kRetryEvery = std::chrono::milliseconds(5);

// Steps left before the simulated crash; negative: no crash planned.
std::atomic<int64_t> gStepsLeft{-1};

// How many of `wanted` bytes may be written before the crash.
size_t Allowance(size_t wanted) {
  const int64_t left = gStepsLeft.load();
  if (left < 0) return wanted;
  const size_t allowed = std::min<size_t>(wanted, static_cast<size_t>(left));
  gStepsLeft = left - static_cast<int64_t>(allowed);
  return allowed;
}

void Write(std::ofstream& out, const std::filesystem::path& path, std::string_view bytes) {
  const size_t allowed = Allowance(bytes.size());
  out.write(bytes.data(), static_cast<std::streamsize>(allowed));
  out.flush();
  if (!out) throw std::runtime_error("cannot write " + path.string());
  if (allowed < bytes.size()) throw SimulatedCrash();
}

}  // namespace

void RetryWhileBusy(const std::function<void()>& action) {
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

void WriteAnew(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    Write(out, temporary, bytes);
  }
  if (Allowance(1) == 0) throw SimulatedCrash();
  RetryWhileBusy([&] { std::filesystem::rename(temporary, path); });
}

void AppendToFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) throw std::runtime_error("cannot open " + path.string());
  Write(out, path, bytes);
}

void CutWritesAfter(std::optional<uint64_t> steps) { gStepsLeft = steps ? static_cast<int64_t>(*steps) : -1; }

}  // namespace nwsim
