#pragma once

#include <functional>

#include "Handle.h"
#include "Set.h"
#include "WinControl.h"

namespace retrove {

class TMainMenu;
class TApplication;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition { poDesigned, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;

using TCloseQueryEvent = std::function<void(TObject& sender, bool& canClose)>;
using TCloseEvent = std::function<void(TObject& sender, TCloseAction& action)>;

// A top-level window built in code. Hidden until shown; the first form the
// application creates is its main form, and closing that one ends the
// message loop.
class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Runs OnCreate; the application calls it once the form is constructed.
  void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState state);

  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
  void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
  void SetClientSize(int width, int height);
  RECT ClientRect() const override;

  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);

  void Show();
  void Hide();
  // Shows the form modally and returns its ModalResult once it is set.
  TModalResult ShowModal();
  bool Modal() const { return FModal; }
  // Asks OnCloseQuery, then OnClose, then hides the form (or ends the
  // application, for the main form; or ends ShowModal).
  void Close();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult result) { FModalResult = result; }
  // Destroys the form once the messages now queued have been handled.
  void Release();

  // Handles a key that is a menu shortcut or the default/cancel button's key.
  bool IsShortCut(const MSG& message);
  // The tooltip window that shows the hints of the form's controls.
  HWND HintWindow();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;
  TCloseEvent OnClose;
  TNotifyEvent OnDestroy;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void VisibleChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TApplication& App() const;
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;
  void CenterOnScreen();
  void ShowWindowNow();
  bool ClickButton(bool defaultButton);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TMainMenu* FMenu = nullptr;
  TWinControl* FActiveControl = nullptr;
  bool FModal = false;
  bool FShowing = false;
  bool FCreated = false;
  bool FDestroyCalled = false;
  TModalResult FModalResult = mrNone;
  TWindowHandle FHintWindow;
};

}  // namespace retrove
