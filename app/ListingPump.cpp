#include "ListingPump.h"

#include <algorithm>

#include "Application.h"

namespace retrove {

namespace {

constexpr std::chrono::milliseconds kMessageInterval{40};
// The wait before the window is told of new rows again, as a multiple of
// what telling it and the repaint cost the last time: together they take a
// twentieth of the listing's time at most.
constexpr int kShowWaitPerCost = 20;

}  // namespace

TListingPump::TListingPump(TCustomListView& list) : FList(list) {
  FList.BeginAdding();
}

TListingPump::~TListingPump() {
  FList.EndAdding();
}

// The cost of telling the window of new rows counts the repaint it brings:
// in the icon views Wine lays out and paints every row again, which grows
// with the rows, and the telling must stay a small part of the listing.
void TListingPump::Pump() {
  // The first rows are shown at once. Wine sizes the rows of the List view
  // by every row the window holds when it first paints rows, so this also
  // keeps that measuring short.
  if (!FRowsShown && FList.ItemCount() > 0) {
    FRowsShown = true;
    ShowNewRows();
    FNextMessages = TClock::now() + kMessageInterval;
    return;
  }
  if (TClock::now() < FNextMessages) return;
  Application.ProcessMessages();
  if (TClock::now() >= FNextRows) ShowNewRows();
  FNextMessages = TClock::now() + kMessageInterval;
}

void TListingPump::ShowNewRows() {
  const TClock::time_point start = TClock::now();
  FList.EndAdding();
  FList.BeginAdding();
  Application.ProcessMessages();
  const TClock::duration cost = TClock::now() - start;
  FNextRows = start + std::max<TClock::duration>(kMessageInterval, cost * kShowWaitPerCost);
}

}  // namespace retrove
