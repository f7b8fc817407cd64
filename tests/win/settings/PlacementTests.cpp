#include <doctest/doctest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "Form.h"
#include "GuiTesting.h"
#include "Label.h"
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

TEST_CASE("a window stored minimised comes back minimised") {
  const TTestKey key;
  key.PutText("Placement", L"ShowCmd", L"2");
  key.PutText("Placement", L"NormPos", L"100,100,600,500");
  TStoredForm form(key);
  form.Form->Show();
  CHECK(IsIconic(form.Form->Hwnd()));
  const RECT normal = form.NormalRect();
  CHECK(normal.left == 100);
  CHECK(normal.bottom == 500);
}

namespace {

MINMAXINFO AskedLimits(HWND window) {
  MINMAXINFO info{};
  info.ptMaxTrackSize = {9999, 9999};
  info.ptMaxPosition = {-4, -4};
  SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info;
}

LRESULT HitOnRightBorder(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(frame.right - 1, (frame.top + frame.bottom) / 2));
}

}  // namespace

TEST_CASE("a form that may not be resized keeps its size, and gets its maximise icon back only if it had one") {
  const TTestKey key;
  TStoredForm form(key);
  form.Form->SetBounds(50, 50, 400, 300);
  form.Form->Show();
  REQUIRE(HitOnRightBorder(form.Form->Hwnd()) == HTRIGHT);

  form.Store->SetPreventResize(true);
  Application.ProcessMessages();
  CHECK_FALSE(form.Form->BorderIcons().Contains(biMaximize));
  CHECK(HitOnRightBorder(form.Form->Hwnd()) == HTNOWHERE);
  const MINMAXINFO fixed = AskedLimits(form.Form->Hwnd());
  CHECK(fixed.ptMinTrackSize.x == 400);
  CHECK(fixed.ptMaxTrackSize.y == 300);

  form.Store->SetPreventResize(false);
  Application.ProcessMessages();
  CHECK(form.Form->BorderIcons().Contains(biMaximize));
  CHECK(HitOnRightBorder(form.Form->Hwnd()) == HTRIGHT);

  form.Form->SetBorderIcons({biSystemMenu});
  form.Store->SetPreventResize(true);
  form.Store->SetPreventResize(false);
  CHECK_FALSE(form.Form->BorderIcons().Contains(biMaximize));
}

TEST_CASE("size limits replace only the system's values they set, and none once all are 0 again") {
  const TTestKey key;
  TStoredForm form(key);
  form.Form->Handle();
  form.Store->MinMaxInfo().SetLimit(TSizeLimit::MinTrackWidth, 320);
  form.Store->MinMaxInfo().SetLimit(TSizeLimit::MaxPosTop, 10);
  const MINMAXINFO limited = AskedLimits(form.Form->Hwnd());
  CHECK(limited.ptMinTrackSize.x == 320);
  CHECK(limited.ptMaxPosition.y == 10);
  CHECK(limited.ptMaxPosition.x == -4);
  CHECK(limited.ptMaxTrackSize.x == 9999);

  TSizeLimits none;
  form.Store->SetMinMaxInfo(none);
  CHECK(AskedLimits(form.Form->Hwnd()).ptMinTrackSize.x == 0);
}

TEST_CASE("stored property lines follow their components: a freed component's line goes and is not written") {
  const TTestKey key;
  TStoredForm form(key);
  auto* kept = new TLabel(form.Form.get());
  kept->SetName("Kept");
  auto* freed = new TLabel(form.Form.get());
  freed->SetName("Freed");
  form.Store->StoredProps().Add("Kept.Caption");
  form.Store->StoredProps().Add("Freed.Caption");
  form.Store->StoredProps().Add("Absent.Caption");
  form.Store->Loaded();
  CHECK(form.Store->StoredProps().Count() == 2);

  delete freed;
  REQUIRE(form.Store->StoredProps().Count() == 1);
  kept->SetName("Renamed");
  kept->SetCaption("stored");
  form.Store->SetActive(false);
  form.Store->StoreFormPlacement();
  CHECK(form.Store->StoredProps().Strings(0) == "Renamed.Caption");
  CHECK(key.Get("Placement", "Renamed_Caption") == "stored");
  CHECK(key.Get("Placement", "Freed_Caption") == "(missing)");
}
