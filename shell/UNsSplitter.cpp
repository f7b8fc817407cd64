#include "UNsSplitter.h"

#include "PropertyTable.h"
#include "Screen.h"

namespace retrove {

namespace {

constexpr int kDefaultMinSize = 20;

}  // namespace

const TClassInfo& TNsPane::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TNsPane>("TNsPane", TNsCustomGroup::StaticClassInfo())
          .Enumeration("FrameStyle", &TNsPane::FrameStyle, &TNsPane::SetFrameStyle, kNsFrameStyleNames, nsfsLowered)
          .Integer("MinSize", &TNsPane::MinSize, &TNsPane::SetMinSize, kDefaultMinSize)
          .Integer("Index", &TNsPane::Index, nullptr)
          .Build();
  return info;
}

TNsPane::TNsPane(TComponent* owner, int index) : TNsCustomGroup(owner, nsfsLowered), FIndex(index) {}

const TClassInfo& TNsSplitter::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TNsSplitter>("TNsSplitter", TWinControl::StaticClassInfo())
          .Integer("Position", &TNsSplitter::Position, &TNsSplitter::SetPosition, 65)
          .Enumeration("Style", &TNsSplitter::Style, &TNsSplitter::SetStyle, {"nsstVertical", "nsstHorizontal"},
                       nsstVertical)
          .Integer("SplitterWidth", &TNsSplitter::SplitterWidth, &TNsSplitter::SetSplitterWidth, 3)
          .Integer("Pane1Color", &TNsSplitter::PaneColorOf<0>, &TNsSplitter::SetPaneColorOf<0>)
          .Integer("Pane2Color", &TNsSplitter::PaneColorOf<1>, &TNsSplitter::SetPaneColorOf<1>)
          .Enumeration("Pane1FrameStyle", &TNsSplitter::PaneFrameStyleOf<0>, &TNsSplitter::SetPaneFrameStyleOf<0>,
                       kNsFrameStyleNames)
          .Enumeration("Pane2FrameStyle", &TNsSplitter::PaneFrameStyleOf<1>, &TNsSplitter::SetPaneFrameStyleOf<1>,
                       kNsFrameStyleNames)
          .Integer("Pane1MinSize", &TNsSplitter::PaneMinSizeOf<0>, &TNsSplitter::SetPaneMinSizeOf<0>)
          .Integer("Pane2MinSize", &TNsSplitter::PaneMinSizeOf<1>, &TNsSplitter::SetPaneMinSizeOf<1>)
          .Build();
  return info;
}

TNsSplitter::TNsSplitter(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 140);
  for (int index : {0, 1}) {
    FPanes[index] = new TNsPane(this, index);
    FPanes[index]->SetParent(this);
  }
}

void TNsSplitter::SetName(const std::string& name) {
  TWinControl::SetName(name);
  if (!ComponentState().Contains(csLoading)) NamePanes();
}

void TNsSplitter::NamePanes() {
  for (TNsPane* pane : FPanes)
    if (pane) pane->SetName(Name().empty() ? "" : Name() + "_pane" + std::to_string(pane->Index() + 1));
}

TNsPane* TNsSplitter::Pane(int index) const {
  return index == 0 || index == 1 ? FPanes[index] : nullptr;
}

void TNsSplitter::SetPosition(int position) {
  if (position == FPosition) return;
  FPosition = position;
  LayoutPanes();
}

void TNsSplitter::SetStyle(TNsSplitterStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  LayoutPanes();
}

void TNsSplitter::SetSplitterWidth(int width) {
  if (width == FSplitterWidth) return;
  FSplitterWidth = width;
  LayoutPanes();
}

TColor TNsSplitter::PaneColor(int index) const {
  const TNsPane* pane = Pane(index);
  return pane ? pane->Color() : clBtnFace;
}

void TNsSplitter::SetPaneColor(int index, TColor color) {
  if (TNsPane* pane = Pane(index)) pane->SetColor(color);
}

TNsFrameStyle TNsSplitter::PaneFrameStyle(int index) const {
  const TNsPane* pane = Pane(index);
  return pane ? pane->FrameStyle() : nsfsLowered;
}

void TNsSplitter::SetPaneFrameStyle(int index, TNsFrameStyle style) {
  if (TNsPane* pane = Pane(index)) pane->SetFrameStyle(style);
}

int TNsSplitter::PaneMinSize(int index) const {
  const TNsPane* pane = Pane(index);
  return pane ? pane->MinSize() : kDefaultMinSize;
}

void TNsSplitter::SetPaneMinSize(int index, int size) {
  if (TNsPane* pane = Pane(index)) pane->SetMinSize(size);
}

void TNsSplitter::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

// The panes' windows are made next, at the bounds given here.
void TNsSplitter::HandleCreated() {
  LayoutPanes();
}

void TNsSplitter::Loaded() {
  TWinControl::Loaded();
  NamePanes();
  LayoutPanes();
}

TSplit TNsSplitter::Measures() const {
  const RECT client = ClientRect();
  return {client.right, client.bottom, FStyle, FPosition, FSplitterWidth, PaneMinSize(0), PaneMinSize(1)};
}

void TNsSplitter::LayoutPanes() {
  if (!FPanes[0] || !HandleAllocated() || ComponentState().Contains(csLoading)) return;
  const TPaneBoxes boxes = PaneBoxes(Measures());
  const TBox* box = &boxes.Pane1;
  for (TNsPane* pane : FPanes) {
    if (pane) pane->SetBounds(box->Left, box->Top, box->Right - box->Left, box->Bottom - box->Top);
    box = &boxes.Pane2;
  }
}

void TNsSplitter::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  for (TNsPane*& pane : FPanes)
    if (pane == component) pane = nullptr;
}

LRESULT TNsSplitter::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_SIZE:
      if (OnResize) OnResize(*this);
      LayoutPanes();
      break;
    case WM_SETCURSOR:
      if (SetCursorOverBar(wParam, lParam)) return TRUE;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second press on the bar starts a drag as well
      MouseDown(true, lParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      MouseDown(false, lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (FDragging) MoveDrag(AxisCoordinate(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (FDragging) DropDrag(AxisCoordinate(lParam));
      return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      EndDrag();
      break;
  }
  return TWinControl::WndProc(message, wParam, lParam);
}

// The bar is the splitter's own client area; the panes cover the rest.
bool TNsSplitter::SetCursorOverBar(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != Hwnd() || LOWORD(lParam) != HTCLIENT) return false;
  if (!Screen.ApplyCursor()) SetCursor(LoadCursorA(nullptr, FStyle == nsstVertical ? IDC_SIZEWE : IDC_SIZENS));
  return true;
}

}  // namespace retrove
