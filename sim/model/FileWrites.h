#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace nwsim {

// Another process may be renaming a file over this one at this very moment;
// on Windows that shows as a short sharing violation, so file system errors
// are tried again for a while before they count.
void RetryWhileBusy(const std::function<void()>& action);

// Writes `bytes` to PATH.new and renames it over `path`: a reader sees the
// old file or the new one, never a mix.
void WriteAnew(const std::filesystem::path& path, std::string_view bytes);
// Appends `bytes` at the end of the existing file `path`.
void AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// Test seam: a process that dies in the middle of an update. After
// CutWritesAfter(n) the two functions above write n more bytes in all (a
// rename counts as one) and then throw SimulatedCrash instead of going on;
// nothing undoes what was written. CutWritesAfter(nullopt) ends it.
class SimulatedCrash : public std::runtime_error {
public:
  SimulatedCrash() : std::runtime_error("simulated crash while writing") {}
};
void CutWritesAfter(std::optional<uint64_t> steps);

}  // namespace nwsim
