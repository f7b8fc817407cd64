#pragma once

#include <chrono>

#include "ListView.h"

namespace retrove {

// Keeps the window alive while a listing adds rows: a few dozen times a
// second the pending messages are handled, so that Stop answers at once.
// Telling the list window of new rows makes it update its scroll bar, which
// under Wine takes tens of milliseconds whatever the number of rows, and
// turning its redrawing off and on costs a whole repaint; so the window
// keeps drawing, learns of the first rows at once, and then of the new rows
// only as often as keeps that cost small. New rows in view are painted as
// soon as the window learns of them.
class TListingPump {
public:
  explicit TListingPump(TCustomListView& list);
  ~TListingPump();
  TListingPump(const TListingPump&) = delete;
  TListingPump& operator=(const TListingPump&) = delete;

  // Called between scan calls; cheap when there is nothing to do.
  void Pump();

private:
  using TClock = std::chrono::steady_clock;

  void ShowNewRows();

  TCustomListView& FList;
  TClock::time_point FNextMessages;
  TClock::time_point FNextRows;
  bool FRowsShown = false;
};

}  // namespace retrove
