#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Api.h"
#include "Server.h"

namespace nwsim {

// The main server's connection and its reference; the other servers'
// connections follow from kOtherConnectionBase in their order.
inline constexpr NWCONN_HANDLE kConnectionHandle = 0x00004E01;
inline constexpr uint32_t kConnectionReference = 0x00004E02;
inline constexpr NWCONN_HANDLE kOtherConnectionBase = 0x00004E10;

// What a connection's server says of itself.
struct ConnectedServer {
  const ServerIdentity* identity = nullptr;
  bool directory = false;  // in the tree (the main server: when there is one)
};
std::optional<ConnectedServer> ServerOfConnection(const State& state, NWCONN_HANDLE conn);
// The connection of the server of that name (any case).
std::optional<NWCONN_HANDLE> ConnectionOfServer(const State& state, std::string_view name);
NWCONN_HANDLE PrimaryConnection(const State& state);
// Counts a connection opened by name, as the server keeps track of them.
void CountOpen(std::string serverName);
// Makes the named server the primary one for every process.
void SetPrimaryServer(const std::string& name);

// The simulated server this module talks to: the folder named by
// NWSIM_ROOT, else "nwsim-server" beside the module. Asked anew on every
// call, so a test may point the modules at a fresh folder.
Server& CurrentServer();

// Runs one entry point's body: an injected failure for the entry point
// wins, and no exception escapes into the caller. The body sees the state
// as it was when the call began (ServerFolder::CallScope), and its own
// changes.
template <class Body>
NWCCODE RunEntryPoint(const char* name, Body body, NWCCODE onException = kFailure);
std::optional<NWCCODE> InjectedFailure(const char* entryPoint);

// How many times this process loaded the unicode tables and has not freed
// them; kept where every module of the process sees it.
int UnicodeTablesLoaded();
void SetUnicodeTablesLoaded(int count);

// kOk when the handle is a connection to one of the servers.
NWCCODE CheckConnection(NWCONN_HANDLE conn);

// A caller's NUL-terminated text of at most maxLength characters; nothing
// for a null pointer or a longer text (never read beyond maxLength + 1).
std::optional<std::string> ReadText(const char* text, size_t maxLength);
// Copies text and its NUL into a buffer of the given capacity; false, with
// nothing written, when it does not fit or the buffer is null.
bool WriteText(char* buffer, size_t capacity, std::string_view text);

// Network byte order (high byte first), as IDs and types travel.
uint32_t WireOrder(uint32_t value);
uint16_t WireOrder16(uint16_t value);

template <class Body>
NWCCODE RunEntryPoint(const char* name, Body body, NWCCODE onException) {
  try {
    // The call answers from one reading of the server's state.
    ServerFolder::CallScope call;
    if (std::optional<NWCCODE> failure = InjectedFailure(name)) return *failure;
    return body();
  } catch (...) {
    return onException;
  }
}

}  // namespace nwsim
