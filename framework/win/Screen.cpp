#include "Screen.h"

#include <windows.h>

namespace retrove {

TScreen Screen;

namespace {

const char* SystemCursor(TCursor cursor) {
  switch (cursor) {
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNS:
    case crVSplit: return IDC_SIZENS;
    case crSizeWE:
    case crHSplit: return IDC_SIZEWE;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHandPoint: return IDC_HAND;
    default: return IDC_ARROW;
  }
}

}  // namespace

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  ::SetCursor(LoadCursorA(nullptr, SystemCursor(cursor)));
}

bool TScreen::ApplyCursor() const {
  if (FCursor == crDefault) return false;
  ::SetCursor(LoadCursorA(nullptr, SystemCursor(FCursor)));
  return true;
}

}  // namespace retrove
