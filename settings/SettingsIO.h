#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace retrove {

// Where settings are kept: named string values in sections. A section is a
// path of names separated by "\" below the storage's own place.
class TSettingsStorage {
public:
  virtual ~TSettingsStorage() = default;

  // Nothing when the value is missing or cannot be read as a string.
  virtual std::optional<std::string> ReadString(std::string_view section, std::string_view name) const = 0;
  // Makes the section when it is missing; a failure raises an exception.
  virtual void WriteString(std::string_view section, std::string_view name, std::string_view value) = 0;
  // The section with its values and the sections below it; none is fine.
  virtual void EraseSection(std::string_view section) = 0;
};

// Settings held in memory: for tests, and as the record of what was written.
class TMemorySettings : public TSettingsStorage {
public:
  using TValues = std::map<std::string, std::string, std::less<>>;

  std::optional<std::string> ReadString(std::string_view section, std::string_view name) const override;
  void WriteString(std::string_view section, std::string_view name, std::string_view value) override;
  void EraseSection(std::string_view section) override;

  // Every value, keyed "section\name".
  const TValues& Values() const { return FValues; }

private:
  TValues FValues;
};

}  // namespace retrove
