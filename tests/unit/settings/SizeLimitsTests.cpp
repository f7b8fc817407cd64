#include <doctest/doctest.h>

#include "SizeLimits.h"
#include "Strings.h"

using namespace retrove;

TEST_CASE("size limits tell their owner of real changes only, and an assignment copies all eight") {
  TSizeLimits limits;
  int changes = 0;
  limits.OnChange = [&changes] { ++changes; };
  CHECK(limits.IsDefault());

  limits.SetLimit(TSizeLimit::MinTrackWidth, 0);
  CHECK(changes == 0);
  limits.SetLimit(TSizeLimit::MinTrackWidth, 320);
  limits.SetLimit(TSizeLimit::MinTrackWidth, 320);
  CHECK(changes == 1);
  CHECK_FALSE(limits.IsDefault());

  TSizeLimits other;
  other.SetLimit(TSizeLimit::MaxPosTop, -4);
  limits.Assign(other);
  CHECK(changes == 2);
  CHECK(limits.Limit(TSizeLimit::MinTrackWidth) == 0);
  CHECK(limits.Limit(TSizeLimit::MaxPosTop) == -4);

  limits.SetLimit(TSizeLimit::MaxPosTop, 0);
  CHECK(limits.IsDefault());
  CHECK_THROWS(limits.Assign(TStringList{}));
}
