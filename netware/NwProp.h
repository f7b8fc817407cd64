#pragma once

#include <cstdint>
#include <string>

#include "Object.h"

namespace retrove {

// The property and print units keep error codes that nothing sets; their
// texts are always 0000.
extern int32_t NWPropError;
extern int32_t NWPrintError;

class TNWProp : public TObject {
public:
  std::string ErrorText() const;
};

class TNWPrint : public TObject {
public:
  std::string ErrorText() const;
};

}  // namespace retrove
