#pragma once

// Where a splitter puts its two panes and its bar, and how much of a framed
// control its frame takes. Portable, so it is tested without a window.

namespace retrove {

enum TNsSplitterStyle { nsstVertical, nsstHorizontal };

enum TNsFrameStyle {
  nsfsNone,
  nsfsGroup,
  nsfsLowered,
  nsfsRaised,
  nsfsDint,
  nsfsBump,
  nsfsSingle,
  nsfsHorzLine,
  nsfsHorzEdge,
  nsfsVertLine,
  nsfsVertEdge,
};

// A rectangle in client coordinates; right and bottom are outside it.
struct TBox {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  bool operator==(const TBox&) const = default;
};

// How much a frame takes from each side of a control's client area.
struct TFrameInsets {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  bool operator==(const TFrameInsets&) const = default;
};

TFrameInsets FrameInsets(TNsFrameStyle style);

// One splitter's measures: its client size, the stored position of the bar
// (pane 1's width or height) and the panes' minimum sizes.
struct TSplit {
  int Width = 0;
  int Height = 0;
  TNsSplitterStyle Style = nsstVertical;
  int Position = 0;
  int SplitterWidth = 3;
  int MinSize1 = 20;
  int MinSize2 = 20;
};

// The bar positions a drag may reach and the layout shows, both ends
// included.
struct TBarRange {
  int Low = 0;
  int High = 0;

  int Clamp(int position) const;
};

// The client extent along the split axis: the width when the panes stand
// side by side, the height when they are stacked.
int SplitExtent(const TSplit& split);

// Between the two minimum sizes when they fit; otherwise anywhere the whole
// bar stays inside the window, so that it can always be reached.
TBarRange BarRange(const TSplit& split);

// Where the bar shows: the stored position brought into BarRange. The
// stored value itself is left alone, so a larger window shows it again.
int ShownPosition(const TSplit& split);

struct TPaneBoxes {
  TBox Pane1;
  TBox Pane2;
};

TPaneBoxes PaneBoxes(const TSplit& split);

// A dragged pointer coordinate along the split axis, moved so that the bar
// it carries (coordinate - grabOffset) stays in BarRange.
int ClampDragCoordinate(const TSplit& split, int coordinate, int grabOffset);

// The bar's rectangle across the whole client area at `barPosition`.
TBox BarBox(const TSplit& split, int barPosition);

}  // namespace retrove
