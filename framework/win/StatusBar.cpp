#include "StatusBar.h"

#include <commctrl.h>

#include "Exceptions.h"
#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TStatusBar::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TStatusBar>("TStatusBar", TWinControl::StaticClassInfo())
          .Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false)
          .String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
          .Build();
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 19);
  SetAlign(alBottom);
}

const TStatusBar::TPanelInfo& TStatusBar::Panel(int index) const {
  if (index < 0 || index >= PanelCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FPanels[static_cast<size_t>(index)];
}

int TStatusBar::AddPanel(int width) {
  FPanels.push_back({{}, width});
  ApplyParts();
  return PanelCount() - 1;
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  const_cast<TPanelInfo&>(Panel(index)).Text = text;
  ApplyText(index);
}

void TStatusBar::SetPanelWidth(int index, int width) {
  const_cast<TPanelInfo&>(Panel(index)).Width = width;
  ApplyParts();
}

void TStatusBar::SetSimplePanel(bool simple) {
  FSimplePanel = simple;
  if (HandleAllocated()) SendMessageA(Hwnd(), SB_SIMPLE, simple, 0);
  ApplyText(-1);
}

void TStatusBar::SetSimpleText(const std::string& text) {
  FSimpleText = text;
  ApplyText(-1);
}

void TStatusBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = STATUSCLASSNAMEA;
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP;
}

void TStatusBar::HandleCreated() {
  SendMessageA(Hwnd(), SB_SIMPLE, FSimplePanel, 0);
  ApplyParts();
  ApplyText(-1);
}

void TStatusBar::ApplyParts() {
  if (!HandleAllocated()) return;
  std::vector<int> edges;
  int right = 0;
  for (const TPanelInfo& panel : FPanels) edges.push_back(right += panel.Width);
  if (!edges.empty()) edges.back() = -1;
  SendMessageA(Hwnd(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < PanelCount(); ++i) ApplyText(i);
}

void TStatusBar::ApplyText(int index) {
  if (!HandleAllocated()) return;
  const std::string& text = index < 0 ? FSimpleText : FPanels[static_cast<size_t>(index)].Text;
  const WPARAM part = index < 0 ? SB_SIMPLEID : static_cast<WPARAM>(index);
  SendMessageA(Hwnd(), SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace retrove
