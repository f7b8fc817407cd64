#include "FormNotice.h"

namespace retrove {

namespace {

IFormNotifier* Notifier = nullptr;

}  // namespace

void SetFormNotifier(IFormNotifier* notifier) {
  Notifier = notifier;
}

IFormNotifier* FormNotifier() {
  return Notifier;
}

}  // namespace retrove
