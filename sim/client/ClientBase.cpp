#include "ClientBase.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <memory>
#include <mutex>

#include "Text.h"

namespace nwsim {

namespace {

std::string ModuleFolder() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ModuleFolder), &module);
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? "." : folder.substr(0, slash);
}

std::string ServerRoot() {
  char root[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("NWSIM_ROOT", root, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return root;
  return ModuleFolder() + "\\nwsim-server";
}

}  // namespace

Server& CurrentServer() {
  static std::mutex guard;
  static std::unique_ptr<Server> server;
  static std::string serverRoot;
  std::lock_guard<std::mutex> lock(guard);
  std::string root = ServerRoot();
  if (!server || root != serverRoot) {
    server = std::make_unique<Server>(root);
    serverRoot = root;
  }
  return *server;
}

std::optional<NWCCODE> InjectedFailure(const char* entryPoint) {
  std::shared_ptr<const Snapshot> snapshot = CurrentServer().Current();
  const auto& failing = snapshot->state.faults.failingCalls;
  auto it = failing.find(entryPoint);
  if (it == failing.end()) return std::nullopt;
  return it->second;
}

// The modules are separate libraries with their own variables; the
// process's environment is what they share.
constexpr const char* kUnicodeTablesVariable = "NWSIM_UNICODE_TABLES";

int UnicodeTablesLoaded() {
  char count[16] = {};
  const DWORD length = GetEnvironmentVariableA(kUnicodeTablesVariable, count, sizeof count);
  return length > 0 && length < sizeof count ? std::atoi(count) : 0;
}

void SetUnicodeTablesLoaded(int count) {
  SetEnvironmentVariableA(kUnicodeTablesVariable, count > 0 ? std::to_string(count).c_str() : nullptr);
}

std::optional<ConnectedServer> ServerOfConnection(const State& state, NWCONN_HANDLE conn) {
  if (conn == kConnectionHandle) return ConnectedServer{&state.server, !state.treeName.empty()};
  if (conn < kOtherConnectionBase || conn - kOtherConnectionBase >= state.otherServers.size()) return std::nullopt;
  const OtherServer& other = state.otherServers[conn - kOtherConnectionBase];
  return ConnectedServer{&other.identity, other.directory && !state.treeName.empty()};
}

std::optional<NWCONN_HANDLE> ConnectionOfServer(const State& state, std::string_view name) {
  if (EqualNoCase(name, state.server.name)) return kConnectionHandle;
  for (size_t i = 0; i < state.otherServers.size(); ++i)
    if (EqualNoCase(name, state.otherServers[i].identity.name)) return kOtherConnectionBase + NWCONN_HANDLE(i);
  return std::nullopt;
}

NWCONN_HANDLE PrimaryConnection(const State& state) {
  return ConnectionOfServer(state, state.primaryServer).value_or(kConnectionHandle);
}

void CountOpen(std::string serverName) {
  CurrentServer().Folder().Update([&](State& state) {
    ++state.connectionOpens[serverName];
    return true;
  });
}

void SetPrimaryServer(const std::string& name) {
  CurrentServer().Folder().Update([&](State& state) {
    const std::string primary = EqualNoCase(name, state.server.name) ? std::string() : UpperCase(name);
    if (state.primaryServer == primary) return false;
    state.primaryServer = primary;
    return true;
  });
}

NWCCODE CheckConnection(NWCONN_HANDLE conn) {
  // The server itself answered already: every entry point asks it for
  // injected failures first.
  return ServerOfConnection(CurrentServer().Current()->state, conn) ? kOk : kInvalidConnection;
}

std::optional<std::string> ReadText(const char* text, size_t maxLength) {
  if (!text) return std::nullopt;
  size_t length = strnlen(text, maxLength + 1);
  if (length > maxLength) return std::nullopt;
  return std::string(text, length);
}

bool WriteText(char* buffer, size_t capacity, std::string_view text) {
  if (!buffer || text.size() + 1 > capacity) return false;
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

uint32_t WireOrder(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

uint16_t WireOrder16(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }

}  // namespace nwsim
