#include "Arguments.h"

#include <algorithm>
#include <charconv>

#include "Text.h"

namespace nwsim {

std::optional<std::string> Arguments::Option(const std::string& name) {
  auto it = std::find(FArgs.begin(), FArgs.end(), name);
  if (it == FArgs.end()) return std::nullopt;
  if (it + 1 == FArgs.end()) throw UsageError(name + " needs a value");
  std::string value = *(it + 1);
  FArgs.erase(it, it + 2);
  return value;
}

bool Arguments::Flag(const std::string& name) {
  auto it = std::find(FArgs.begin(), FArgs.end(), name);
  if (it == FArgs.end()) return false;
  FArgs.erase(it);
  return true;
}

std::string Arguments::Positional(const char* what) {
  auto it = std::find_if(FArgs.begin(), FArgs.end(), [](const std::string& a) { return a.rfind("--", 0) != 0; });
  if (it == FArgs.end()) throw UsageError(std::string("missing ") + what);
  std::string value = *it;
  FArgs.erase(it);
  return value;
}

void Arguments::Finish() const {
  if (!FArgs.empty()) throw UsageError("unexpected argument '" + FArgs.front() + "'");
}

VolumePath ParseVolumePath(const std::string& text) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon > 15)
    throw UsageError("'" + text + "' is not VOLUME:FOLDER");
  VolumePath path{UpperCase(text.substr(0, colon)), NormalizeFolder(text.substr(colon + 1))};
  if (path.folder.size() > 200) throw UsageError("folder path too long: " + text);
  return path;
}

VolumePath ParseFilePath(const std::string& text, std::string& name) {
  size_t start = text.find_last_of("/\\:");
  name = start == std::string::npos ? "" : text.substr(start + 1);
  if (!IsValidEntryName(name)) throw UsageError("'" + text + "' does not name a file on a volume");
  return ParseVolumePath(text.substr(0, start + 1));
}

uint32_t ParseNumber(const std::string& text, const char* what, uint32_t max) {
  uint64_t value = 0;
  int base = text.rfind("0x", 0) == 0 ? 16 : 10;
  const char* begin = text.data() + (base == 16 ? 2 : 0);
  const char* end = text.data() + text.size();
  auto [stop, ec] = std::from_chars(begin, end, value, base);
  if (ec != std::errc() || stop != end || begin == end || value > max)
    throw UsageError(std::string("bad ") + what + " '" + text + "'");
  return static_cast<uint32_t>(value);
}

DateTimeParts ParseWhen(const std::string& text) {
  std::optional<DateTimeParts> when = ParseDateTime(text);
  if (!when) throw UsageError("bad date '" + text + "' (YYYY-MM-DD[ HH:MM[:SS]], 1980-2107)");
  return *when;
}

}  // namespace nwsim
