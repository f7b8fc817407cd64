#include <doctest/doctest.h>

#include "Application.h"
#include "Exceptions.h"
#include "GuiTesting.h"
#include "Screen.h"
#include "TestForm.h"

using namespace retrove;
using namespace retrove::test;

TEST_CASE("an exception in a handler is reported in a message box and the program goes on") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.MRefresh->OnClick = [](TObject&) { throw EInvalidOperation("Cannot list this folder"); };
  form.Show();
  {
    TMessageBoxCloser closer("Retrove 97");
    // Through the window procedure, as a menu command arrives.
    SendMessageA(form.Handle(), WM_COMMAND, form.MRefresh->Command(), 0);
    CHECK(closer.Seen());
    CHECK(closer.Text() == "Cannot list this folder");
    CHECK(closer.HasIcon());
  }
  // The form still works after the report.
  form.MRefresh->OnClick = [&form](TObject&) { ++form.RefreshClicks; };
  SendMessageA(form.Handle(), WM_COMMAND, form.MRefresh->Command(), 0);
  CHECK(form.RefreshClicks == 1);
}

TEST_CASE("a plain message is captioned with the title and has no icon") {
  EnsureApplication();
  TMessageBoxCloser closer("Retrove 97");
  Application.ShowMessage("Unable to Retrove REPORT.TXT");
  CHECK(closer.Seen());
  CHECK(closer.Text() == "Unable to Retrove REPORT.TXT");
  CHECK_FALSE(closer.HasIcon());
}

TEST_CASE("ProcessMessages handles every queued message and returns") {
  EnsureApplication();
  TTestForm form(nullptr);
  HWND window = form.Handle();
  for (int i = 0; i < 3; ++i) PostMessageA(window, WM_COMMAND, form.MRetrove->Command(), 0);
  CHECK(form.RetroveClicks == 0);
  Application.ProcessMessages();
  CHECK(form.RetroveClicks == 3);
  CHECK_FALSE(Application.Terminated());
}

TEST_CASE("the cursor guard puts back the cursor it found") {
  CHECK(Screen.Cursor() == crDefault);
  {
    TCursorGuard busy(crHourGlass);
    CHECK(Screen.Cursor() == crHourGlass);
    {
      TCursorGuard inner(crArrow);
      CHECK(Screen.Cursor() == crArrow);
    }
    CHECK(Screen.Cursor() == crHourGlass);
  }
  CHECK(Screen.Cursor() == crDefault);
}

TEST_CASE("the first form created is the main form and closing it ends Run") {
  EnsureApplication();
  TApplication application;
  TTestForm* main = nullptr;
  TTestDialog* second = nullptr;
  application.CreateForm(main);
  application.CreateForm(second);
  CHECK(application.MainForm() == main);

  int queries = 0;
  main->OnCloseQuery = [&queries](TObject&, bool& canClose) { canClose = ++queries > 1; };
  TTimer closer(nullptr);
  closer.SetInterval(30);
  closer.OnTimer = [main](TObject&) { main->Close(); };
  application.Run();
  CHECK(application.Terminated());
  CHECK_FALSE(main->Visible());
  CHECK(queries == 2);  // the first close was refused and the loop went on
  CHECK_FALSE(IsWindowVisible(main->Hwnd()));
  // The queued WM_QUIT was taken by Run; nothing is left for the next loop.
  MSG message;
  CHECK_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

namespace {

// A form whose making fails half-way, after it has named itself, as a
// window that keeps itself in a global does.
class TFailingForm : public TTestDialog {
public:
  explicit TFailingForm(TComponent* owner) : TTestDialog(owner) {
    Made = this;
    throw EInvalidOperation("Cannot make the window");
  }
  static inline TFailingForm* Made = nullptr;
};

class TFailingCreateForm : public TTestDialog {
public:
  explicit TFailingCreateForm(TComponent* owner) : TTestDialog(owner) {
    OnCreate = [](TObject&) { throw EInvalidOperation("Cannot fill the window"); };
  }
};

}  // namespace

TEST_CASE("start-up failures: a form not made leaves nothing behind, a failing OnCreate is reported") {
  EnsureApplication();
  TApplication application;
  application.SetTitle("Retrove 97");
  TFailingForm::Made = nullptr;
  CHECK_THROWS_AS(application.CreateForm(TFailingForm::Made), EInvalidOperation);
  CHECK(TFailingForm::Made == nullptr);
  CHECK(application.ComponentCount() == 0);
  CHECK(application.MainForm() == nullptr);

  TFailingCreateForm* created = nullptr;
  {
    TMessageBoxCloser closer("Retrove 97");
    application.CreateForm(created);
    CHECK(closer.Seen());
    CHECK(closer.Text() == "Cannot fill the window");
  }
  REQUIRE(created != nullptr);
  CHECK(application.MainForm() == created);
}

TEST_CASE("a form's show handler: its exception is reported and the form shows; a close in it keeps it hidden") {
  EnsureApplication();
  TTestDialog dialog(nullptr);
  dialog.OnShow = [](TObject&) { throw EInvalidOperation("Cannot restore the settings"); };
  {
    TMessageBoxCloser closer("Retrove 97");
    dialog.Show();
    CHECK(closer.Seen());
    CHECK(closer.Text() == "Cannot restore the settings");
  }
  CHECK(IsWindowVisible(dialog.Hwnd()));
  dialog.Hide();

  dialog.OnShow = [&dialog](TObject&) { dialog.Close(); };
  dialog.Show();
  CHECK_FALSE(dialog.Visible());
  CHECK_FALSE(IsWindowVisible(dialog.Hwnd()));
}
