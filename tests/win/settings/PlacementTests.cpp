#include <doctest/doctest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "Form.h"
#include "GuiTesting.h"
#include "Placement.h"
#include "TestKey.h"

using namespace retrove;
using namespace retrove::test;

namespace {

// A form with its settings store, hooked as loading would leave it.
struct TStoredForm {
  explicit TStoredForm(const TTestKey& key) : Form(std::make_unique<TForm>(nullptr)) {
    EnsureApplication();
    Store = new TSettingsStore(Form.get());
    Store->SetIniFileName(key.Path);
    Store->SetIniSection("Placement");
    Store->Loaded();
  }

  RECT NormalRect() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Form->Hwnd(), &placement);
    return placement.rcNormalPosition;
  }

  std::unique_ptr<TForm> Form;
  TSettingsStore* Store;
};

}  // namespace

TEST_CASE("the placement is written on close and the window comes back where it was") {
  const TTestKey key;
  {
    TStoredForm first(key);
    first.Form->Show();
    first.Form->SetBounds(120, 90, 500, 350);
    bool canClose = true;
    first.Form->OnCloseQuery(*first.Form, canClose);
  }
  CHECK(key.Get("Placement", "NormPos") == "120,90,620,440");
  CHECK(key.Get("Placement", "ShowCmd") == "1");

  TStoredForm second(key);
  second.Form->Show();
  const RECT normal = second.NormalRect();
  CHECK(normal.left == 120);
  CHECK(normal.top == 90);
  CHECK(normal.right == 620);
  CHECK(normal.bottom == 440);
}

TEST_CASE("a stored window off every screen, or an inverted one, does not get lost") {
  const TTestKey key;
  key.PutText("Placement", L"ShowCmd", L"1");
  key.PutText("Placement", L"NormPos", L"-30000,-30000,-29500,-29600");
  {
    TStoredForm form(key);
    form.Form->Show();
    const RECT normal = form.NormalRect();
    CHECK(normal.right - normal.left == 500);
    CHECK(normal.left >= 0);
    CHECK(normal.top >= 0);
  }
  key.PutText("Placement", L"NormPos", L"400,300,100,100");
  TStoredForm form(key);
  form.Form->Handle();
  const RECT before = form.NormalRect();
  form.Form->Show();
  const RECT after = form.NormalRect();
  CHECK(after.left == before.left);
  CHECK(after.right == before.right);
}

TEST_CASE("a maximised window comes back maximised, also after a close before it was shown") {
  const TTestKey key;
  key.PutText("Placement", L"ShowCmd", L"3");
  key.PutText("Placement", L"NormPos", L"100,100,600,500");
  {
    TStoredForm form(key);
    form.Form->Show();
    CHECK(IsZoomed(form.Form->Hwnd()));
  }
  CHECK(key.Get("Placement", "ShowCmd") == "3");
  {
    TStoredForm hidden(key);
    hidden.Store->LoadFormPlacement();
  }
  CHECK(key.Get("Placement", "ShowCmd") == "3");
  key.PutText("Placement", L"ShowCmd", L"0x1FFFFFFFF");
  TStoredForm form(key);
  form.Form->Show();
  CHECK_FALSE(IsZoomed(form.Form->Hwnd()));
}
