#include <doctest/doctest.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "ChangeHandlerThread.h"
#include "ShellTestSupport.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr DWORD kNameChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

// A hidden message-only window whose change notices the test collects.
class TNoticeWindow {
public:
  TNoticeWindow()
      : FWindow(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~TNoticeWindow() { DestroyWindow(FWindow); }
  TNoticeWindow(const TNoticeWindow&) = delete;
  TNoticeWindow& operator=(const TNoticeWindow&) = delete;

  HWND Handle() const { return FWindow; }

  // The slots of the notices that arrive within `milliseconds`.
  std::vector<int> Collect(DWORD milliseconds) {
    std::vector<int> slots;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
      MSG message;
      while (PeekMessageA(&message, FWindow, kChangeNoticeMessage, kChangeNoticeMessage, PM_REMOVE)) {
        CHECK(message.lParam == 0);
        slots.push_back(static_cast<int>(message.wParam));
      }
      Sleep(20);
    }
    return slots;
  }

  // Waits until a notice for `slot` arrives; the notices seen on the way.
  std::vector<int> WaitForSlot(int slot, DWORD milliseconds = 5000) {
    std::vector<int> slots;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
      for (int seen : Collect(50)) slots.push_back(seen);
      for (int seen : slots)
        if (seen == slot) return slots;
    }
    return slots;
  }

private:
  HWND FWindow;
};

// A worker that, when told, takes its time over the next command it takes.
class TLateWorker : public TChangeHandlerThread {
public:
  using TChangeHandlerThread::TChangeHandlerThread;
  void BeLateOnce(DWORD milliseconds) { FLateBy = milliseconds; }

protected:
  void CommandTaken() override { Sleep(FLateBy.exchange(0)); }

private:
  std::atomic<DWORD> FLateBy{0};
};

bool Contains(const std::vector<int>& slots, int slot) {
  for (int seen : slots)
    if (seen == slot) return true;
  return false;
}

// Wine answers GetProcessHandleCount with 0, so the open handles are
// counted by probing the low handle values, where Wine and Windows put them.
int HandleCount() {
  int count = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

}  // namespace

TEST_CASE("watches that cannot run are refused") {
  TChangeHandlerThread thread(nullptr, kChangeNoticeMessage);
  TTempFolder folder;
  int slot = 5;
  CHECK_FALSE(thread.AddWatch("", kNameChanges, slot, false));
  CHECK(slot == -1);
  CHECK_FALSE(thread.AddWatch(folder.Child("missing"), kNameChanges, slot, false));
  CHECK(slot == -1);
  CHECK_FALSE(thread.RemoveWatch(64));
  CHECK(thread.AddWatch(folder.Path(), kNameChanges, slot, false));
  CHECK(slot == 0);
}

TEST_CASE("a change under a watched folder is posted with that folder's slot") {
  TNoticeWindow window;
  TTempFolder first;
  TTempFolder second;
  TChangeHandlerThread thread(window.Handle(), kChangeNoticeMessage);
  thread.RemoveAllWatches();
  int firstSlot = -1;
  int secondSlot = -1;
  REQUIRE(thread.AddWatch(first.Path(), kNameChanges, firstSlot, true));
  REQUIRE(thread.AddWatch(second.Path(), kNameChanges, secondSlot, true));
  CHECK(firstSlot == 0);
  CHECK(secondSlot == 1);

  CreateDirectoryA(second.Child("new").c_str(), nullptr);
  const auto seen = window.WaitForSlot(secondSlot);
  CHECK(Contains(seen, secondSlot));
  CHECK_FALSE(Contains(seen, firstSlot));

  // The watch is re-armed: a second change is posted as well.
  RemoveDirectoryA(second.Child("new").c_str());
  CHECK(Contains(window.WaitForSlot(secondSlot), secondSlot));

  // With the first slot freed, the second keeps its own index.
  REQUIRE(thread.RemoveWatch(firstSlot));
  CreateDirectoryA(first.Child("unseen").c_str(), nullptr);
  CreateDirectoryA(second.Child("again").c_str(), nullptr);
  const auto afterGap = window.WaitForSlot(secondSlot);
  CHECK(Contains(afterGap, secondSlot));
  CHECK_FALSE(Contains(afterGap, firstSlot));

  thread.RemoveAllWatches();
  window.Collect(300);
  CreateDirectoryA(first.Child("late").c_str(), nullptr);
  CreateDirectoryA(second.Child("late").c_str(), nullptr);
  CHECK(window.Collect(1000).empty());

  int slot = -1;
  REQUIRE(thread.AddWatch(second.Path(), kNameChanges, slot, false));
  CHECK(slot == 0);
}

TEST_CASE("no more than 63 watches run at once; a refused one is closed") {
  TTempFolder folder;
  TChangeHandlerThread thread(nullptr, kChangeNoticeMessage);
  int slot = -1;
  for (int i = 0; i < TChangeHandlerThread::kMaxWatches; ++i) {
    REQUIRE(thread.AddWatch(folder.Path(), kNameChanges, slot, false));
    CHECK(slot == i);
  }
  const int before = HandleCount();
  CHECK_FALSE(thread.AddWatch(folder.Path(), kNameChanges, slot, false));
  CHECK(slot == -1);
  CHECK(HandleCount() == before);
  REQUIRE(thread.RemoveWatch(10));
  CHECK(thread.AddWatch(folder.Path(), kNameChanges, slot, false));
  CHECK(slot == 10);
}

TEST_CASE("an add given up on is taken back: the watch never runs and its handle is closed") {
  TNoticeWindow window;
  TTempFolder late;
  TTempFolder later;
  TLateWorker thread(window.Handle(), kChangeNoticeMessage);
  const int before = HandleCount();
  // The worker takes the add at once but carries it out only after the
  // caller has stopped waiting for it.
  thread.BeLateOnce(3000);
  int slot = 5;
  CHECK_FALSE(thread.AddWatch(late.Path(), kNameChanges, slot, false));
  CHECK(slot == -1);
  // The worker ends the late add before it takes this one.
  REQUIRE(thread.AddWatch(later.Path(), kNameChanges, slot, false));
  CHECK(slot == 0);
  CHECK(HandleCount() == before + 1);
  CreateDirectoryA(late.Child("unwatched").c_str(), nullptr);
  CHECK(window.Collect(1000).empty());
}

TEST_CASE("destroying the worker with active watches ends it promptly and closes every handle") {
  TNoticeWindow window;
  TTempFolder folder;
  const int before = HandleCount();
  const DWORD start = GetTickCount();
  {
    TChangeHandlerThread thread(window.Handle(), kChangeNoticeMessage);
    int slot = -1;
    REQUIRE(thread.AddWatch(folder.Path(), kNameChanges, slot, false));
    REQUIRE(thread.AddWatch(folder.Path(), kNameChanges, slot, true));
    CHECK(HandleCount() > before);
  }
  CHECK(GetTickCount() - start < 3000);
  CHECK(HandleCount() == before);
}
