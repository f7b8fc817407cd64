#pragma once

#include <map>
#include <string>

// The program's stored settings, read and written from outside as an
// administrator would.
namespace e2e {

inline constexpr const char* kSettingsKey = "Software\\Vantorel\\Retrove";

// The values below HKEY_CURRENT_USER\Software\Vantorel\Retrove as
// `reg query` lists them, by name: "NormPos" -> "REG_SZ 266,183,906,663".
std::map<std::string, std::string> StoredSettings();

// Starts from a first run: the program's key and all below it are gone.
void ForgetSettings();
void StoreSetting(const char* name, const char* text);

}  // namespace e2e
