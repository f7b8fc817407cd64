#pragma once

#include "Object.h"

namespace retrove {

// An object whose state can be copied from another object of a kind it knows.
class TPersistent : public TObject {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Copies Source into this object; when this class does not know Source's
  // kind, Source is asked to copy itself into this object (AssignTo), and
  // when neither knows the other, EConvertError is raised.
  virtual void Assign(const TPersistent& source);

protected:
  virtual void AssignTo(TPersistent& dest) const;
};

}  // namespace retrove
