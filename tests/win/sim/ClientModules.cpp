#include "ClientModules.h"

#include <doctest/doctest.h>

#include <filesystem>

std::string ModulesFolder() {
  char folder[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("NWSIM_MODULES", folder, MAX_PATH);
  REQUIRE_MESSAGE((length > 0 && length < MAX_PATH), "NWSIM_MODULES names the stand-in modules' folder");
  std::string result(folder, length);
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

HMODULE LoadClientModule(const char* fileName) {
  SetDllDirectoryA(ModulesFolder().c_str());
  HMODULE module = LoadLibraryA(fileName);
  REQUIRE_MESSAGE(module != nullptr, fileName);
  return module;
}

ServerFixture::ServerFixture(bool demo) {
  static int counter = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  FRoot = std::string(temp) + "nwsim-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + "-" +
          std::to_string(GetTickCount());
  REQUIRE(Nwsim(demo ? "demo" : "create --server FS1") == 0);
  SetEnvironmentVariableA("NWSIM_ROOT", FRoot.c_str());
}

ServerFixture::~ServerFixture() {
  SetEnvironmentVariableA("NWSIM_ROOT", nullptr);
  std::error_code ec;
  std::filesystem::remove_all(FRoot, ec);
}

int ServerFixture::Nwsim(const std::string& arguments) const {
  std::string command = "\"" + ModulesFolder() + "\\nwsim.exe\" --root \"" + FRoot + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    MESSAGE("nwsim.exe did not start, system error " << GetLastError());
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
