#include "SizeLimits.h"

#include <algorithm>

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TSizeLimits::StaticClassInfo() {
  using L = TSizeLimit;
  using T = TSizeLimits;
  static const TClassInfo info =
      TClassInfoBuilder<T>("TSizeLimits", TPersistent::StaticClassInfo())
          .Integer("MaxPosLeft", &T::Get<L::MaxPosLeft>, &T::Set<L::MaxPosLeft>, 0)
          .Integer("MaxPosTop", &T::Get<L::MaxPosTop>, &T::Set<L::MaxPosTop>, 0)
          .Integer("MaxSizeHeight", &T::Get<L::MaxSizeHeight>, &T::Set<L::MaxSizeHeight>, 0)
          .Integer("MaxSizeWidth", &T::Get<L::MaxSizeWidth>, &T::Set<L::MaxSizeWidth>, 0)
          .Integer("MaxTrackHeight", &T::Get<L::MaxTrackHeight>, &T::Set<L::MaxTrackHeight>, 0)
          .Integer("MaxTrackWidth", &T::Get<L::MaxTrackWidth>, &T::Set<L::MaxTrackWidth>, 0)
          .Integer("MinTrackHeight", &T::Get<L::MinTrackHeight>, &T::Set<L::MinTrackHeight>, 0)
          .Integer("MinTrackWidth", &T::Get<L::MinTrackWidth>, &T::Set<L::MinTrackWidth>, 0)
          .Build();
  return info;
}

void TSizeLimits::SetLimit(TSizeLimit limit, int32_t value) {
  int32_t& stored = FLimits[static_cast<size_t>(limit)];
  if (stored == value) return;
  stored = value;
  if (OnChange) OnChange();
}

bool TSizeLimits::IsDefault() const {
  return std::ranges::all_of(FLimits, [](int32_t limit) { return limit == 0; });
}

void TSizeLimits::Assign(const TPersistent& source) {
  const auto* limits = dynamic_cast<const TSizeLimits*>(&source);
  if (!limits) {
    TPersistent::Assign(source);
    return;
  }
  if (limits == this) return;
  FLimits = limits->FLimits;
  if (OnChange) OnChange();
}

}  // namespace retrove
