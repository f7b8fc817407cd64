#include "SysError.h"

#include <cstdio>

#include "Exceptions.h"
#include "TextCompare.h"

namespace retrove {

std::string SysErrorMessage(DWORD code) {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text;
  if (length && buffer) text = Trim(std::string_view(buffer, length));
  if (buffer) LocalFree(buffer);
  if (text.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "System error: 0x%08lX", static_cast<unsigned long>(code));
    text = fallback;
  }
  return text;
}

void RaiseOSError(DWORD code) {
  throw EOSError(SysErrorMessage(code), code);
}

void RaiseLastOSError() {
  RaiseOSError(GetLastError());
}

HRESULT OleCheck(HRESULT result) {
  if (FAILED(result)) RaiseOSError(static_cast<DWORD>(result));
  return result;
}

}  // namespace retrove
