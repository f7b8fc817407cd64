#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Api.h"
#include "Server.h"

namespace nwsim {

// The one connection every module hands out, and its reference.
inline constexpr NWCONN_HANDLE kConnectionHandle = 0x00004E01;
inline constexpr uint32_t kConnectionReference = 0x00004E02;

// The simulated server this module talks to: the folder named by
// NWSIM_ROOT, else "nwsim-server" beside the module. Asked anew on every
// call, so a test may point the modules at a fresh folder.
Server& CurrentServer();

// Runs one entry point's body: an injected failure for the entry point
// wins, and no exception escapes into the caller.
template <class Body>
NWCCODE RunEntryPoint(const char* name, Body body, NWCCODE onException = kFailure);
std::optional<NWCCODE> InjectedFailure(const char* entryPoint);

// How many times this process loaded the unicode tables and has not freed
// them; kept where every module of the process sees it.
int UnicodeTablesLoaded();
void SetUnicodeTablesLoaded(int count);

// kOk when the handle is the server's connection.
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
    if (std::optional<NWCCODE> failure = InjectedFailure(name)) return *failure;
    return body();
  } catch (...) {
    return onException;
  }
}

}  // namespace nwsim
