#include "SettingsIO.h"

namespace retrove {

namespace {

std::string ValueKey(std::string_view section, std::string_view name) {
  std::string key(section);
  key += '\\';
  key += name;
  return key;
}

}  // namespace

std::optional<std::string> TMemorySettings::ReadString(std::string_view section, std::string_view name) const {
  const auto found = FValues.find(ValueKey(section, name));
  if (found == FValues.end()) return std::nullopt;
  return found->second;
}

void TMemorySettings::WriteString(std::string_view section, std::string_view name, std::string_view value) {
  FValues[ValueKey(section, name)] = std::string(value);
}

void TMemorySettings::EraseSection(std::string_view section) {
  const std::string prefix = std::string(section) + '\\';
  for (auto value = FValues.lower_bound(prefix); value != FValues.end() && value->first.starts_with(prefix);)
    value = FValues.erase(value);
}

}  // namespace retrove
