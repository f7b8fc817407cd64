#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace retrove::bench {

// Seconds on the performance counter.
double Seconds();

// The working set's peak so far, and its size now, in megabytes.
double PeakMegabytes();
double WorkingSetMegabytes();

// The longest wait between two ticks of a 10 ms timer: how long the window
// at worst leaves its messages (a click on Stop) unanswered. One at a time.
class TStallMeter {
public:
  TStallMeter();
  ~TStallMeter();
  TStallMeter(const TStallMeter&) = delete;
  TStallMeter& operator=(const TStallMeter&) = delete;

  double LongestMs() const { return FLongest * 1000.0; }
  // When the timer last ticked, in Seconds().
  double LastTick() const { return FLast; }
  // The timer's tick.
  void Tick();
  // Handles messages until the timer has ticked after `moment` (in
  // Seconds()), so that the longest wait covers all that came before it.
  void CoverUntil(double moment);

private:

  std::uintptr_t FTimer = 0;
  double FLast = 0;
  double FLongest = 0;
};

// The longest a window took to answer a message sent to it from another
// thread, polled every 10 ms: whether it stays responsive while its thread
// works without a message loop of its own (between recovered files, say).
class TResponseMeter {
public:
  explicit TResponseMeter(HWND window);
  ~TResponseMeter();
  TResponseMeter(const TResponseMeter&) = delete;
  TResponseMeter& operator=(const TResponseMeter&) = delete;

  double LongestMs() const { return FLongest.load() * 1000.0; }

private:
  void Poll();

  HWND FWindow;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FDone{false};
  std::atomic<double> FLongest{0};
  std::thread FPoller;
};

}  // namespace retrove::bench
