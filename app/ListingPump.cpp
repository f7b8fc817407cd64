#include "ListingPump.h"

#include <algorithm>

#include "Application.h"

namespace retrove {

namespace {

constexpr std::chrono::milliseconds kMessageInterval{40};
// The wait before the window is told of new rows again, as a multiple of
// what telling it cost the last time: the telling takes a twentieth of the
// listing's time at most.
constexpr int kShowWaitPerCost = 20;

}  // namespace

TListingPump::TListingPump(TCustomListView& list) : FList(list) {
  FList.BeginAdding();
}

TListingPump::~TListingPump() {
  FList.EndAdding();
}

// Messages are handled on both sides of telling the window of new rows, so
// that what that costs, and the repaint it brings, never comes on top of a
// whole interval without messages.
void TListingPump::Pump() {
  if (TClock::now() < FNextMessages) return;
  Application.ProcessMessages();
  if (TClock::now() >= FNextRows) {
    ShowNewRows();
    Application.ProcessMessages();
  }
  FNextMessages = TClock::now() + kMessageInterval;
}

void TListingPump::ShowNewRows() {
  const TClock::time_point start = TClock::now();
  FList.EndAdding();
  FList.BeginAdding();
  const TClock::duration cost = TClock::now() - start;
  FNextRows = start + std::max<TClock::duration>(kMessageInterval, cost * kShowWaitPerCost);
}

}  // namespace retrove
