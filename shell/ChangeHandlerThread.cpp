#include "ChangeHandlerThread.h"

#include "SysError.h"

namespace retrove {

namespace {

constexpr DWORD kAckTimeoutMs = 2000;
constexpr DWORD kStopTimeoutMs = 30000;

class TExclusive {
public:
  explicit TExclusive(SRWLOCK& lock) : FLock(lock) { AcquireSRWLockExclusive(&FLock); }
  ~TExclusive() { ReleaseSRWLockExclusive(&FLock); }
  TExclusive(const TExclusive&) = delete;
  TExclusive& operator=(const TExclusive&) = delete;

private:
  SRWLOCK& FLock;
};

HANDLE NewAutoResetEvent() {
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!event) RaiseLastOSError();
  return event;
}

}  // namespace

TChangeHandlerThread::TChangeHandlerThread(HWND targetWindow, UINT message)
    : FTargetWindow(targetWindow),
      FMessage(message),
      FCommandEvent(NewAutoResetEvent()),
      FAckEvent(NewAutoResetEvent()) {
  Start();
}

TChangeHandlerThread::~TChangeHandlerThread() {
  Terminate();
  WakeUp();
  // The worker only ever blocks in its wait, which the command event ends,
  // so this bound is not reached in practice; past it the worker still
  // uses this object's members, and the wait must go on regardless.
  WaitFor(kStopTimeoutMs);
  TerminateAndWait();
}

bool TChangeHandlerThread::AddWatch(const std::string& path, DWORD filter, int& slot, bool watchSubtree) {
  slot = -1;
  if (path.empty()) return false;
  TChangeNotification watch(FindFirstChangeNotificationA(path.c_str(), watchSubtree ? TRUE : FALSE, filter));
  if (!watch.Valid()) return false;
  int added = -1;
  if (!Send(TCommand::Add, -1, std::move(watch), added)) return false;
  slot = added;
  return added != -1;
}

bool TChangeHandlerThread::RemoveWatch(int slot) {
  if (slot < 0 || slot >= kSlotCount) return false;
  int unused = -1;
  return Send(TCommand::RemoveOne, slot, TChangeNotification(), unused);
}

void TChangeHandlerThread::RemoveAllWatches() {
  int unused = -1;
  Send(TCommand::RemoveAll, -1, TChangeNotification(), unused);
}

void TChangeHandlerThread::WakeUp() {
  {
    TExclusive lock(FLock);
    FCommand = TCommand::Terminate;
  }
  SetEvent(FCommandEvent.Get());
}

bool TChangeHandlerThread::Send(TCommand command, int slot, TChangeNotification pending, int& addedSlot) {
  unsigned serial = 0;
  {
    TExclusive lock(FLock);
    FCommand = command;
    FSlotToRemove = slot;
    FPending = std::move(pending);
    serial = ++FSerial;
  }
  ResetEvent(FAckEvent.Get());
  SetEvent(FCommandEvent.Get());
  const DWORD start = GetTickCount();
  TChangeNotification withdrawn;
  for (;;) {
    {
      TExclusive lock(FLock);
      if (FAckedSerial == serial) {
        addedSlot = FAddedSlot;
        return true;
      }
      const DWORD waited = GetTickCount() - start;
      if (waited >= kAckTimeoutMs) {
        // Given up: a command the worker has not taken is taken back, and
        // with it the handle it would have been handed; one it has taken
        // is marked, so that it stores no watch the caller was told failed.
        FCommand = TCommand::None;
        withdrawn = std::move(FPending);
        FGivenUpSerial = serial;
        return false;
      }
    }
    WaitForSingleObject(FAckEvent.Get(), kAckTimeoutMs - (GetTickCount() - start));
  }
}

void TChangeHandlerThread::Execute() {
  while (!Terminated()) {
    HANDLE waitSet[MAXIMUM_WAIT_OBJECTS];
    int slotAt[MAXIMUM_WAIT_OBJECTS];
    DWORD count = 0;
    waitSet[count++] = FCommandEvent.Get();
    for (int slot = 0; slot < kSlotCount && count < MAXIMUM_WAIT_OBJECTS; ++slot) {
      if (!FSlots[slot].Valid()) continue;
      slotAt[count] = slot;
      waitSet[count++] = FSlots[slot].Get();
    }
    const DWORD result = WaitForMultipleObjects(count, waitSet, FALSE, INFINITE);
    if (Terminated()) return;
    if (result == WAIT_OBJECT_0) {
      if (!RunCommand()) return;
    } else if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
      Notice(slotAt[result - WAIT_OBJECT_0]);
    } else if (!DropBrokenWatches()) {
      // The wait failed and no watch is to blame: the command event itself
      // is gone, and waiting again would only fail again.
      return;
    }
  }
}

bool TChangeHandlerThread::RunCommand() {
  TCommand command = TCommand::None;
  int slot = -1;
  TChangeNotification pending;
  unsigned serial = 0;
  {
    TExclusive lock(FLock);
    command = std::exchange(FCommand, TCommand::None);
    slot = FSlotToRemove;
    pending = std::move(FPending);
    serial = FSerial;
  }
  CommandTaken();
  switch (command) {
    case TCommand::Add:
      break;  // below, together with the acknowledgement
    case TCommand::RemoveOne:
      if (slot >= 0 && slot < kSlotCount) FSlots[slot].Reset();
      break;
    case TCommand::RemoveAll:
      for (auto& watch : FSlots) watch.Reset();
      break;
    case TCommand::Terminate:
      return false;
    case TCommand::None:
      return true;
  }
  {
    TExclusive lock(FLock);
    // Either the sender sees this acknowledgement or it has given up first,
    // and then the handle is closed here, not watched.
    int added = -1;
    if (command == TCommand::Add && FGivenUpSerial != serial) added = StoreWatch(std::move(pending));
    FAddedSlot = added;
    FAckedSerial = serial;
  }
  SetEvent(FAckEvent.Get());
  return true;
}

int TChangeHandlerThread::StoreWatch(TChangeNotification watch) {
  int running = 0;
  for (const auto& slot : FSlots) running += slot.Valid() ? 1 : 0;
  if (running >= kMaxWatches) return -1;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (FSlots[slot].Valid()) continue;
    FSlots[slot] = std::move(watch);
    return slot;
  }
  return -1;
}

void TChangeHandlerThread::Notice(int slot) {
  if (FTargetWindow) PostMessageA(FTargetWindow, FMessage, static_cast<WPARAM>(slot), 0);
  if (!FindNextChangeNotification(FSlots[slot].Get())) FSlots[slot].Reset();
}

bool TChangeHandlerThread::DropBrokenWatches() {
  bool dropped = false;
  for (auto& watch : FSlots) {
    if (!watch.Valid() || WaitForSingleObject(watch.Get(), 0) != WAIT_FAILED) continue;
    // The handle is no longer ours to close: its value may already name
    // some other object.
    watch.Release();
    dropped = true;
  }
  return dropped;
}

}  // namespace retrove
