#include "SplitterGeometry.h"

#include <algorithm>

namespace retrove {

TFrameInsets FrameInsets(TNsFrameStyle style) {
  switch (style) {
    case nsfsGroup:
    case nsfsLowered:
    case nsfsRaised:
      return {2, 2, 2, 2};
    case nsfsDint:
    case nsfsBump:
    case nsfsSingle:
      return {1, 1, 1, 1};
    case nsfsHorzLine:
      return {0, 2, 0, 0};
    case nsfsHorzEdge:
      return {0, 2, 0, 2};
    case nsfsVertLine:
      return {2, 0, 0, 0};
    case nsfsVertEdge:
      return {2, 0, 2, 0};
    case nsfsNone:
      break;
  }
  return {};
}

int TBarRange::Clamp(int position) const {
  return std::min(std::max(position, Low), High);
}

int SplitExtent(const TSplit& split) {
  return split.Style == nsstVertical ? split.Width : split.Height;
}

TBarRange BarRange(const TSplit& split) {
  const int extent = SplitExtent(split);
  const int barWidth = std::max(0, split.SplitterWidth);
  const int before = std::max(0, split.MinSize1);
  // Pane 2's minimum never lets the bar itself leave the window.
  const int after = std::max(split.MinSize2, barWidth);
  if (before + after <= extent) return {before, extent - after};
  return {0, std::max(0, extent - barWidth)};
}

int ShownPosition(const TSplit& split) {
  return BarRange(split).Clamp(split.Position);
}

TPaneBoxes PaneBoxes(const TSplit& split) {
  const int bar = ShownPosition(split);
  const int after = std::min(bar + std::max(0, split.SplitterWidth), SplitExtent(split));
  if (split.Style == nsstVertical) return {{0, 0, bar, split.Height}, {after, 0, split.Width, split.Height}};
  return {{0, 0, split.Width, bar}, {0, after, split.Width, split.Height}};
}

int ClampDragCoordinate(const TSplit& split, int coordinate, int grabOffset) {
  return BarRange(split).Clamp(coordinate - grabOffset) + grabOffset;
}

TBox BarBox(const TSplit& split, int barPosition) {
  const int end = barPosition + std::max(0, split.SplitterWidth);
  if (split.Style == nsstVertical) return {barPosition, 0, end, split.Height};
  return {0, barPosition, split.Width, end};
}

}  // namespace retrove
