#include "RecoveryName.h"

#include <string_view>

namespace retrove {

namespace {

constexpr int kLastCandidate = 9'999'999;
constexpr size_t kBaseWidth = 8;

constexpr std::string_view kNotInAName = "<>:\"/\\|?*";

}  // namespace

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || kNotInAName.find(c) != std::string_view::npos) return false;
  return true;
}

std::string DerivedName(const std::string& name, int k) {
  const size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  const std::string base = name.substr(0, name.size() - ext.size());
  const std::string number = std::to_string(k);
  const size_t keep = number.size() < kBaseWidth ? kBaseWidth - number.size() : 0;
  return base.substr(0, keep) + "~" + number + ext;
}

std::optional<std::string> RecoveryName(const std::string& name,
                                        const std::function<bool(const std::string&)>& exists) {
  if (!IsPlainFileName(name)) return std::nullopt;
  if (!exists(name)) return name;
  for (int k = 1; k <= kLastCandidate; ++k) {
    std::string candidate = DerivedName(name, k);
    if (!exists(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace retrove
