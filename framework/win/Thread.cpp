#include "Thread.h"

#include <exception>

#include "SysError.h"

namespace retrove {

TThread::TThread() {
  FHandle.Reset(CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadId));
  if (!FHandle.Valid()) RaiseLastOSError();
}

TThread::~TThread() {
  if (FStarted && !FFinished) TerminateAndWait();
  // A thread that never started runs to its end without Execute(). Killing
  // it instead can catch the system still setting the thread up: under Wine
  // that crashed the process now and then.
  if (!FStarted) {
    FDiscarded = true;
    ResumeThread(FHandle.Get());
    WaitForSingleObject(FHandle.Get(), INFINITE);
  }
}

void TThread::Start() {
  if (FStarted) return;
  FStarted = true;
  ResumeThread(FHandle.Get());
}

bool TThread::WaitFor(DWORD milliseconds) const {
  if (!FStarted) return FFinished;
  return WaitForSingleObject(FHandle.Get(), milliseconds) == WAIT_OBJECT_0;
}

void TThread::TerminateAndWait() {
  Terminate();
  if (!FStarted) return;
  WakeUp();
  WaitFor(INFINITE);
}

DWORD WINAPI TThread::ThreadProc(LPVOID self) {
  auto* thread = static_cast<TThread*>(self);
  if (thread->FDiscarded) return 0;
  try {
    thread->Execute();
  } catch (const std::exception& e) {
    thread->FFatalMessage = e.what();
  } catch (...) {
    thread->FFatalMessage = "Unknown exception in thread";
  }
  thread->FFinished = true;
  return 0;
}

}  // namespace retrove
