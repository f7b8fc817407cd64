#include <doctest/doctest.h>

#include "Application.h"
#include "GuiTesting.h"
#include "PropertyTable.h"
#include "TestForm.h"

using namespace retrove;
using namespace retrove::test;

TEST_CASE("aligned controls fill the client area and follow a resize") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  RECT client;
  GetClientRect(form.Handle(), &client);

  CHECK(ChildRect(form.Toolbar->Hwnd()).top == 0);
  CHECK(form.Toolbar->Height() == 26);
  CHECK(form.Toolbar->Width() == client.right);
  CHECK(ChildRect(form.Panel1->Hwnd()).top == 26);
  CHECK(ChildRect(form.StatusBar->Hwnd()).bottom == client.bottom);
  const RECT list = ChildRect(form.ListDel->Hwnd());
  CHECK(list.left == 195);
  CHECK(list.top == 46);
  CHECK(list.right == client.right);
  CHECK(list.bottom == client.bottom - 19);
  // The label fills the panel inside its one-pixel bevel.
  CHECK(ChildRect(form.LRightView->Hwnd()).left == 1);
  CHECK(form.LRightView->Width() == client.right - 2);

  SUBCASE("the user resizes the window") {
    SetWindowPos(form.Hwnd(), nullptr, 0, 0, 800, 500, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(form.Hwnd(), &client);
    CHECK(ChildRect(form.ListDel->Hwnd()).right == client.right);
    CHECK(ChildRect(form.StatusBar->Hwnd()).bottom == client.bottom);
    CHECK(form.Width() == 800);
  }
  SUBCASE("hiding the tool bar moves the panes up") {
    form.Toolbar->SetVisible(false);
    CHECK_FALSE(IsWindowVisible(form.Toolbar->Hwnd()));
    CHECK(ChildRect(form.Panel1->Hwnd()).top == 0);
    CHECK(ChildRect(form.ListDel->Hwnd()).top == 20);
  }
}

TEST_CASE("published properties are reached by name") {
  EnsureApplication();
  TTestForm form(nullptr);
  form.Show();
  auto set = [](TObject& object, const char* name, int64_t value) {
    const TPropInfo* prop = FindPropInfo(object, name);
    REQUIRE(prop);
    SetOrdProp(object, *prop, value);
  };

  set(*form.BDetails, "Down", 1);
  CHECK(form.BDetails->Down());
  CHECK_FALSE(form.BLargeIcons->Down());
  CHECK((ToolButtonState(*form.Toolbar, 7) & TBSTATE_CHECKED) != 0);
  CHECK_FALSE((ToolButtonState(*form.Toolbar, 4) & TBSTATE_CHECKED) != 0);

  set(*form.MDetails, "Checked", 1);
  CHECK((GetMenuState(form.MainMenu1->Handle(), form.MDetails->Command(), MF_BYCOMMAND) & MF_CHECKED) != 0);
  CHECK_FALSE(form.MLargeIcons->Checked());

  set(*form.StatusBar, "Visible", 0);
  CHECK_FALSE(IsWindowVisible(form.StatusBar->Hwnd()));
  CHECK(GetOrdProp(*form.StatusBar, *FindPropInfo(*form.StatusBar, "Visible")) == 0);

  const TPropInfo* viewStyle = FindPropInfo(*form.ListDel, "ViewStyle");
  REQUIRE(viewStyle);
  CHECK(GetEnumName(*viewStyle, GetOrdProp(*form.ListDel, *viewStyle)) == "vsReport");
  SetOrdProp(*form.ListDel, *viewStyle, GetEnumValue(*viewStyle, "vsList"));
  CHECK((GetWindowLongA(form.ListDel->Hwnd(), GWL_STYLE) & LVS_TYPEMASK) == LVS_LIST);
}

TEST_CASE("a form runs OnCreate once, and OnShow before it becomes visible") {
  EnsureApplication();
  TApplication application;
  TTestDialog* dialog = nullptr;
  int created = 0;
  int shown = 0;
  bool visibleInOnShow = true;
  struct TCountingDialog : TTestDialog {
    using TTestDialog::TTestDialog;
  };
  TCountingDialog* counting = nullptr;
  application.CreateForm(counting);
  dialog = counting;
  dialog->OnCreate = [&created](TObject&) { ++created; };
  dialog->AfterConstruction();  // already run by CreateForm: no second OnCreate
  CHECK(created == 0);
  dialog->OnShow = [&](TObject&) {
    ++shown;
    visibleInOnShow = IsWindowVisible(dialog->Hwnd());
  };
  dialog->Show();
  dialog->Show();
  CHECK(shown == 1);
  CHECK_FALSE(visibleInOnShow);
  // Centred on the work area.
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  CHECK(std::abs(dialog->Left() + dialog->Width() / 2 - (area.left + area.right) / 2) <= 1);
  CHECK(dialog->ClientWidth() == 296);
  CHECK(dialog->ClientHeight() == 175);
  dialog->Hide();
  dialog->Show();
  CHECK(shown == 2);
}

TEST_CASE("ShowModal runs until a button gives a result, with the other windows disabled") {
  EnsureApplication();
  TTestForm owner(nullptr);
  owner.Show();
  TTestDialog dialog(nullptr);
  bool ownerEnabledDuringModal = true;
  TTimer presser(nullptr);
  presser.SetInterval(30);
  presser.OnTimer = [&](TObject& timer) {
    static_cast<TTimer&>(timer).SetEnabled(false);
    ownerEnabledDuringModal = IsWindowEnabled(owner.Hwnd());
    SendMessageA(dialog.BOk->Hwnd(), BM_CLICK, 0, 0);
  };
  CHECK(dialog.ShowModal() == mrOk);
  CHECK_FALSE(ownerEnabledDuringModal);
  CHECK(IsWindowEnabled(owner.Hwnd()));
  CHECK_FALSE(IsWindowVisible(dialog.Hwnd()));

  SUBCASE("closing the window cancels") {
    presser.OnTimer = [&](TObject& timer) {
      static_cast<TTimer&>(timer).SetEnabled(false);
      PostMessageA(dialog.Hwnd(), WM_CLOSE, 0, 0);
    };
    presser.SetEnabled(true);
    CHECK(dialog.ShowModal() == mrCancel);
  }
  SUBCASE("Escape does nothing without a cancel button, Enter presses the default one") {
    presser.OnTimer = [&](TObject& timer) {
      static_cast<TTimer&>(timer).SetEnabled(false);
      PostMessageA(dialog.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(dialog.Hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    };
    presser.SetEnabled(true);
    CHECK(dialog.ShowModal() == mrOk);
  }
}

TEST_CASE("a form frees the components it owns, and their windows") {
  EnsureApplication();
  auto* form = new TTestForm(nullptr);
  form->Show();
  HWND list = form->ListDel->Hwnd();
  HWND toolbar = form->Toolbar->Hwnd();
  HMENU menu = form->MainMenu1->Handle();
  bool destroyEventSawList = false;
  form->OnDestroy = [form, list, &destroyEventSawList](TObject&) {
    destroyEventSawList = form->FindComponent("ListDel") && IsWindow(list);
  };
  struct TProbe : TComponent {
    TProbe(TComponent* owner, bool& gone) : TComponent(owner), FGone(gone) {}
    ~TProbe() override { FGone = true; }
    bool& FGone;
  };
  bool probeGone = false;
  new TProbe(form, probeGone);

  SUBCASE("a control freed alone leaves its parent") {
    const int before = form->ControlCount();
    delete form->TreeDel;
    CHECK(form->ControlCount() == before - 1);
    CHECK(ChildRect(list).left == 0);  // the list took the tree's room
  }
  delete form;
  CHECK(destroyEventSawList);
  CHECK(probeGone);
  CHECK_FALSE(IsWindow(list));
  CHECK_FALSE(IsWindow(toolbar));
  CHECK_FALSE(IsMenu(menu));
}
