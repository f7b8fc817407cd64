#include "Meters.h"

#include <windows.h>
#include <psapi.h>

#include "Application.h"

namespace retrove::bench {

namespace {

TStallMeter* Meter = nullptr;

void CALLBACK TimerTicked(HWND, UINT, UINT_PTR, DWORD) {
  if (Meter) Meter->Tick();
}

PROCESS_MEMORY_COUNTERS MemoryCounters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

constexpr double kMegabyte = 1024.0 * 1024.0;

}  // namespace

double Seconds() {
  LARGE_INTEGER now{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

double PeakMegabytes() {
  return double(MemoryCounters().PeakWorkingSetSize) / kMegabyte;
}

double WorkingSetMegabytes() {
  return double(MemoryCounters().WorkingSetSize) / kMegabyte;
}

TStallMeter::TStallMeter() {
  Meter = this;
  FLast = Seconds();
  FTimer = SetTimer(nullptr, 0, 10, &TimerTicked);
}

TStallMeter::~TStallMeter() {
  KillTimer(nullptr, FTimer);
  Meter = nullptr;
}

void TStallMeter::Tick() {
  const double now = Seconds();
  if (now - FLast > FLongest) FLongest = now - FLast;
  FLast = now;
}

void TStallMeter::CoverUntil(double moment) {
  while (FLast < moment) {
    Application.ProcessMessages();
    Sleep(1);
  }
}

TResponseMeter::TResponseMeter(HWND window) : FWindow(window), FPoller([this] { Poll(); }) {}

// The poller may be waiting for this thread's answer: answer it until the
// poller has seen the stop.
TResponseMeter::~TResponseMeter() {
  FStop = true;
  MSG message;
  while (!FDone) {
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(1);
  }
  FPoller.join();
}

void TResponseMeter::Poll() {
  while (!FStop) {
    const double start = Seconds();
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(FWindow, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    const double waited = Seconds() - start;
    if (waited > FLongest) FLongest = waited;
    Sleep(10);
  }
  FDone = true;
}

}  // namespace retrove::bench
