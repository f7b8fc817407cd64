#pragma once

#include <windows.h>

#include "SplitterGeometry.h"

namespace retrove {

// Draws the frame of `style` in the system's 3D colours. `frame` holds the
// frame's outermost pixels: its right and bottom are drawn on, not outside.
void DrawNsFrame(HDC dc, const RECT& frame, TNsFrameStyle style);

}  // namespace retrove
