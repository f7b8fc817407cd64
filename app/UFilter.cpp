#include "UFilter.h"

namespace retrove {

namespace {

TLabel* NewLabel(TForm& form, const char* name, int top, const std::string& caption) {
  auto* label = new TLabel(&form);
  label->SetName(name);
  label->SetParent(&form);
  label->SetBounds(12, top, 0, 0);
  label->SetCaption(caption);
  return label;
}

TButton* NewButton(TForm& form, const char* name, int left, const std::string& caption, TModalResult result) {
  auto* button = new TButton(&form);
  button->SetName(name);
  button->SetParent(&form);
  button->SetBounds(left, 100, 75, 25);
  button->SetCaption(caption);
  button->SetModalResult(result);
  return button;
}

}  // namespace

TFFilter::TFFilter(TComponent* owner) : TForm(owner) {
  SetName("FFilter");
  SetCaption("Filter");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  SetClientSize(340, 136);
  LPrompt = NewLabel(*this, "LPrompt", 12, "Show only the deleted files whose names match:");
  EPattern = new TEdit(this);
  EPattern->SetName("EPattern");
  EPattern->SetParent(this);
  EPattern->SetBounds(12, 32, 316, 21);
  LHint = NewLabel(*this, "LHint", 60, "* stands for any characters and ? for one; separate patterns with ;.");
  NewLabel(*this, "LEmpty", 76, "Leave the box empty to show every file.");
  BOk = NewButton(*this, "BOk", 172, "OK", mrOk);
  BOk->SetDefault(true);
  BCancel = NewButton(*this, "BCancel", 253, "Cancel", mrCancel);
  BCancel->SetCancel(true);
  OnShow = [this](TObject&) {
    EPattern->SetFocus();
    EPattern->SelectAll();
  };
}

bool TFFilter::Execute(std::string& pattern) {
  EPattern->SetText(pattern);
  if (ShowModal() != mrOk) return false;
  pattern = EPattern->Text();
  return true;
}

}  // namespace retrove
