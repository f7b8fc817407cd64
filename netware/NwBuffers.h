#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace retrove {

// Room for any name the client writes back: up to 256 characters, twice
// that when the client answers in unicode, and the terminator.
inline constexpr size_t kNameOutputBuffer = 2 * (256 + 1);

// Bindery object and server names: 47 characters and the NUL.
inline constexpr size_t kBinderyNameInput = 48;

// Copies `text` with its NUL into a fixed client buffer; false when it does
// not fit or holds a NUL of its own. A name cut to fit could name another
// object, so nothing is ever truncated.
template <size_t N>
bool CopyToBuffer(const std::string& text, char (&buffer)[N]) {
  if (text.size() >= N || text.find('\0') != std::string::npos) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

// The text in a buffer the client wrote: up to the first NUL, or all of it
// when the client left none.
inline std::string BufferText(const char* buffer, size_t size) {
  return std::string(buffer, std::find(buffer, buffer + size, '\0'));
}

template <size_t N>
std::string BufferText(const char (&buffer)[N]) {
  return BufferText(buffer, N);
}

}  // namespace retrove
