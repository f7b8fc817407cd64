#include "Object.h"

namespace retrove {

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr, {});
  return info;
}

}  // namespace retrove
