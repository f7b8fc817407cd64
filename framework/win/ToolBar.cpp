#include "ToolBar.h"

#include <algorithm>

#include "PropertyTable.h"

namespace retrove {

namespace {

BYTE ButtonState(const TToolButton& button) {
  return static_cast<BYTE>((button.Enabled() ? TBSTATE_ENABLED : 0) | (button.Down() ? TBSTATE_CHECKED : 0));
}

bool InGroup(const TToolButton* button) {
  return button->Grouped() && button->Style() == tbsCheck;
}

}  // namespace

const TClassInfo& TToolBar::StaticClassInfo() {
  static const TClassInfo info("TToolBar", &TWinControl::StaticClassInfo(), {});
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 26);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  for (TToolButton* button : FButtons) button->FToolBar = nullptr;
  if (FImages) FImages->Unsubscribe(this);
}

void TToolBar::SetImages(TImageList* images) {
  if (FImages) FImages->Unsubscribe(this);
  FImages = images;
  if (images) {
    images->FreeNotification(this);
    images->Subscribe(this, [this] { ApplyImages(); });
  }
  ApplyImages();
}

void TToolBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = TOOLBARCLASSNAMEA;
  params.Style |= WS_CLIPCHILDREN | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE |
                  CCS_NODIVIDER;
}

void TToolBar::HandleCreated() {
  SendMessageA(Hwnd(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ApplyImages();
  AddButtonsToWindow();
}

void TToolBar::ApplyImages() {
  if (!HandleAllocated()) return;
  SendMessageA(Hwnd(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
  Invalidate();
}

void TToolBar::AddButton(TToolButton* button) {
  button->FCommand = FNextCommand++;
  FButtons.push_back(button);
  ButtonsChanged();
}

void TToolBar::RemoveButton(TToolButton* button) {
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), button), FButtons.end());
  if (!ComponentState().Contains(csDestroying)) ButtonsChanged();
}

void TToolBar::ButtonsChanged() {
  if (!HandleAllocated()) return;
  while (SendMessageA(Hwnd(), TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(Hwnd(), TB_DELETEBUTTON, 0, 0);
  AddButtonsToWindow();
}

void TToolBar::AddButtonsToWindow() {
  std::vector<TBBUTTON> buttons;
  for (const TToolButton* button : FButtons) {
    TBBUTTON item{};
    const bool separator = button->Style() == tbsSeparator;
    item.iBitmap = separator ? button->Width() : button->ImageIndex();
    item.idCommand = button->FCommand;
    item.fsState = ButtonState(*button);
    item.fsStyle = static_cast<BYTE>(separator ? BTNS_SEP : button->Style() == tbsCheck ? BTNS_CHECK : BTNS_BUTTON);
    buttons.push_back(item);
  }
  if (!buttons.empty())
    SendMessageA(Hwnd(), TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  PlaceControls();
}

void TToolBar::UpdateButton(const TToolButton& button) {
  if (HandleAllocated()) SendMessageA(Hwnd(), TB_SETSTATE, button.FCommand, MAKELONG(ButtonState(button), 0));
}

void TToolBar::ReleaseOthersInGroup(const TToolButton& button) {
  const int index = IndexOf(button);
  auto release = [this](int i) {
    TToolButton* other = FButtons[static_cast<size_t>(i)];
    if (!other->FDown) return;
    other->FDown = false;
    UpdateButton(*other);
  };
  for (int i = index - 1; i >= 0 && InGroup(FButtons[static_cast<size_t>(i)]); --i) release(i);
  for (int i = index + 1; i < ButtonCount() && InGroup(FButtons[static_cast<size_t>(i)]); ++i) release(i);
}

int TToolBar::IndexOf(const TToolButton& button) const {
  return static_cast<int>(std::find(FButtons.begin(), FButtons.end(), &button) - FButtons.begin());
}

RECT TToolBar::ButtonRect(const TToolButton& button) {
  RECT rect{};
  SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(IndexOf(button)), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void TToolBar::AlignControls(RECT& rect) {
  TWinControl::AlignControls(rect);
  PlaceControls();
}

void TToolBar::PlaceControls() {
  if (!HandleAllocated()) return;
  for (const TToolButton* button : FButtons) {
    if (!button->Control()) continue;
    const RECT rect = ButtonRect(*button);
    TWinControl* control = button->Control();
    const int top = std::max(0, (Height() - control->Height()) / 2);
    control->SetBounds(rect.left, top, rect.right - rect.left, control->Height());
  }
}

bool TToolBar::OnCommand(WORD, WORD id) {
  for (TToolButton* button : FButtons) {
    if (button->FCommand != id) continue;
    button->Click();
    return true;
  }
  return false;
}

const std::string* TToolBar::HintOf(UINT_PTR command) const {
  for (const TToolButton* button : FButtons)
    if (static_cast<UINT_PTR>(button->FCommand) == command) return &button->Hint();
  return nullptr;
}

bool TToolBar::OnNotify(NMHDR& header, LRESULT&) {
  if (header.code == TBN_GETINFOTIPA) {
    auto& tip = reinterpret_cast<NMTBGETINFOTIPA&>(header);
    const std::string* hint = HintOf(static_cast<UINT_PTR>(tip.iItem));
    if (hint && ShowHint() && tip.pszText && tip.cchTextMax > 0) lstrcpynA(tip.pszText, hint->c_str(), tip.cchTextMax);
    return true;
  }
  if (header.code == TBN_GETINFOTIPW) {
    auto& tip = reinterpret_cast<NMTBGETINFOTIPW&>(header);
    const std::string* hint = HintOf(static_cast<UINT_PTR>(tip.iItem));
    if (hint && ShowHint() && tip.pszText && tip.cchTextMax > 0)
      MultiByteToWideChar(CP_ACP, 0, hint->c_str(), -1, tip.pszText, tip.cchTextMax);
    return true;
  }
  return false;
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FImages) {
    FImages = nullptr;
    ApplyImages();
  }
}

}  // namespace retrove
