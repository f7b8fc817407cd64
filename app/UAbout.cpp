#include "UAbout.h"

#include "ResourceNames.h"
#include "VersionInfo.h"

namespace retrove {

TFAbout* FAbout = nullptr;

namespace {

TLabel* NewLabel(TForm& form, const char* name, int left, int top, const std::string& caption) {
  auto* label = new TLabel(&form);
  label->SetName(name);
  label->SetParent(&form);
  label->SetBounds(left, top, 0, 0);
  label->SetCaption(caption);
  return label;
}

}  // namespace

TFAbout::TFAbout(TComponent* owner) : TForm(owner) {
  FAbout = this;
  SetName("FAbout");
  SetCaption("About");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  SetClientSize(296, 175);

  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetBounds(16, 16, 41, 41);
  Image1->LoadIcon(kProgramIcon);
  Label1 = NewLabel(*this, "Label1", 72, 18, "Retrove 97");
  Label1->Font().SetName("Arial");
  Label1->Font().SetHeight(-13);
  Label3 = NewLabel(*this, "Label3", 72, 38, "for Netware");
  Label3->Font().Assign(Label1->Font());
  Bevel1 = new TBevel(this);
  Bevel1->SetName("Bevel1");
  Bevel1->SetParent(this);
  Bevel1->SetBounds(8, 70, 280, 2);
  Bevel1->SetShape(bsTopLine);
  const std::string version = ProgramVersion();
  Label2 = NewLabel(*this, "Label2", 16, 84, version.empty() ? "" : "Version " + version);
  // Two lines' room: a directory user's name can be long.
  LConnection = NewLabel(*this, "LConnection", 16, 104, "");
  LConnection->SetAutoSize(false);
  LConnection->SetBounds(16, 104, 272, 32);
  BOk = new TButton(this);
  BOk->SetName("BOk");
  BOk->SetParent(this);
  BOk->SetBounds(216, 144, 75, 25);
  BOk->SetCaption("&OK");
  BOk->SetDefault(true);
  BOk->SetCancel(true);
  BOk->OnClick = [this](TObject&) { Close(); };
}

void TFAbout::ShowConnection(const std::string& line) {
  LConnection->SetCaption(line);
}

}  // namespace retrove
