#include "ShortCut.h"

namespace retrove {

namespace {

bool KeyDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

std::string KeyName(WORD key) {
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: return {};
  }
}

}  // namespace

TShortCut ShortCutFromKey(WORD virtualKey) {
  TShortCut shortCut = virtualKey & 0xFF;
  if (KeyDown(VK_SHIFT)) shortCut |= scShift;
  if (KeyDown(VK_CONTROL)) shortCut |= scCtrl;
  if (KeyDown(VK_MENU)) shortCut |= scAlt;
  return shortCut;
}

std::string ShortCutToText(TShortCut shortCut) {
  const std::string key = KeyName(shortCut & 0xFF);
  if (key.empty()) return {};
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + key;
}

}  // namespace retrove
