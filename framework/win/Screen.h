#pragma once

namespace retrove {

// Cursor shapes; crDefault lets each window show its own.
enum TCursor {
  crDefault = 0,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNS = -7,
  crSizeWE = -9,
  crHourGlass = -11,
  crNo = -12,
  crHSplit = -14,
  crVSplit = -15,
  crAppStart = -19,
  crHandPoint = -21,
};

// The screen cursor: any value but crDefault is shown over every window of
// the program until it is set back.
class TScreen {
public:
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  // Shows the screen cursor in answer to WM_SETCURSOR; false for crDefault.
  bool ApplyCursor() const;

private:
  TCursor FCursor = crDefault;
};

extern TScreen Screen;

// Sets the screen cursor for a scope and puts back the one it found.
class TCursorGuard {
public:
  explicit TCursorGuard(TCursor cursor) : FPrevious(Screen.Cursor()) { Screen.SetCursor(cursor); }
  ~TCursorGuard() { Screen.SetCursor(FPrevious); }
  TCursorGuard(const TCursorGuard&) = delete;
  TCursorGuard& operator=(const TCursorGuard&) = delete;

private:
  TCursor FPrevious;
};

}  // namespace retrove
