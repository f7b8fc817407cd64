#include "Edit.h"

#include <vector>

#include "PropertyTable.h"

namespace retrove {

TEdit::TEdit(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 121, 21); }

const TClassInfo& TEdit::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TEdit>("TEdit", TWinControl::StaticClassInfo()).Build();
  return info;
}

void TEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = "EDIT";
  params.Style |= WS_TABSTOP | ES_AUTOHSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

std::string TEdit::Text() {
  if (!HandleAllocated()) return Caption();
  std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(Hwnd())) + 1);
  const int length = GetWindowTextA(Hwnd(), text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), static_cast<size_t>(length));
}

// The box's text may differ from the caption last set, once typed into.
void TEdit::SetText(const std::string& text) {
  SetCaption(text);
  if (HandleAllocated()) SetWindowTextA(Hwnd(), text.c_str());
}

void TEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

}  // namespace retrove
