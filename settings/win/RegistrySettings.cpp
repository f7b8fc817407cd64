#include "RegistrySettings.h"

#include <windows.h>

#include <vector>

#include "Exceptions.h"
#include "Handle.h"
#include "SysError.h"

namespace retrove {

namespace {

// No setting of ours comes near this; a longer value is damage.
constexpr DWORD kMaxValueBytes = 64 * 1024;

std::string_view WithoutLeadingSeparators(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  return path;
}

[[noreturn]] void RaiseRegistryError(const std::string& what, LONG status) {
  const auto code = static_cast<DWORD>(status);
  throw EOSError(what + ": " + SysErrorMessage(code), code);
}

}  // namespace

TRegistrySettings::TRegistrySettings(std::string_view keyPath) : FKeyPath(WithoutLeadingSeparators(keyPath)) {}

std::string TRegistrySettings::SectionPath(std::string_view section) const {
  section = WithoutLeadingSeparators(section);
  if (section.empty()) return FKeyPath;
  if (FKeyPath.empty()) return std::string(section);
  return FKeyPath + '\\' + std::string(section);
}

std::optional<std::string> TRegistrySettings::ReadString(std::string_view section, std::string_view name) const {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  const TKeyHandle key(opened);
  const std::string valueName(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size == 0 || size > kMaxValueBytes)
    return std::nullopt;
  std::vector<char> data(size);
  if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ || size == 0 || size > data.size() || data[size - 1] != '\0')
    return std::nullopt;
  return std::string(data.data(), size - 1);
}

void TRegistrySettings::WriteString(std::string_view section, std::string_view name, std::string_view value) {
  const std::string path = SectionPath(section);
  HKEY created = nullptr;
  LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) RaiseRegistryError("Failed to create key " + path, status);
  const TKeyHandle key(created);
  const std::string text(value);
  status = RegSetValueExA(key.Get(), std::string(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  if (status != ERROR_SUCCESS)
    RaiseRegistryError("Failed to set data for '" + std::string(name) + "'", status);
}

}  // namespace retrove
