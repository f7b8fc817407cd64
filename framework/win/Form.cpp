#include "Form.h"

#include <commctrl.h>

#include "Application.h"
#include "Button.h"
#include "Exceptions.h"
#include "Menus.h"
#include "PropertyTable.h"
#include "ShortCut.h"

namespace retrove {

namespace {

constexpr UINT kReleaseMessage = WM_APP + 0x3F0;

// Makes the windows of the thread other than `keep` unusable while a modal
// form runs, and gives them back afterwards.
class TModalDisabler {
public:
  explicit TModalDisabler(HWND keep) : FKeep(keep) {
    EnumThreadWindows(GetCurrentThreadId(), &TModalDisabler::Visit, reinterpret_cast<LPARAM>(this));
  }
  ~TModalDisabler() {
    for (HWND window : FDisabled) EnableWindow(window, TRUE);
  }

private:
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    auto& disabler = *reinterpret_cast<TModalDisabler*>(self);
    if (window != disabler.FKeep && IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      disabler.FDisabled.push_back(window);
    }
    return TRUE;
  }

  HWND FKeep;
  std::vector<HWND> FDisabled;
};

}  // namespace

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TForm>("TForm", TWinControl::StaticClassInfo())
          .String("Caption", &TForm::Caption, &TForm::SetCaption)
          .Enumeration("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
                       {"bsNone", "bsSingle", "bsSizeable", "bsDialog"}, bsSizeable)
          .Set("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons,
               {"biSystemMenu", "biMinimize", "biMaximize"}, 7)
          .Enumeration("Position", &TForm::Position, &TForm::SetPosition, {"poDesigned", "poScreenCenter"},
                       poDesigned)
          .Enumeration("WindowState", &TForm::WindowState, &TForm::SetWindowState,
                       {"wsNormal", "wsMinimized", "wsMaximized"}, wsNormal)
          .Integer("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
          .Integer("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
          .Build();
  return info;
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  TControl::SetVisible(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(200, 150, 400, 300);
}

TForm::~TForm() {
  Destroying();
  if (!FDestroyCalled && OnDestroy) {
    FDestroyCalled = true;
    OnDestroy(*this);
  }
  if (HandleAllocated()) ::SetMenu(Hwnd(), nullptr);
  if (FMenu) FMenu->Detach();
  FHintWindow.Reset();
  DestroyWindowHandle();
}

void TForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  if (OnCreate) OnCreate(*this);
}

TApplication& TForm::App() const {
  if (auto* application = dynamic_cast<TApplication*>(Owner())) return *application;
  return Application;
}

DWORD TForm::WindowStyle() const {
  DWORD style = WS_CLIPCHILDREN;
  switch (FBorderStyle) {
    case bsNone: style |= WS_POPUP; break;
    case bsSingle: style |= WS_CAPTION; break;
    case bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; break;
  }
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog) {
      if (FBorderIcons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
  }
  return style;
}

DWORD TForm::WindowExStyle() const {
  return FBorderStyle == bsDialog ? WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE : WS_EX_WINDOWEDGE;
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Background = 0;
  params.Style = WindowStyle();
  params.ExStyle = WindowExStyle();
  params.Parent = nullptr;
  params.Id = 0;
  TForm* mainForm = App().MainForm();
  if (mainForm && mainForm != this && mainForm->HandleAllocated()) params.Parent = mainForm->Hwnd();
}

void TForm::HandleCreated() {
  if (FMenu) FMenu->AttachTo(Hwnd());
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  FBorderStyle = style;
  RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  FBorderIcons = icons;
  RecreateWnd();
}

void TForm::SetWindowState(TWindowState state) {
  if (state == FWindowState) return;
  FWindowState = state;
  if (HandleAllocated() && IsWindowVisible(Hwnd()))
    ShowWindow(Hwnd(), state == wsMaximized ? SW_SHOWMAXIMIZED : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

RECT TForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WindowStyle(), FMenu != nullptr, WindowExStyle());
  return {0, 0, Width() - (frame.right - frame.left), Height() - (frame.bottom - frame.top)};
}

int TForm::ClientWidth() const {
  const RECT rect = ClientRect();
  return rect.right - rect.left;
}

int TForm::ClientHeight() const {
  const RECT rect = ClientRect();
  return rect.bottom - rect.top;
}

void TForm::SetClientSize(int width, int height) {
  SetBounds(Left(), Top(), Width() - ClientWidth() + width, Height() - ClientHeight() + height);
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) FMenu->Detach();
  FMenu = menu;
  if (menu) menu->FreeNotification(this);
  if (!HandleAllocated()) return;
  if (menu)
    menu->AttachTo(Hwnd());
  else
    ::SetMenu(Hwnd(), nullptr);
}

void TForm::SetActiveControl(TWinControl* control) {
  FActiveControl = control;
  if (control) {
    control->FreeNotification(this);
    if (HandleAllocated() && IsWindowVisible(Hwnd())) control->SetFocus();
  }
}

void TForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) BringWindowToTop(Hwnd());
}

void TForm::Hide() {
  SetVisible(false);
}

void TForm::VisibleChanged() {
  if (!Visible()) {
    if (HandleAllocated()) ShowWindow(Hwnd(), SW_HIDE);
    FShowing = false;
    return;
  }
  if (FShowing) return;
  FShowing = true;
  Handle();
  if (FPosition == poScreenCenter) CenterOnScreen();
  try {
    if (OnShow) OnShow(*this);
  } catch (...) {
    App().HandleException();
  }
  // The handler may have closed the form; it must not flash up afterwards.
  if (FShowing) ShowWindowNow();
}

void TForm::ShowWindowNow() {
  const int command = FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                      : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                    : SW_SHOWNORMAL;
  ShowWindow(Hwnd(), command);
  if (FActiveControl && FActiveControl->Visible() && FActiveControl->Enabled()) FActiveControl->SetFocus();
}

void TForm::CenterOnScreen() {
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
            Width(), Height());
}

TModalResult TForm::ShowModal() {
  if (FModal || Visible()) throw EInvalidOperation("Cannot make a visible window modal");
  FModal = true;
  FModalResult = mrNone;
  {
    TModalDisabler disabler(Handle());
    Show();
    while (FModalResult == mrNone) {
      App().HandleMessage();
      if (App().Terminated()) FModalResult = mrCancel;
    }
  }
  Hide();
  FModal = false;
  return FModalResult;
}

void TForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  if (!canClose) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(*this, action);
  if (action == caNone) return;
  if (FModal) {
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return;
  }
  if (App().MainForm() == this) {
    Hide();
    App().Terminate();
    return;
  }
  if (action == caMinimize && HandleAllocated())
    ShowWindow(Hwnd(), SW_MINIMIZE);
  else
    Hide();
  if (action == caFree) Release();
}

void TForm::Release() {
  PostMessageA(Handle(), kReleaseMessage, 0, 0);
}

bool TForm::IsShortCut(const MSG& message) {
  const TShortCut shortCut = ShortCutFromKey(static_cast<WORD>(message.wParam));
  if (FMenu && FMenu->IsShortCut(shortCut)) return true;
  if (message.wParam == VK_RETURN && shortCut == VK_RETURN) {
    // Enter presses the focused button, or else the default one.
    if (auto* focused = dynamic_cast<TButton*>(FromHandle(GetFocus())); focused && focused->ParentForm() == this) {
      focused->Click();
      return true;
    }
    return ClickButton(true);
  }
  if (message.wParam == VK_ESCAPE && shortCut == VK_ESCAPE) return ClickButton(false);
  return false;
}

bool TForm::ClickButton(bool defaultButton) {
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* button = dynamic_cast<TButton*>(Components(i));
    if (!button || !(defaultButton ? button->Default() : button->Cancel())) continue;
    if (!button->Visible() || !button->Enabled()) continue;
    button->Click();
    return true;
  }
  return false;
}

HWND TForm::HintWindow() {
  if (!FHintWindow) {
    FHintWindow.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                      Handle(), nullptr, GetModuleHandleA(nullptr), nullptr));
  }
  return FHintWindow.Get();
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND:
      if (lParam == 0 && FMenu && FMenu->DispatchCommand(LOWORD(wParam))) return 0;
      break;
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SIZE:
      FWindowState = wParam == SIZE_MAXIMIZED ? wsMaximized : wParam == SIZE_MINIMIZED ? wsMinimized : wsNormal;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && FActiveControl && FActiveControl->HandleAllocated() &&
          IsWindowEnabled(FActiveControl->Hwnd())) {
        FActiveControl->SetFocus();
        return 0;
      }
      break;
    case kReleaseMessage:
      delete this;
      return 0;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

void TForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == FMenu) SetMenu(nullptr);
  if (component == FActiveControl) FActiveControl = nullptr;
}

}  // namespace retrove
