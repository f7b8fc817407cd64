#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The SDK's types and calling convention, shared with the modules; the
// modules themselves are only ever loaded by name.
#include "Api.h"

// The folder of the modules and of nwsim.exe, from NWSIM_MODULES.
std::string ModulesFolder();
// Loads a module from ModulesFolder(); fails the test when it cannot.
HMODULE LoadClientModule(const char* fileName);

template <class Fn>
Fn EntryPoint(const char* moduleName, const char* name) {
  FARPROC address = GetProcAddress(LoadClientModule(moduleName), name);
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}

// A server folder of its own, made by the Windows nwsim tool and named to
// the modules through NWSIM_ROOT; removed at the end.
class ServerFixture {
public:
  // Runs "nwsim demo" unless told to start from an empty server.
  explicit ServerFixture(bool demo = true);
  ~ServerFixture();
  ServerFixture(const ServerFixture&) = delete;
  ServerFixture& operator=(const ServerFixture&) = delete;

  const std::string& Root() const { return FRoot; }
  // nwsim's exit code for the given arguments on this server.
  int Nwsim(const std::string& arguments) const;

private:
  std::string FRoot;
};
