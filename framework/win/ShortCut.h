#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace retrove {

// A key with its modifiers: the virtual-key code in the low byte, plus
// scShift, scCtrl and scAlt. 0 is no shortcut.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// The shortcut of a key pressed now, with the modifiers held down.
TShortCut ShortCutFromKey(WORD virtualKey);
// The text a menu shows for a shortcut: "F2", "Ctrl+S", "Shift+Del".
std::string ShortCutToText(TShortCut shortCut);

}  // namespace retrove
