#include "TestForm.h"

#include "ResourceNames.h"

namespace retrove::test {

TTestForm::TTestForm(TComponent* owner) : TForm(owner) {
  SetName("FTest");
  SetCaption("Retrove");
  SetBounds(40, 30, 640, 480);
  BuildMenus();
  BuildToolBar();
  BuildPanes();
}

TMenuItem* TTestForm::NewItem(TMenuItem& parent, const std::string& name, const std::string& caption) {
  auto* item = new TMenuItem(this);
  item->SetName(name);
  item->SetCaption(caption);
  parent.Add(item);
  return item;
}

void TTestForm::BuildMenus() {
  MainMenu1 = new TMainMenu(this);
  MFile = NewItem(MainMenu1->Items(), "MFile", "&File");
  MRetrove = NewItem(*MFile, "MRetrove", " &Retrove");
  MRetrove->SetShortCut(VK_F2);
  MRetrove->OnClick = [this](TObject&) { ++RetroveClicks; };
  NewItem(*MFile, "N1", "-");
  Exit1 = NewItem(*MFile, "Exit1", " &Close");
  Exit1->OnClick = [this](TObject&) { Close(); };

  MView = NewItem(MainMenu1->Items(), "MView", "&View");
  MToolBar = NewItem(*MView, "MToolBar", " &Toolbar");
  MToolBar->SetChecked(true);
  MStatusBar = NewItem(*MView, "MStatusBar", " Status &Bar");
  MStatusBar->SetChecked(true);
  NewItem(*MView, "N2", "-");
  MLargeIcons = NewItem(*MView, "MLargeIcons", " Lar&ge Icons");
  MSmallIcons = NewItem(*MView, "MSmallIcons", " S&mall Icons");
  MList = NewItem(*MView, "MList", " &List");
  MDetails = NewItem(*MView, "MDetails", " &Details");
  for (TMenuItem* item : {MLargeIcons, MSmallIcons, MList, MDetails}) {
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
  }
  MLargeIcons->SetChecked(true);
  NewItem(*MView, "N3", "-");
  MRefresh = NewItem(*MView, "MRefresh", " &Refresh");
  MRefresh->SetShortCut(VK_F5);
  MRefresh->OnClick = [this](TObject&) { ++RefreshClicks; };
  TMenuItem* help = NewItem(MainMenu1->Items(), "Help1", "&Help");
  NewItem(*help, "BAbout", "&About...");
  SetMenu(MainMenu1);

  PopDel = new TPopupMenu(this);
  PopDel->SetName("PopDel");
  PMRetrove = NewItem(PopDel->Items(), "PMRetrove", "&Retrove");
}

TToolButton* TTestForm::NewButton(const std::string& name, const std::string& hint, int image,
                                  TToolButtonStyle style) {
  auto* button = new TToolButton(this, *Toolbar);
  button->SetName(name);
  button->SetHint(hint);
  button->SetImageIndex(image);
  button->SetStyle(style);
  return button;
}

void TTestForm::NewSeparator() {
  auto* separator = new TToolButton(this, *Toolbar);
  separator->SetStyle(tbsSeparator);
  separator->SetWidth(8);
  separator->SetImageIndex(5);
}

void TTestForm::BuildToolBar() {
  ExpImage = new TImageList(this);
  ExpImage->SetName("ExpImage");
  ExpImage->LoadStrip(kToolBarImages);
  Toolbar = new TToolBar(this);
  Toolbar->SetName("Toolbar");
  Toolbar->SetParent(this);
  Toolbar->SetHeight(26);
  Toolbar->SetShowHint(true);
  Toolbar->SetImages(ExpImage);

  Combo = new TCustomComboBox(this);
  Combo->SetName("ShellCombo1");
  Combo->SetWidth(193);
  Combo->SetStyle(csDropDownList);
  (new TToolButton(this, *Toolbar))->SetControl(Combo);
  NewSeparator();
  BUpLevel = NewButton("BUpLevel", "Up One Level", 11, tbsButton);
  NewSeparator();
  BLargeIcons = NewButton("BLargeIcons", "Large Icons", 0, tbsCheck);
  BSmallIcons = NewButton("BSmallIcons", "Small Icons", 1, tbsCheck);
  BList = NewButton("BList", "List", 2, tbsCheck);
  BDetails = NewButton("BDetails", "Details", 3, tbsCheck);
  for (TToolButton* button : {BLargeIcons, BSmallIcons, BList, BDetails}) {
    button->SetGrouped(true);
    button->SetAllowAllUp(true);
    button->OnClick = [this, button](TObject&) {
      ++ViewClicks;
      DownSeenByClick = button->Down();
    };
  }
  BLargeIcons->SetDown(true);
  NewSeparator();
  BRetrove = NewButton("BRetrove", "Retrove", 12, tbsButton);
  BStop = NewButton("BStop", "Stop", 13, tbsButton);
}

void TTestForm::BuildPanes() {
  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(alTop);
  Panel1->SetHeight(20);
  Panel1->SetBevelOuter(bvLowered);
  LRightView = new TLabel(this);
  LRightView->SetName("LRightView");
  LRightView->SetParent(Panel1);
  LRightView->SetAlign(alClient);
  LRightView->SetLayout(tlCenter);
  LRightView->SetCaption("Deleted Contents of 'F:\\DATA\\'");

  StatusBar = new TStatusBar(this);
  StatusBar->SetName("StatusBar");
  StatusBar->SetParent(this);
  StatusBar->AddPanel(300);
  StatusBar->SetPanelText(0, "3 file(s)");

  TreeDel = new TCustomTreeView(this);
  TreeDel->SetName("TreeDel");
  TreeDel->SetParent(this);
  TreeDel->SetAlign(alLeft);
  TreeDel->SetWidth(195);
  TreeDel->SetReadOnly(true);

  ListDel = new TCustomListView(this);
  ListDel->SetName("ListDel");
  ListDel->SetParent(this);
  ListDel->SetAlign(alClient);
  ListDel->SetViewStyle(vsReport);
  ListDel->SetMultiSelect(true);
  ListDel->SetReadOnly(true);
  ListDel->SetPopupMenu(PopDel);
  for (const char* caption : {"Name", "Size", "Deleted", "Deleted By"}) ListDel->AddColumn(caption, 100);
}

TTestDialog::TTestDialog(TComponent* owner) : TForm(owner) {
  SetName("FAboutTest");
  SetCaption("About");
  SetBorderStyle(bsDialog);
  SetBorderIcons({});
  SetPosition(poScreenCenter);
  SetClientSize(296, 175);

  Image1 = new TImage(this);
  Image1->SetParent(this);
  Image1->SetBounds(16, 16, 41, 41);
  Image1->LoadIcon(kProgramIcon);
  Label1 = new TLabel(this);
  Label1->SetParent(this);
  Label1->SetBounds(72, 16, 0, 0);
  Label1->Font().SetName("Arial");
  Label1->Font().SetHeight(-13);
  Label1->SetCaption("Retrove 97");
  Label3 = new TLabel(this);
  Label3->SetParent(this);
  Label3->SetBounds(72, 36, 0, 0);
  Label3->Font().Assign(Label1->Font());
  Label3->SetCaption("for Netware");
  Bevel1 = new TBevel(this);
  Bevel1->SetParent(this);
  Bevel1->SetBounds(8, 68, 280, 2);
  Bevel1->SetShape(bsTopLine);
  Label2 = new TLabel(this);
  Label2->SetParent(this);
  Label2->SetBounds(16, 80, 0, 0);
  Label2->SetCaption("Version 1.0");
  Animate1 = new TAnimate(this);
  Animate1->SetParent(this);
  Animate1->SetBounds(8, 100, 180, 40);
  Animate1->SetCommonAVI(aviCopyFile);
  Animate1->SetStopFrame(26);
  Animate1->SetActive(true);
  BOk = new TButton(this);
  BOk->SetName("BOk");
  BOk->SetParent(this);
  BOk->SetBounds(216, 144, 75, 25);
  BOk->SetCaption("&OK");
  BOk->SetDefault(true);
  BOk->SetModalResult(mrOk);
}

}  // namespace retrove::test
