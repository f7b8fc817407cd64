#pragma once

#include "ClassInfo.h"

namespace retrove {

// Root of the class tree: virtual destruction and a run-time class
// description. Every class that publishes properties overrides both
// StaticClassInfo (hiding) and ClassInfo (virtually).
class TObject {
public:
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

  const std::string& ClassName() const { return ClassInfo().Name(); }
  bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }
};

}  // namespace retrove
