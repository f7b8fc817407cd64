#include "StoredSettings.h"

#include <windows.h>

#include <doctest/doctest.h>

#include <sstream>

namespace e2e {

namespace {

// What a console program writes to its standard output.
std::string OutputOf(std::string commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  REQUIRE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION info{};
  const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &info);
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  CloseHandle(readEnd);
  REQUIRE_MESSAGE(started, commandLine);
  return output;
}

}  // namespace

// reg lists a value as "    Name    REG_SZ    Data".
std::map<std::string, std::string> StoredSettings() {
  std::istringstream lines(OutputOf(std::string("reg query \"HKEY_CURRENT_USER\\") + kSettingsKey + "\""));
  std::map<std::string, std::string> values;
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    ", 0) != 0) continue;
    std::istringstream words(line);
    std::string name;
    std::string type;
    std::string data;
    words >> name >> type;
    std::getline(words >> std::ws, data);
    values[name] = type + " " + data;
  }
  return values;
}

void ForgetSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Vantorel");
}

void StoreSetting(const char* name, const char* text) {
  HKEY key = nullptr;
  REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
          ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
  RegCloseKey(key);
}

}  // namespace e2e
