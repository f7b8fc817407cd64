#include "Persistent.h"

#include "Exceptions.h"

namespace retrove {

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", &TObject::StaticClassInfo(), {});
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

}  // namespace retrove
