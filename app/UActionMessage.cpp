#include "UActionMessage.h"

namespace retrove {

TFActionMessage* FActionMessage = nullptr;

TFActionMessage::TFActionMessage(TComponent* owner) : TForm(owner) {
  FActionMessage = this;
  SetName("FActionMessage");
  SetCaption("Retroving");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  SetClientSize(375, 108);
  Animate1 = new TAnimate(this);
  Animate1->SetName("Animate1");
  Animate1->SetParent(this);
  Animate1->SetBounds(8, 8, 272, 60);
  Animate1->SetCommonAVI(aviCopyFile);
  Animate1->SetStopFrame(26);
  Animate1->SetActive(true);
  LActionMessage = new TLabel(this);
  LActionMessage->SetName("LActionMessage");
  LActionMessage->SetParent(this);
  // The line keeps the window's width: resized to each name, it moved and
  // repainted the window around it for every file recovered.
  LActionMessage->SetAutoSize(false);
  LActionMessage->SetBounds(8, 80, 360, 16);
}

void ShowActionMessage() {
  FActionMessage->LActionMessage->SetCaption("");
  if (!FActionMessage->Visible()) FActionMessage->Show();
}

// What the new text changed, the line and the room it left, is painted at
// once; the animation beside it paints itself. Painting the whole window
// for every file cost more than bringing the file back.
void SetActionMessage(const std::string& text) {
  FActionMessage->LActionMessage->SetCaption(text);
  RedrawWindow(FActionMessage->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CloseActionMessage() {
  if (FActionMessage->Visible()) FActionMessage->Close();
}

}  // namespace retrove
