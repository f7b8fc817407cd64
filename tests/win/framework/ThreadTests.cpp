#include <doctest/doctest.h>

#include <atomic>
#include <stdexcept>

#include "Exceptions.h"
#include "SysError.h"
#include "Thread.h"

using namespace retrove;

namespace {

// Waits on an event until told to stop; counts its wake-ups.
class TWaiter : public TThread {
public:
  TWaiter() : FWake(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  ~TWaiter() override { TerminateAndWait(); }

  void Poke() { SetEvent(FWake.Get()); }
  int WakeUps() const { return FWakeUps; }

protected:
  void Execute() override {
    while (!Terminated()) {
      WaitForSingleObject(FWake.Get(), INFINITE);
      if (!Terminated()) ++FWakeUps;
    }
  }
  void WakeUp() override { Poke(); }

private:
  TKernelHandle FWake;
  std::atomic<int> FWakeUps{0};
};

// Notes in a flag owned by the test that Execute() ran.
class TRecorder : public TThread {
public:
  explicit TRecorder(std::atomic<bool>& ran) : FRan(ran) {}
  ~TRecorder() override { TerminateAndWait(); }

protected:
  void Execute() override { FRan = true; }

private:
  std::atomic<bool>& FRan;
};

class TThrower : public TThread {
public:
  ~TThrower() override { TerminateAndWait(); }

protected:
  void Execute() override { throw std::runtime_error("worker failed"); }
};

}  // namespace

TEST_CASE("a thread runs only once started and ends when terminated") {
  std::atomic<bool> ran{false};
  TRecorder recorder(ran);
  Sleep(200);  // time enough for a thread let loose too early to run
  CHECK_FALSE(ran);
  recorder.Start();
  REQUIRE(recorder.WaitFor(5000));
  CHECK(ran);

  TWaiter waiter;
  waiter.Start();
  waiter.Poke();
  for (int i = 0; i < 100 && waiter.WakeUps() == 0; ++i) Sleep(10);
  CHECK(waiter.WakeUps() == 1);
  waiter.TerminateAndWait();
  CHECK(waiter.Finished());
  CHECK(waiter.FatalMessage().empty());
}

TEST_CASE("an exception ends the thread and is kept, not lost") {
  TThrower thrower;
  thrower.Start();
  REQUIRE(thrower.WaitFor(5000));
  CHECK(thrower.FatalMessage() == "worker failed");
}

TEST_CASE("a thread never started is let go by its destructor without running") {
  {
    TWaiter never;
    CHECK_FALSE(never.Finished());
  }
  // Many in a row: letting one go must never catch the system mid-way.
  std::atomic<bool> ran{false};
  for (int i = 0; i < 200; ++i) TRecorder never(ran);
  CHECK_FALSE(ran);
}

TEST_CASE("system errors carry the system's own text") {
  const std::string notFound = SysErrorMessage(ERROR_FILE_NOT_FOUND);
  CHECK(notFound.find("ile") != std::string::npos);
  CHECK(notFound.back() != '\n');
  CHECK(SysErrorMessage(0x2BADC0DE) == "System error: 0x2BADC0DE");
  try {
    RaiseOSError(ERROR_ACCESS_DENIED);
    FAIL("no exception");
  } catch (const EOSError& e) {
    CHECK(e.ErrorCode() == ERROR_ACCESS_DENIED);
    CHECK(e.Message() == SysErrorMessage(ERROR_ACCESS_DENIED));
  }
  CHECK(OleCheck(S_FALSE) == S_FALSE);
  CHECK_THROWS_AS(OleCheck(E_NOINTERFACE), EOSError);
}
