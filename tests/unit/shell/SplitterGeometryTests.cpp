#include <doctest/doctest.h>

#include <climits>
#include <initializer_list>

#include "SplitterGeometry.h"

using namespace retrove;

TEST_CASE("the panes lie on either side of a bar SplitterWidth thick at Position") {
  TSplit split{.Width = 632, .Height = 400, .Position = 195};
  TPaneBoxes boxes = PaneBoxes(split);
  CHECK(boxes.Pane1 == TBox{0, 0, 195, 400});
  CHECK(boxes.Pane2 == TBox{198, 0, 632, 400});

  split.Style = nsstHorizontal;
  split.Position = 100;
  split.SplitterWidth = 5;
  boxes = PaneBoxes(split);
  CHECK(boxes.Pane1 == TBox{0, 0, 632, 100});
  CHECK(boxes.Pane2 == TBox{0, 105, 632, 400});
}

TEST_CASE("the shown bar keeps to the minimum sizes when they fit, else to the window") {
  struct Case {
    int width;
    int position;
    int minSize1;
    int minSize2;
    int shown;
  };
  const Case cases[] = {
      {632, 195, 20, 20, 195},
      {632, -40, 20, 20, 20},
      {632, INT_MIN, 20, 20, 20},
      {632, 5000, 20, 20, 612},
      {632, INT_MAX, 20, 20, 612},
      {632, 10, 0, 20, 10},
      {632, 700, 20, 0, 629},  // a pane 2 minimum below the bar's width still keeps the bar inside
      {632, 300, 400, 300, 300},  // 700 do not fit: anywhere inside
      {30, 195, 20, 20, 27},
      {30, -5, 20, 20, 0},
      {40, 195, 20, 20, 20},
      {2, 195, 20, 20, 0},
      {0, 195, 20, 20, 0},
  };
  for (const Case& c : cases) {
    CAPTURE(c.width);
    CAPTURE(c.position);
    const TSplit split{.Width = c.width, .Height = 50, .Position = c.position, .MinSize1 = c.minSize1,
                       .MinSize2 = c.minSize2};
    CHECK(ShownPosition(split) == c.shown);
  }
}

TEST_CASE("whatever the stored position, the whole bar lies inside a window that can hold it") {
  for (int width : {0, 3, 4, 25, 39, 40, 41, 200, 632}) {
    for (int position : {INT_MIN, -195, -1, 0, 19, 20, 21, 195, 620, 5000, INT_MAX}) {
      CAPTURE(width);
      CAPTURE(position);
      const TSplit split{.Width = width, .Height = 80, .Position = position};
      const TPaneBoxes boxes = PaneBoxes(split);
      CHECK(boxes.Pane1.Right >= 0);
      CHECK(boxes.Pane2.Left <= width);
      if (width >= split.SplitterWidth) CHECK(boxes.Pane2.Left - boxes.Pane1.Right == split.SplitterWidth);
    }
  }
}

TEST_CASE("a drag moves the pointer coordinate so that the bar stops at either pane's minimum size") {
  TSplit split{.Width = 632, .Height = 400, .Position = 195};
  const int offset = 1;  // grabbed one pixel into the bar
  CHECK(ClampDragCoordinate(split, 300, offset) == 300);
  CHECK(ClampDragCoordinate(split, 0, offset) == 21);
  CHECK(ClampDragCoordinate(split, -3000, offset) == 21);
  CHECK(ClampDragCoordinate(split, 900, offset) == 613);

  split.MinSize1 = 50;
  split.MinSize2 = 100;
  CHECK(ClampDragCoordinate(split, 0, offset) == 51);
  CHECK(ClampDragCoordinate(split, 900, offset) == 533);

  split.Style = nsstHorizontal;  // the height is the extent now
  CHECK(ClampDragCoordinate(split, 900, offset) == 301);
}

TEST_CASE("the drag line spans the client area across the split axis") {
  TSplit split{.Width = 632, .Height = 400, .SplitterWidth = 4};
  CHECK(BarBox(split, 195) == TBox{195, 0, 199, 400});
  split.Style = nsstHorizontal;
  CHECK(BarBox(split, 60) == TBox{0, 60, 632, 64});
}

TEST_CASE("each frame style takes its own sides from the client area") {
  const TFrameInsets insets[] = {
      {0, 0, 0, 0},  // nsfsNone
      {2, 2, 2, 2},  // nsfsGroup
      {2, 2, 2, 2},  // nsfsLowered
      {2, 2, 2, 2},  // nsfsRaised
      {1, 1, 1, 1},  // nsfsDint
      {1, 1, 1, 1},  // nsfsBump
      {1, 1, 1, 1},  // nsfsSingle
      {0, 2, 0, 0},  // nsfsHorzLine
      {0, 2, 0, 2},  // nsfsHorzEdge
      {2, 0, 0, 0},  // nsfsVertLine
      {2, 0, 2, 0},  // nsfsVertEdge
  };
  for (int style = nsfsNone; style <= nsfsVertEdge; ++style) {
    CAPTURE(style);
    CHECK(FrameInsets(static_cast<TNsFrameStyle>(style)) == insets[style]);
  }
}
