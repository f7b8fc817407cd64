// The development server's cost per call, and whether it grows with the
// rest of the server: times recovers (and a scan, and purges) in a folder of
// 10,000 deleted entries, first on a small server, then on one that also
// holds a folder of 1,000,000 entries.
//
//   sim_store_bench [--dir DIR] [--entries N] [--calls N] [--big N] [--keep]
//
// Prints a case=sim_recover and a case=sim_purge line per run, and the time
// the big folder took to make; exits 1 when a recover or purge fails, 2 on
// bad arguments.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Server.h"
#include "Tool.h"

using namespace nwsim;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Options {
  std::filesystem::path dir;
  uint32_t entries = 10000;
  uint32_t calls = 1000;
  uint32_t big = 1000000;
  bool keep = false;
};

void Tool(const Options& o, std::vector<std::string> args) {
  args.insert(args.begin(), {"--root", (o.dir / "server").string()});
  std::ostringstream out, err;
  if (RunTool(args, nullptr, out, err) != 0) {
    std::fprintf(stderr, "sim_store_bench: nwsim %s failed: %s", args[2].c_str(), err.str().c_str());
    std::exit(1);
  }
}

std::vector<DeletedEntry> ScanAll(Server& server, const std::string& folder) {
  std::vector<DeletedEntry> entries;
  uint32_t handle = kScanStart;
  while (std::optional<DeletedEntry> e = server.NextDeleted("SYS", folder, handle)) {
    handle = e->sequence;
    entries.push_back(std::move(*e));
  }
  return entries;
}

// A fresh folder of generated entries; scans it and recovers every tenth
// entry, each timed with a server object of its own as a new process has.
bool RecoverRun(const Options& o, const std::string& folder, uint32_t bigFolder) {
  Tool(o, {"put", "SYS:" + folder + "/LIVE.TXT"});
  Tool(o, {"generate", "SYS:" + folder, std::to_string(o.entries)});

  Server scanner(o.dir / "server");
  Clock::time_point start = Clock::now();
  std::vector<DeletedEntry> entries = ScanAll(scanner, folder);
  const double scanMs = MsSince(start);
  if (entries.size() != o.entries) {
    std::fprintf(stderr, "sim_store_bench: %s holds %zu entries, not %u\n", folder.c_str(), entries.size(),
                 o.entries);
    return false;
  }

  Server server(o.dir / "server");
  uint32_t done = 0;
  start = Clock::now();
  for (size_t i = 0; i < entries.size() && done < o.calls; i += 10, ++done) {
    const DeletedEntry& e = entries[i];
    Code code = server.Recover("SYS", folder, e.sequence, e.name, e.name);
    if (code != kOk) {
      std::fprintf(stderr, "sim_store_bench: recover of %s (entry %u) in %s gave 0x%X\n", e.name.c_str(), e.sequence,
                   folder.c_str(), code);
      return false;
    }
  }
  const double recoverMs = MsSince(start);

  // A second process's scan after the recovers: reads only what changed.
  start = Clock::now();
  const size_t left = ScanAll(scanner, folder).size();
  const double rescanMs = MsSince(start);
  if (left != entries.size() - done) {
    std::fprintf(stderr, "sim_store_bench: %zu entries left in %s, not %zu\n", left, folder.c_str(),
                 entries.size() - done);
    return false;
  }
  std::printf("case=sim_recover big_folder=%u entries=%u calls=%u ms_per_call=%.3f scan_us_per_entry=%.2f "
              "rescan_us_per_entry=%.2f\n",
              bigFolder, o.entries, done, recoverMs / (done ? done : 1), scanMs * 1000 / entries.size(),
              rescanMs * 1000 / (left ? left : 1));

  // Purges as many other entries: the store alone, without the live
  // folder's name check and file move of a recovery.
  uint32_t purged = 0;
  start = Clock::now();
  for (size_t i = 5; i < entries.size() && purged < done; i += 10, ++purged) {
    Code code = server.Purge("SYS", folder, entries[i].sequence);
    if (code != kOk) {
      std::fprintf(stderr, "sim_store_bench: purge of entry %u in %s gave 0x%X\n", entries[i].sequence,
                   folder.c_str(), code);
      return false;
    }
  }
  std::printf("case=sim_purge big_folder=%u entries=%u calls=%u ms_per_call=%.3f\n", bigFolder, o.entries, purged,
              MsSince(start) / (purged ? purged : 1));
  std::fflush(stdout);
  return true;
}

std::optional<uint32_t> Number(const char* text) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (!*text || *end || value > 0xFFFFFFFFul) return std::nullopt;
  return static_cast<uint32_t>(value);
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--keep") {
      o.keep = true;
      continue;
    }
    if (i + 1 >= argc) return std::nullopt;
    const char* value = argv[++i];
    std::optional<uint32_t> n = Number(value);
    if (a == "--dir") o.dir = value;
    else if (a == "--entries" && n && *n >= 10) o.entries = *n;
    else if (a == "--calls" && n && *n > 0) o.calls = *n;
    else if (a == "--big" && n && *n <= 1000000) o.big = *n;
    else return std::nullopt;
  }
  if (o.calls > o.entries / 10) o.calls = o.entries / 10;
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<Options> options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: sim_store_bench [--dir DIR] [--entries N] [--calls N] [--big N (at most 1000000)] [--keep]\n");
    return 2;
  }
  Options& o = *options;
  const bool ownDir = o.dir.empty();
  if (ownDir)
    o.dir = std::filesystem::temp_directory_path() /
            ("sim-store-bench-" + std::to_string(Clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(o.dir);
  if (std::filesystem::exists(o.dir / "server")) {
    std::fprintf(stderr, "sim_store_bench: %s already holds a server\n", o.dir.string().c_str());
    return 2;
  }
  Tool(o, {"demo"});

  bool ok = RecoverRun(o, "BENCH0", 0);
  if (ok && o.big > 0) {
    Tool(o, {"put", "SYS:HUGE/LIVE.TXT"});
    Clock::time_point start = Clock::now();
    Tool(o, {"generate", "SYS:HUGE", std::to_string(o.big)});
    std::printf("case=sim_generate entries=%u ms=%.0f\n", o.big, MsSince(start));
    std::fflush(stdout);
    ok = RecoverRun(o, "BENCH1", o.big);
  }

  std::error_code ec;
  if (!o.keep) std::filesystem::remove_all(ownDir ? o.dir : o.dir / "server", ec);
  return ok ? 0 : 1;
}
