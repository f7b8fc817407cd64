#include "BusyScope.h"

namespace retrove {

namespace {
IBusyIndicator* gBusyIndicator = nullptr;
}

void SetBusyIndicator(IBusyIndicator* indicator) {
  gBusyIndicator = indicator;
}

TBusyScope::TBusyScope() : FIndicator(gBusyIndicator) {
  if (!FIndicator) return;
  FSaved = FIndicator->CurrentCursor();
  FIndicator->SetCursor(FIndicator->BusyCursor());
}

TBusyScope::~TBusyScope() {
  if (FIndicator) FIndicator->SetCursor(FSaved);
}

}  // namespace retrove
