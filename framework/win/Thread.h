#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "Handle.h"

namespace retrove {

// A worker thread running Execute(). Created suspended; Start() lets it run.
// It never frees itself. A derived class must call TerminateAndWait() in its
// own destructor, because Execute() uses the derived object's members, which
// are gone by the time this base destructor runs.
class TThread {
public:
  TThread();
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  void Start();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  bool Finished() const { return FFinished; }

  // Waits up to `milliseconds` for Execute() to return; true when it did.
  bool WaitFor(DWORD milliseconds = INFINITE) const;

  // Sets Terminated, wakes the worker (WakeUp) and waits for it to end.
  void TerminateAndWait();

  DWORD ThreadId() const { return FThreadId; }
  // The message of an exception that ended Execute(), empty when none did.
  const std::string& FatalMessage() const { return FFatalMessage; }

protected:
  virtual void Execute() = 0;
  // Called by TerminateAndWait before waiting: a worker blocked in a wait
  // must be woken here (for example by setting an event it waits on).
  virtual void WakeUp() {}

private:
  static DWORD WINAPI ThreadProc(LPVOID self);

  TKernelHandle FHandle;
  DWORD FThreadId = 0;
  bool FStarted = false;
  std::atomic<bool> FDiscarded{false};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::string FFatalMessage;
};

}  // namespace retrove
