#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "Persistent.h"

namespace retrove {

enum class TSizeLimit {
  MaxPosLeft,
  MaxPosTop,
  MaxSizeHeight,
  MaxSizeWidth,
  MaxTrackHeight,
  MaxTrackWidth,
  MinTrackHeight,
  MinTrackWidth,
};

// Limits on a form's size and maximised position, one per member of the
// system's MINMAXINFO; 0 leaves the system's own value.
class TSizeLimits : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int32_t Limit(TSizeLimit limit) const { return FLimits[static_cast<size_t>(limit)]; }
  void SetLimit(TSizeLimit limit, int32_t value);
  // No limit set at all.
  bool IsDefault() const;

  void Assign(const TPersistent& source) override;

  // Told after any limit changed.
  std::function<void()> OnChange;

private:
  template <TSizeLimit L>
  int32_t Get() const {
    return Limit(L);
  }
  template <TSizeLimit L>
  void Set(int32_t value) {
    SetLimit(L, value);
  }

  std::array<int32_t, 8> FLimits{};
};

}  // namespace retrove
