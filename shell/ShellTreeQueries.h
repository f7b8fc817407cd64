#pragma once

// What the folder tree asks the shell of a folder's items, shared by the
// fill and the resync.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "UNsShellUtils.h"

namespace retrove {

// Hidden items are shown dimmed, like cut ones.
inline constexpr ULONG kHiddenBit = 0x00080000;
inline constexpr ULONG kSubfoldersAndFolder = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
inline constexpr DWORD kFillFlags = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;

// Whether the folder takes two of its items for the same one.
inline bool SameItem(IShellFolder* folder, const std::uint8_t* first, const std::uint8_t* second) {
  const HRESULT status = folder->CompareIDs(0, AsItemIdList(first), AsItemIdList(second));
  return SUCCEEDED(status) && HRESULT_CODE(status) == 0;
}

}  // namespace retrove
