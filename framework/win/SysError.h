#pragma once

#include <windows.h>

#include <string>

namespace retrove {

// The system's message text for a Win32 error code or an HRESULT, without
// the trailing line break; a code the system has no text for gives
// "System error: 0x...".
std::string SysErrorMessage(DWORD code);

// Raise EOSError with the system's text for `code`.
[[noreturn]] void RaiseOSError(DWORD code);
[[noreturn]] void RaiseLastOSError();

// Raise EOSError for a failing HRESULT; a succeeding one returns it.
HRESULT OleCheck(HRESULT result);

}  // namespace retrove
