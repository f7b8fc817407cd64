#pragma once

#include <windows.h>

#include <string>

namespace retrove::test {

// A key below HKEY_CURRENT_USER of this test run alone, deleted with all it
// holds at the end of the test.
class TTestKey {
public:
  TTestKey() : Path("Software\\RetroveTests\\run" + std::to_string(GetCurrentProcessId())) { Delete(); }
  ~TTestKey() { Delete(); }
  TTestKey(const TTestKey&) = delete;
  TTestKey& operator=(const TTestKey&) = delete;

  bool Exists(const std::string& below = "") const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Full(below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  // The bytes as the registry is to hold them: texts in UTF-16.
  void Put(const std::string& below, const wchar_t* name, DWORD type, const void* data, DWORD size) const {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, Full(below).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  void PutText(const std::string& below, const wchar_t* name, const std::wstring& text) const {
    Put(below, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

  std::string Get(const std::string& below, const std::string& name) const {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, Full(below).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
      return "(missing)";
    return text;
  }

  const std::string Path;

private:
  std::string Full(const std::string& below) const { return below.empty() ? Path : Path + "\\" + below; }
  void Delete() const { RegDeleteTreeA(HKEY_CURRENT_USER, Path.c_str()); }
};

}  // namespace retrove::test
