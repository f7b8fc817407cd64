#include "WinControl.h"

#include <commctrl.h>

#include <algorithm>

#include "Form.h"
#include "Menus.h"
#include "PropertyTable.h"
#include "Screen.h"

namespace retrove {

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info("TWinControl", &TControl::StaticClassInfo(), {});
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyWindowHandle();
  for (TControl* control : FControls) control->FParent = nullptr;
  FControls.clear();
}

HWND TWinControl::Handle() {
  if (!HandleAllocated()) CreateHandle();
  return Hwnd();
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  DestroyWindowHandle();
  CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.ClassName = "Retrove." + ClassName();
  params.Caption = Caption();
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) | (Enabled() ? 0 : WS_DISABLED);
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
  if (Parent()) {
    params.Parent = Parent()->Hwnd();
    FControlId = ++Parent()->FNextChildId;
    params.Id = FControlId;
  }
}

void TWinControl::CreateHandle() {
  if (HandleAllocated()) return;
  if (Parent()) {
    Parent()->Handle();
    if (HandleAllocated()) return;  // the parent made it along with its own
  }
  TCreateParams params;
  CreateParams(params);
  CreateWindowHandle(params);
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
  HandleCreated();
  for (TControl* control : std::vector<TControl*>(FControls))
    if (auto* child = dynamic_cast<TWinControl*>(control)) child->CreateHandle();
  Realign();
  UpdateHintTool();
}

void TWinControl::InsertControl(TControl* control) {
  FControls.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
  // A window cannot outlive its parent's; it is made again under the next one.
  if (auto* child = dynamic_cast<TWinControl*>(control)) child->DestroyWindowHandle();
  if (control->Align() != alNone) Realign();
}

void TWinControl::ControlInserted(TControl* control) {
  if (HandleAllocated())
    if (auto* child = dynamic_cast<TWinControl*>(control)) child->CreateHandle();
  if (control->Align() != alNone) Realign();
}

RECT TWinControl::ClientRect() const {
  RECT rect{0, 0, Width(), Height()};
  if (HandleAllocated()) GetClientRect(Hwnd(), &rect);
  return rect;
}

void TWinControl::Realign() {
  if (FAligning) return;
  FAligning = true;
  RECT rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(rect);
  FAligning = false;
}

void TWinControl::AlignControls(RECT& rect) {
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* control : FControls) {
      if (!control->Visible() || control->Align() != align) continue;
      const int width = std::max(0, static_cast<int>(rect.right - rect.left));
      const int height = std::max(0, static_cast<int>(rect.bottom - rect.top));
      switch (align) {
        case alTop:
          control->SetBounds(rect.left, rect.top, width, control->Height());
          rect.top += control->Height();
          break;
        case alBottom:
          control->SetBounds(rect.left, rect.bottom - control->Height(), width, control->Height());
          rect.bottom -= control->Height();
          break;
        case alLeft:
          control->SetBounds(rect.left, rect.top, control->Width(), height);
          rect.left += control->Width();
          break;
        case alRight:
          control->SetBounds(rect.right - control->Width(), rect.top, control->Width(), height);
          rect.right -= control->Width();
          break;
        default:
          control->SetBounds(rect.left, rect.top, width, height);
          break;
      }
    }
  }
}

bool TWinControl::Focused() const {
  return HandleAllocated() && GetFocus() == Hwnd();
}

void TWinControl::SetFocus() {
  ::SetFocus(Handle());
}

void TWinControl::Invalidate() {
  if (HandleAllocated()) InvalidateRect(Hwnd(), nullptr, TRUE);
}

void TWinControl::Repaint() {
  if (!HandleAllocated()) return;
  InvalidateRect(Hwnd(), nullptr, TRUE);
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(Handle(), message, wParam, lParam);
}

// The window's own notice of the move finds these bounds already stored and
// so cannot tell a resize: the children are laid out here.
void TWinControl::BoundsChanged() {
  if (HandleAllocated()) MoveWindow(Hwnd(), Left(), Top(), Width(), Height(), TRUE);
  Realign();
}

void TWinControl::VisibleChanged() {
  if (HandleAllocated()) ShowWindow(Hwnd(), Visible() ? SW_SHOW : SW_HIDE);
}

void TWinControl::EnabledChanged() {
  if (HandleAllocated()) EnableWindow(Hwnd(), Enabled());
}

void TWinControl::CaptionChanged() {
  if (HandleAllocated()) SetWindowTextA(Hwnd(), Caption().c_str());
}

void TWinControl::HintChanged() {
  UpdateHintTool();
}

void TWinControl::FontChanged() {
  if (HandleAllocated()) SendMessageA(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
  for (TControl* control : FControls) control->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  Invalidate();
  for (TControl* control : FControls)
    if (control->ParentColor()) control->ColorChanged();
}

HBRUSH TWinControl::ColorBrush() {
  if (!FBrush || FBrushColor != Color()) {
    FBrushColor = Color();
    FBrush.Reset(CreateSolidBrush(ColorToRGB(FBrushColor)));
  }
  return FBrush.Get();
}

LRESULT TWinControl::EraseBackground(HDC dc) {
  RECT rect;
  GetClientRect(Hwnd(), &rect);
  FillRect(dc, &rect, ColorBrush());
  return 1;
}

HBRUSH TWinControl::OnCtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font().Color()));
  SetBkColor(dc, ColorToRGB(Color()));
  return ColorBrush();
}

TWinControl* TWinControl::ChildById(UINT id) const {
  for (TControl* control : FControls)
    if (auto* child = dynamic_cast<TWinControl*>(control); child && child->FControlId == id) return child;
  return nullptr;
}

bool TWinControl::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      auto* child = dynamic_cast<TWinControl*>(FromHandle(reinterpret_cast<HWND>(lParam)));
      return lParam && child && child != this && child->OnCommand(HIWORD(wParam), LOWORD(wParam));
    }
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      auto* child = dynamic_cast<TWinControl*>(FromHandle(header.hwndFrom));
      return child && child != this && child->OnNotify(header, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto* child = dynamic_cast<TWinControl*>(FromHandle(reinterpret_cast<HWND>(lParam)));
      if (!child || child == this) return false;
      result = reinterpret_cast<LRESULT>(child->OnCtlColor(reinterpret_cast<HDC>(wParam)));
      return true;
    }
    default: {  // WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM
      TWinControl* child = wParam ? ChildById(static_cast<UINT>(wParam)) : nullptr;
      return child && child->OnOwnerDraw(message, lParam, result);
    }
  }
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: {
      LRESULT result = 0;
      if (Reflect(message, wParam, lParam, result)) return result;
      break;
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = DefaultHandler(message, wParam, lParam);
      WindowMoved();
      return result;
    }
    case WM_CONTEXTMENU:
      if (ShowPopupMenu(lParam)) return 0;
      break;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && Screen.ApplyCursor()) return TRUE;
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

void TWinControl::WindowMoved() {
  if (IsIconic(Hwnd())) return;
  RECT rect;
  GetWindowRect(Hwnd(), &rect);
  if (HWND parent = GetParent(Hwnd()); parent && (GetWindowLongA(Hwnd(), GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  const bool resized = rect.right - rect.left != Width() || rect.bottom - rect.top != Height();
  StoreBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  if (resized) Realign();
}

bool TWinControl::ShowPopupMenu(LPARAM position) {
  TPopupMenu* menu = PopupMenu();
  if (!menu) return false;
  POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  if (position == -1) {  // from the keyboard: the middle of the control
    RECT rect;
    GetWindowRect(Hwnd(), &rect);
    point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  menu->Popup(point.x, point.y, Hwnd());
  return true;
}

void TWinControl::UpdateHintTool() {
  TForm* form = ParentForm();
  if (!HandleAllocated() || !form || form == this || !form->HandleAllocated()) return;
  HWND hintWindow = form->HintWindow();
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = form->Hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(Hwnd());
  SendMessageA(hintWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  if (!ShowHint() || Hint().empty()) return;
  tool.lpszText = const_cast<char*>(Hint().c_str());
  SendMessageA(hintWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace retrove
