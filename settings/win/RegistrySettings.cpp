#include "RegistrySettings.h"

#include <windows.h>

#include <algorithm>
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

std::wstring WideText(std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(std::max(length, 0)));
  return wide;
}

std::string AnsiText(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, ansi.data(), size, nullptr, nullptr);
  ansi.pop_back();
  return ansi;
}

}  // namespace

TRegistrySettings::TRegistrySettings(std::string_view keyPath) : FKeyPath(WithoutLeadingSeparators(keyPath)) {}

std::string TRegistrySettings::SectionPath(std::string_view section) const {
  section = WithoutLeadingSeparators(section);
  if (section.empty()) return FKeyPath;
  if (FKeyPath.empty()) return std::string(section);
  return FKeyPath + '\\' + std::string(section);
}

// Read as the registry holds it, in UTF-16, so that a missing terminator is
// seen rather than added by the ANSI conversion.
std::optional<std::string> TRegistrySettings::ReadString(std::string_view section, std::string_view name) const {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  const TKeyHandle key(opened);
  const std::wstring valueName = WideText(name);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size < sizeof(wchar_t) || size > kMaxValueBytes)
    return std::nullopt;
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
  if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ || size % sizeof(wchar_t) != 0 || size < sizeof(wchar_t) ||
      data[size / sizeof(wchar_t) - 1] != L'\0')
    return std::nullopt;
  return AnsiText(data.data());
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

void TRegistrySettings::EraseSection(std::string_view section) {
  const std::string path = SectionPath(section);
  const LONG status = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) RaiseRegistryError("Failed to delete key " + path, status);
}

}  // namespace retrove
