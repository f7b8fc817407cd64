#include <doctest/doctest.h>

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ControlHook.h"
#include "Form.h"
#include "GuiTesting.h"
#include "Panel.h"
#include "WndHook.h"

using namespace retrove;
using namespace retrove::test;

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;
constexpr LRESULT kProbeAnswer = 42;

// A panel that answers the probe message itself and counts what reaches it.
class TProbePanel : public TPanel {
public:
  using TPanel::TPanel;
  int Received = 0;
  int* Destroys = nullptr;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kProbeMessage) {
      ++Received;
      return kProbeAnswer;
    }
    if (message == WM_DESTROY && Destroys) ++*Destroys;
    return TPanel::WndProc(message, wParam, lParam);
  }
};

struct THookForm {
  THookForm() : Form(nullptr) {
    EnsureApplication();
    Panel = new TProbePanel(&Form);
    Panel->SetParent(&Form);
    Panel->SetAlign(alClient);
    Panel->Handle();
  }

  // A hook owned by the form that writes "<name>b" and "<name>a" into Log
  // for the probe message.
  TWindowHook* AddHook(const std::string& name) {
    auto* hook = new TWindowHook(&Form);
    hook->BeforeMessage = [this, name](TObject&, TMessage& msg, bool&) {
      if (msg.Msg == kProbeMessage) Log.push_back(name + "b");
    };
    hook->AfterMessage = [this, name](TObject&, TMessage& msg, bool&) {
      if (msg.Msg == kProbeMessage) Log.push_back(name + "a");
    };
    hook->SetWinControl(Panel);
    return hook;
  }

  LRESULT Probe() { return SendMessageA(Panel->Hwnd(), kProbeMessage, 0, 0); }

  LONG_PTR PanelProc() const { return GetWindowLongPtrA(Panel->Hwnd(), GWLP_WNDPROC); }

  TForm Form;
  TProbePanel* Panel;
  std::vector<std::string> Log;
};

using TLog = std::vector<std::string>;

}  // namespace

TEST_CASE("hooks see a message before and after the control, the one attached last first") {
  THookForm form;
  form.AddHook("A");
  form.AddHook("B");
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(form.Log == TLog{"Bb", "Ab", "Ba", "Aa"});
  CHECK(form.Panel->Received == 1);
}

TEST_CASE("a message handled before the control reaches neither the control nor the other hooks") {
  THookForm form;
  form.AddHook("A");
  TWindowHook* last = form.AddHook("B");
  last->BeforeMessage = [&](TObject& sender, TMessage& msg, bool& handled) {
    CHECK(&sender == last);
    if (msg.Msg != kProbeMessage) return;
    form.Log.push_back("Bb");
    msg.Result = 5;
    handled = true;
  };
  CHECK(form.Probe() == 5);
  CHECK(form.Log == TLog{"Bb"});
  CHECK(form.Panel->Received == 0);
}

TEST_CASE("an after handler sees the control's result and may change it") {
  THookForm form;
  TWindowHook* hook = form.AddHook("A");
  LRESULT seen = 0;
  hook->AfterMessage = [&](TObject&, TMessage& msg, bool&) {
    if (msg.Msg != kProbeMessage) return;
    seen = msg.Result;
    msg.Result = 7;
  };
  CHECK(form.Probe() == 7);
  CHECK(seen == kProbeAnswer);
}

TEST_CASE("hooks removed out of order leave the others working and the last restores the window") {
  THookForm form;
  const LONG_PTR original = form.PanelProc();
  TWindowHook* a = form.AddHook("A");
  TWindowHook* b = form.AddHook("B");
  TWindowHook* c = form.AddHook("C");
  CHECK(THookList::Instance().Count() == 1);

  b->SetActive(false);
  form.Probe();
  CHECK(form.Log == TLog{"Cb", "Ab", "Ca", "Aa"});

  form.Log.clear();
  a->SetActive(false);
  form.Probe();
  CHECK(form.Log == TLog{"Cb", "Ca"});

  delete c;
  form.Log.clear();
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(form.Log.empty());
  CHECK(form.PanelProc() == original);
  CHECK(THookList::Instance().Count() == 0);

  b->SetActive(true);
  form.Probe();
  CHECK(form.Log == TLog{"Bb", "Ba"});
}

namespace {

WNDPROC gForeignPrevious = nullptr;
int gForeignSeen = 0;

LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeMessage) ++gForeignSeen;
  return CallWindowProcA(gForeignPrevious, window, message, wParam, lParam);
}

}  // namespace

TEST_CASE("removing a hook keeps a subclass installed over it by someone else") {
  THookForm form;
  TWindowHook* hook = form.AddHook("A");
  gForeignSeen = 0;
  gForeignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(form.Panel->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));

  hook->SetActive(false);
  CHECK(form.PanelProc() == reinterpret_cast<LONG_PTR>(&ForeignProc));
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(gForeignSeen == 1);
  CHECK(form.Panel->Received == 1);
  CHECK(form.Log.empty());

  SetWindowLongPtrA(form.Panel->Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gForeignPrevious));
}

TEST_CASE("a handler may detach its own hook or free another one") {
  THookForm form;
  TWindowHook* first = form.AddHook("A");
  TWindowHook* second = form.AddHook("B");
  TWindowHook* third = form.AddHook("C");
  third->BeforeMessage = [&](TObject&, TMessage& msg, bool&) {
    if (msg.Msg != kProbeMessage) return;
    form.Log.push_back("Cb");
    third->SetActive(false);
    delete second;
  };
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(form.Log == TLog{"Cb", "Ab", "Aa"});

  form.Log.clear();
  first->BeforeMessage = [&](TObject&, TMessage& msg, bool&) {
    if (msg.Msg == kProbeMessage) first->SetActive(false);
  };
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(form.Panel->Received == 2);
  CHECK(form.Log.empty());
  CHECK_FALSE(first->Attached());
  CHECK(THookList::Instance().Count() == 0);
}

TEST_CASE("a handler may attach another hook to the same control") {
  THookForm form;
  TWindowHook* hook = form.AddHook("A");
  TWindowHook* added = nullptr;
  hook->BeforeMessage = [&](TObject&, TMessage& msg, bool&) {
    if (msg.Msg == kProbeMessage && !added) added = form.AddHook("N");
  };
  form.Probe();
  CHECK(form.Log == TLog{"Aa"});
  form.Log.clear();
  form.Probe();
  CHECK(form.Log == TLog{"Nb", "Na", "Aa"});
}

TEST_CASE("a freed control detaches its hook and leaves nothing behind") {
  THookForm form;
  TWindowHook hook(nullptr);
  int destroysSeen = 0;
  hook.AfterMessage = [&](TObject&, TMessage& msg, bool&) {
    if (msg.Msg == WM_DESTROY) ++destroysSeen;
  };
  hook.SetWinControl(form.Panel);
  CHECK(hook.Attached());

  delete form.Panel;
  form.Panel = nullptr;
  Application.ProcessMessages();
  CHECK(hook.WinControl() == nullptr);
  CHECK_FALSE(hook.Attached());
  CHECK(destroysSeen == 1);
  CHECK(THookList::Instance().Count() == 0);
}

TEST_CASE("the control's end reaches it even when a hook claims the message") {
  THookForm form;
  TWindowHook* hook = form.AddHook("A");
  hook->BeforeMessage = [](TObject&, TMessage&, bool& handled) { handled = true; };
  CHECK(form.Probe() == 0);
  CHECK(form.Panel->Received == 0);

  int destroys = 0;
  form.Panel->Destroys = &destroys;
  const HWND window = form.Panel->Hwnd();
  DestroyWindow(window);
  Application.ProcessMessages();
  CHECK(destroys == 1);
  CHECK(TWindow::FromHandle(window) == nullptr);
  CHECK_FALSE(form.Panel->HandleAllocated());

  delete form.Panel;
  form.Panel = nullptr;
  CHECK(hook->WinControl() == nullptr);
  CHECK(THookList::Instance().Count() == 0);
}

TEST_CASE("a destroyed form takes its hooks with it") {
  EnsureApplication();
  auto form = std::make_unique<TForm>(nullptr);
  auto* hook = new TWindowHook(form.get());
  int seen = 0;
  hook->BeforeMessage = [&](TObject&, TMessage&, bool&) { ++seen; };
  hook->SetWinControl(form.get());
  form->Show();
  CHECK(seen > 0);
  form.reset();
  Application.ProcessMessages();
  CHECK(THookList::Instance().Count() == 0);
}

TEST_CASE("a re-created window is hooked again") {
  THookForm form;
  TWindowHook* hook = form.AddHook("A");
  const HWND before = form.Panel->Hwnd();
  form.Panel->RecreateWnd();
  Application.ProcessMessages();
  CHECK(form.Panel->Hwnd() != before);
  CHECK(hook->Attached());
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(form.Log == TLog{"Ab", "Aa"});
}

TEST_CASE("an exception of a handler is reported and the message goes on to the control") {
  THookForm form;
  TWindowHook* hook = form.AddHook("A");
  hook->BeforeMessage = [](TObject&, TMessage& msg, bool&) {
    if (msg.Msg == kProbeMessage) throw std::runtime_error("hook failed");
  };
  TMessageBoxCloser closer(Application.Title());
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(closer.Seen());
  CHECK(closer.Text().find("hook failed") != std::string::npos);
  CHECK(form.Log == TLog{"Aa"});
}

TEST_CASE("Active is a wish kept without a control and carried to the next one") {
  THookForm form;
  TWindowHook hook(nullptr);
  CHECK(hook.Active());
  CHECK_FALSE(hook.Attached());
  hook.SetActive(false);
  hook.SetWinControl(form.Panel);
  CHECK_FALSE(hook.Attached());
  hook.SetActive(true);
  CHECK(hook.Attached());
  hook.SetWinControl(nullptr);
  CHECK(hook.Active());
  CHECK(THookList::Instance().Count() == 0);
}

TEST_CASE("IsForm binds the hook to its owning form and is read back only for it") {
  THookForm form;
  auto* hook = new TWindowHook(&form.Form);
  hook->SetWinControl(form.Panel);
  CHECK_FALSE(hook->IsForm());

  hook->SetIsForm(true);
  CHECK(hook->WinControl() == &form.Form);
  CHECK(hook->IsForm());
  CHECK(hook->Attached());

  TWindowHook orphan(nullptr);
  orphan.SetIsForm(true);
  CHECK(orphan.WinControl() == nullptr);
}

TEST_CASE("a hook being loaded attaches only once loading is over") {
  THookForm form;
  auto* hook = new TWindowHook(&form.Form);
  hook->BeginLoading();
  hook->SetIsForm(true);
  hook->SetActive(true);
  CHECK_FALSE(hook->Attached());
  hook->Loaded();
  CHECK(hook->Attached());
  CHECK(hook->WinControl() == &form.Form);
}

TEST_CASE("a hook whose owner is being torn down is no longer called") {
  THookForm form;
  TComponent owner(nullptr);
  auto* hook = new TWindowHook(&owner);
  int seen = 0;
  hook->BeforeMessage = [&](TObject&, TMessage& msg, bool&) {
    if (msg.Msg == kProbeMessage) ++seen;
  };
  hook->SetWinControl(form.Panel);
  form.Probe();
  CHECK(seen == 1);

  owner.Destroying();
  CHECK(form.Probe() == kProbeAnswer);
  CHECK(seen == 1);
}
