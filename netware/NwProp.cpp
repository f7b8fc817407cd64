#include "NwProp.h"

#include "nwlib.h"

namespace retrove {

int32_t NWPropError = 0;
int32_t NWPrintError = 0;

std::string TNWProp::ErrorText() const {
  return NWErrorCodeText(NWPropError);
}

std::string TNWPrint::ErrorText() const {
  return NWErrorCodeText(NWPrintError);
}

}  // namespace retrove
