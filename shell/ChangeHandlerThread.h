#pragma once

// Part of UNsShellControls, which includes this header: the worker that
// watches folders for file-system changes on behalf of a shell control.

#include <windows.h>

#include <array>
#include <string>

#include "ChangeNotification.h"
#include "Handle.h"
#include "Thread.h"

namespace retrove {

// The message a shell control receives for a change notice: wParam is the
// slot of the watch that fired, lParam 0.
constexpr UINT kChangeNoticeMessage = WM_USER + 101;

// Waits on change-notification handles and posts a notice to a window each
// time one fires. The GUI thread hands it commands one at a time; the worker
// alone owns the table of watches while it runs.
class TChangeHandlerThread : public TThread {
public:
  static constexpr int kSlotCount = 64;
  // One wait takes at most MAXIMUM_WAIT_OBJECTS handles and the command
  // event is one of them, so this many watches can run at once.
  static constexpr int kMaxWatches = MAXIMUM_WAIT_OBJECTS - 1;

  // Notices go to `targetWindow` (0: none are posted) as `message`.
  TChangeHandlerThread(HWND targetWindow, UINT message);
  ~TChangeHandlerThread() override;

  // Starts watching `path`; false, with `slot` -1, when the path is empty,
  // cannot be watched, kMaxWatches are already running or the worker does
  // not answer in time. A refused handle is closed at once.
  bool AddWatch(const std::string& path, DWORD filter, int& slot, bool watchSubtree);
  // Ends one watch; false when `slot` is out of range or the worker does
  // not answer in time.
  bool RemoveWatch(int slot);
  void RemoveAllWatches();

protected:
  void Execute() override;
  void WakeUp() override;
  // Runs on the worker between taking a command and carrying it out; a
  // test makes the worker late here.
  virtual void CommandTaken() {}

private:
  enum class TCommand { Add = 0, RemoveOne = 1, RemoveAll = 2, Terminate = 3, None };

  // GUI side: hands a command over and waits for its acknowledgement.
  bool Send(TCommand command, int slot, TChangeNotification pending, int& addedSlot);
  // Worker side.
  bool RunCommand();
  int StoreWatch(TChangeNotification watch);
  void Notice(int slot);
  bool DropBrokenWatches();

  HWND FTargetWindow;
  UINT FMessage;
  TKernelHandle FCommandEvent;
  TKernelHandle FAckEvent;

  // The hand-over between the two threads, guarded by FLock. A serial number
  // ties each acknowledgement to its command, so that a late one for a
  // command already given up on cannot pass for the next; the serial of the
  // last command given up on tells the worker not to carry out its add.
  SRWLOCK FLock = SRWLOCK_INIT;
  TCommand FCommand = TCommand::None;
  int FSlotToRemove = -1;
  TChangeNotification FPending;
  unsigned FSerial = 0;
  unsigned FAckedSerial = 0;
  unsigned FGivenUpSerial = 0;
  int FAddedSlot = -1;

  std::array<TChangeNotification, kSlotCount> FSlots;
};

}  // namespace retrove
