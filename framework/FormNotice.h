#pragma once

#include <cstdint>

#include "Component.h"

namespace retrove {

// How a component without windows of its own tells the windowed controls of
// the form that owns it: the Windows framework binds it; unbound, nothing
// is told.
class IFormNotifier {
public:
  virtual ~IFormNotifier() = default;
  // When `owner` is a form: sends `message` (both parameters 0) to each of
  // the windowed controls it owns, in index order, and waits for each.
  virtual void NotifyControls(TComponent& owner, uint32_t message) = 0;
};

void SetFormNotifier(IFormNotifier* notifier);
IFormNotifier* FormNotifier();

}  // namespace retrove
