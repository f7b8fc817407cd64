#pragma once

namespace retrove {

// Shows the busy (hourglass) cursor for the life of the scope and then puts
// back whatever cursor was showing before. The GUI installs the indicator;
// without one (portable code under test) the scope does nothing.
class IBusyIndicator {
public:
  virtual ~IBusyIndicator() = default;
  virtual int CurrentCursor() const = 0;
  virtual void SetCursor(int cursor) = 0;
  virtual int BusyCursor() const = 0;
};

void SetBusyIndicator(IBusyIndicator* indicator);

class TBusyScope {
public:
  TBusyScope();
  ~TBusyScope();
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

private:
  IBusyIndicator* FIndicator;
  int FSaved = 0;
};

}  // namespace retrove
