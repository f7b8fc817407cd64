// The splitter's drag: the pointer moves an inverted line over the panes,
// and the bar goes where the line was let go.

#include <windowsx.h>

#include "UNsSplitter.h"

namespace retrove {

namespace {

// An 8 x 8 checkerboard: the pixels whose column and row differ in parity
// take the text colour (white) and are inverted; the others stay.
TBrushHandle MakeCheckerBrush() {
  static constexpr WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  TBitmapHandle pattern(CreateBitmap(8, 8, 1, 1, kRows));
  return TBrushHandle(CreatePatternBrush(pattern.Get()));
}

// Made once, kept for the life of the process.
HBRUSH DragLineBrush() {
  static const TBrushHandle brush = MakeCheckerBrush();
  return brush.Get();
}

}  // namespace

int TNsSplitter::AxisCoordinate(LPARAM lParam) const {
  return FStyle == nsstVertical ? GET_X_LPARAM(lParam) : GET_Y_LPARAM(lParam);
}

// Only the left button drags; any button pressed during a drag ends it.
void TNsSplitter::MouseDown(bool leftButton, LPARAM lParam) {
  if (FDragging) {
    EndDrag();
    return;
  }
  if (!leftButton || !FPanes[0]) return;
  SetCapture(Hwnd());
  BeginDrag(AxisCoordinate(lParam));
}

void TNsSplitter::BeginDrag(int coordinate) {
  const TNsPane& pane1 = *FPanes[0];
  const int paneEdge = FStyle == nsstVertical ? pane1.Left() + pane1.Width() : pane1.Top() + pane1.Height();
  FGrabOffset = coordinate - paneEdge;
  FCoordinate = ClampDragCoordinate(Measures(), coordinate, FGrabOffset);
  DrawDragLine();
  FDragging = true;
  if (OnSplitterDrag) OnSplitterDrag(*this, FCoordinate);
}

void TNsSplitter::MoveDrag(int coordinate) {
  const int next = ClampDragCoordinate(Measures(), coordinate, FGrabOffset);
  if (next == FCoordinate) return;
  DrawDragLine();
  FCoordinate = next;
  DrawDragLine();
  if (OnSplitterDrag) OnSplitterDrag(*this, FCoordinate);
}

void TNsSplitter::DropDrag(int coordinate) {
  MoveDrag(coordinate);
  EndDrag();
  FPosition = FCoordinate - FGrabOffset;
  if (OnSplitterDrop) OnSplitterDrop(*this, FPosition);
  LayoutPanes();
}

// Releasing the capture sends WM_CAPTURECHANGED, which comes back here: the
// flag goes first, so that the line is taken away once.
void TNsSplitter::EndDrag() {
  if (!FDragging) return;
  FDragging = false;
  DrawDragLine();
  if (GetCapture() == Hwnd()) ReleaseCapture();
}

// Drawing the line a second time at the same place takes it away again.
void TNsSplitter::DrawDragLine() {
  // The parent's clipping lets the line run over the panes.
  const TWindowDc dc(Hwnd(), DCX_LOCKWINDOWUPDATE | DCX_PARENTCLIP);
  if (!dc.Get()) return;
  const TBox box = BarBox(Measures(), FCoordinate - FGrabOffset);
  SetTextColor(dc.Get(), RGB(255, 255, 255));
  SetBkColor(dc.Get(), RGB(0, 0, 0));
  SetBkMode(dc.Get(), OPAQUE);
  SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
  HGDIOBJ previous = SelectObject(dc.Get(), DragLineBrush());
  PatBlt(dc.Get(), box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top, PATINVERT);
  SelectObject(dc.Get(), previous);
}

}  // namespace retrove
