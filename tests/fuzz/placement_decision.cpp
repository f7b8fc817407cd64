// A stored window rectangle may be anything 32 bits hold, and the monitors
// may have changed since it was written; the window must still come back on
// one of them, no larger than it was.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

#include "FuzzCheck.h"
#include "PlacementText.h"

using namespace retrove;
using retrove::fuzz::Require;

namespace {

constexpr std::size_t kRectBytes = 4 * sizeof(int32_t);
constexpr std::size_t kMostWorkAreas = 4;

int64_t EdgeAt(const std::uint8_t* at) {
  const uint32_t bits = at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
  return static_cast<int32_t>(bits);
}

TScreenRect RectAt(const std::uint8_t* at) {
  return {EdgeAt(at), EdgeAt(at + 4), EdgeAt(at + 8), EdgeAt(at + 12)};
}

bool Overlap(const TScreenRect& a, const TScreenRect& b) {
  return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) && std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

bool OnAnyArea(const TScreenRect& rect, const std::vector<TScreenRect>& areas) {
  return std::any_of(areas.begin(), areas.end(), [&](const TScreenRect& area) { return Overlap(rect, area); });
}

bool Within(const TScreenRect& inner, const TScreenRect& outer) {
  return inner.Left >= outer.Left && inner.Right <= outer.Right && inner.Top >= outer.Top &&
         inner.Bottom <= outer.Bottom;
}

// Steps needed along both axes to reach the area; 0 when they overlap.
int64_t Distance(const TScreenRect& rect, const TScreenRect& area) {
  const int64_t dx = std::max({int64_t{0}, area.Left - rect.Right, rect.Left - area.Right});
  const int64_t dy = std::max({int64_t{0}, area.Top - rect.Bottom, rect.Top - area.Bottom});
  return dx + dy;
}

bool SpanWithin(int64_t low, int64_t high, int64_t areaLow, int64_t areaHigh) {
  return low >= areaLow && high <= areaHigh;
}

// The rectangle went to an area nearest to it, keeping what fits of its size
// and each axis along which it already lay inside that area.
bool MovedOnto(const TScreenRect& placed, const TScreenRect& stored, const TScreenRect& area, int64_t nearest) {
  if (!Within(placed, area) || Distance(stored, area) != nearest) return false;
  if (placed.Width() != std::min(stored.Width(), area.Width())) return false;
  if (placed.Height() != std::min(stored.Height(), area.Height())) return false;
  if (SpanWithin(stored.Left, stored.Right, area.Left, area.Right) && placed.Left != stored.Left) return false;
  return !SpanWithin(stored.Top, stored.Bottom, area.Top, area.Bottom) || placed.Top == stored.Top;
}

void CheckMoved(const TScreenRect& placed, const TScreenRect& stored, const std::vector<TScreenRect>& areas) {
  int64_t nearest = INT64_MAX;
  for (const TScreenRect& area : areas) nearest = std::min(nearest, Distance(stored, area));
  Require(std::any_of(areas.begin(), areas.end(),
                      [&](const TScreenRect& area) { return MovedOnto(placed, stored, area, nearest); }),
          "a rectangle off every area moves onto a nearest one, as little as it can");
}

void CheckPlaced(const TScreenRect& stored, const std::vector<TScreenRect>& workAreas) {
  const std::optional<TScreenRect> placed = PlacedRect(stored, workAreas);
  if (stored.Empty()) {
    Require(!placed, "an empty or inverted rectangle goes nowhere");
    return;
  }
  Require(placed && !placed->Empty(), "a sound rectangle is placed, and not empty");
  Require(placed->Width() <= stored.Width() && placed->Height() <= stored.Height(), "no rectangle grows");
  std::vector<TScreenRect> areas;
  std::copy_if(workAreas.begin(), workAreas.end(), std::back_inserter(areas),
               [](const TScreenRect& area) { return !area.Empty(); });
  Require(PlacedRect(stored, areas) == placed, "an empty work area changes nothing");
  if (areas.empty() || OnAnyArea(stored, areas)) {
    Require(*placed == stored, "a rectangle on a work area, or with none known, stays as it is");
    return;
  }
  Require(OnAnyArea(*placed, areas), "a rectangle off every work area comes back on one");
  CheckMoved(*placed, stored, areas);
}

}  // namespace

// Sixteen bytes for the stored rectangle, then sixteen for each of up to four
// work areas; each edge a little-endian 32-bit value, as stored.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kRectBytes) return 0;
  std::vector<TScreenRect> workAreas;
  for (std::size_t at = kRectBytes; at + kRectBytes <= size && workAreas.size() < kMostWorkAreas; at += kRectBytes)
    workAreas.push_back(RectAt(data + at));
  CheckPlaced(RectAt(data), workAreas);
  return 0;
}
