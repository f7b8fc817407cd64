#pragma once

#include "SettingsIO.h"

namespace retrove {

// Settings in the registry below HKEY_CURRENT_USER: the storage's place is a
// key path (a leading "\" is allowed), each section a key below it, each
// value a REG_SZ. Reading never makes a key; only writing does.
class TRegistrySettings : public TSettingsStorage {
public:
  explicit TRegistrySettings(std::string_view keyPath);

  // A value of another type, one without its terminating zero or one longer
  // than any setting reads as missing.
  std::optional<std::string> ReadString(std::string_view section, std::string_view name) const override;
  void WriteString(std::string_view section, std::string_view name, std::string_view value) override;
  void EraseSection(std::string_view section) override;

private:
  std::string SectionPath(std::string_view section) const;

  std::string FKeyPath;
};

}  // namespace retrove
