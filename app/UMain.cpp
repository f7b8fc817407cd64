#include "UMain.h"

#include <shellapi.h>

#include "Application.h"
#include "ResourceNames.h"
#include "AboutText.h"
#include "UAbout.h"
#include "UFilter.h"
#include "UPurge.h"
#include "URecovery.h"

namespace retrove {

TFMain* FMain = nullptr;

namespace {

constexpr const char* kColumns[] = {"Name",       "Size",    "Deleted",     "Deleted By", "Owner",   "Accessed",
                                    "Created",    "Attributes", "Archived", "Archived By", "Updated", "Updated By"};
constexpr int kColumnWidth = 100;
// Where the program keeps what it remembers between runs.
constexpr const char* kSettingsKey = "\\Software\\Vantorel\\Retrove";
constexpr UINT kListSelectedFolderMessage = WM_APP + 1;

HIMAGELIST SystemImageList(UINT sizeFlag) {
  SHFILEINFOA info{};
  const auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("*.*", 0, &info, sizeof info, SHGFI_SYSICONINDEX | sizeFlag));
  if (info.hIcon) DestroyIcon(info.hIcon);
  return list;
}

}  // namespace

TFMain::TFMain(TComponent* owner) : TForm(owner) {
  FMain = this;
  SetName("FMain");
  SetCaption("Retrove");
  SetBounds(266, 183, 640, 480);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  NWBase1 = new TNWBase(this);
  NWBase1->SetName("NWBase1");
  BuildMenus();
  BuildToolBar();
  BuildPanes();
  ConnectEvents();
  OnCreate = [this](TObject&) { FormCreate(); };
  OnShow = [this](TObject&) { FormShow(); };
  OnCloseQuery = [this](TObject&, bool& canClose) { FormCloseQuery(canClose); };
  BuildSettingsStore();
  // The tree fills itself and selects its top node once it has a window;
  // made now, that first selection lists its folder, as the tree's own
  // selection changes do from here on.
  TreeDel->Handle();
}

// The window's placement and view settings, kept between runs; it takes
// over the show, close and destroy handlers, so it comes after them.
void TFMain::BuildSettingsStore() {
  ListFilter = new TListFilter(this);
  ListFilter->SetName("ListFilter");
  SettingsStore1 = new TSettingsStore(this);
  SettingsStore1->SetName("SettingsStore1");
  SettingsStore1->SetIniFileName("Software");
  SettingsStore1->SetIniSection("Vantorel\\Retrove");
  for (const char* line : {"NsSplitter1.Position", "BDetails.Down", "BList.Down", "BSmallIcons.Down",
                           "BLargeIcons.Down", "MStatusBar.Checked", "MToolBar.Checked", "MLargeIcons.Checked",
                           "Toolbar.Visible", "StatusBar.Visible", "MDetails.Checked", "MList.Checked",
                           "MSmallIcons.Checked", "ListDel.ViewStyle", "ListFilter.Pattern"})
    SettingsStore1->StoredProps().Add(line);
  SettingsStore1->Loaded();
}

TFMain::~TFMain() {
  if (FMain == this) FMain = nullptr;
}

TMenuItem* TFMain::NewItem(TMenuItem& parent, const std::string& name, const std::string& caption) {
  auto* item = new TMenuItem(this);
  if (!name.empty()) item->SetName(name);
  item->SetCaption(caption);
  parent.Add(item);
  return item;
}

void TFMain::BuildMenus() {
  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  MFile = NewItem(MainMenu1->Items(), "MFile", "&File");
  MRetrove = NewItem(*MFile, "MRetrove", " &Retrove");
  MRetrove->SetShortCut(VK_F2);
  MPurge = NewItem(*MFile, "MPurge", " P&urge...");
  MPurge->SetShortCut(scShift | VK_DELETE);
  MPurgeAll = NewItem(*MFile, "MPurgeAll", " Purge &All...");
  NewItem(*MFile, "", "-");
  Exit1 = NewItem(*MFile, "Exit1", " &Close");

  MView = NewItem(MainMenu1->Items(), "MView", "&View");
  MToolBar = NewItem(*MView, "MToolBar", " &Toolbar");
  MToolBar->SetChecked(true);
  MStatusBar = NewItem(*MView, "MStatusBar", " Status &Bar");
  MStatusBar->SetChecked(true);
  NewItem(*MView, "", "-");
  MLargeIcons = NewItem(*MView, "MLargeIcons", " Lar&ge Icons");
  MSmallIcons = NewItem(*MView, "MSmallIcons", " S&mall Icons");
  MList = NewItem(*MView, "MList", " &List");
  MDetails = NewItem(*MView, "MDetails", " &Details");
  for (TMenuItem* item : {MLargeIcons, MSmallIcons, MList, MDetails}) {
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
  }
  MLargeIcons->SetChecked(true);
  NewItem(*MView, "", "-");
  MRefresh = NewItem(*MView, "MRefresh", " &Refresh");
  MRefresh->SetShortCut(VK_F5);
  MFilter = NewItem(*MView, "MFilter", " &Filter...");
  Help1 = NewItem(MainMenu1->Items(), "Help1", "&Help");
  BAbout = NewItem(*Help1, "BAbout", "&About...");
  SetMenu(MainMenu1);

  PopDel = new TPopupMenu(this);
  PopDel->SetName("PopDel");
  PMRetrove = NewItem(PopDel->Items(), "PMRetrove", "&Retrove");
  PMPurge = NewItem(PopDel->Items(), "PMPurge", "P&urge...");
  PMPurge->SetShortCut(scShift | VK_DELETE);
}

TToolButton* TFMain::NewButton(const std::string& name, const std::string& hint, int image,
                               TToolButtonStyle style) {
  auto* button = new TToolButton(this, *Toolbar);
  button->SetName(name);
  button->SetHint(hint);
  button->SetImageIndex(image);
  button->SetStyle(style);
  return button;
}

TToolButton* TFMain::NewSeparator(int width) {
  auto* separator = new TToolButton(this, *Toolbar);
  separator->SetStyle(tbsSeparator);
  separator->SetWidth(width);
  separator->SetImageIndex(5);
  return separator;
}

void TFMain::BuildToolBar() {
  ExpImage = new TImageList(this);
  ExpImage->SetName("ExpImage");
  ExpImage->LoadStrip(kToolBarImages);
  Toolbar = new TToolBar(this);
  Toolbar->SetName("Toolbar");
  Toolbar->SetParent(this);
  Toolbar->SetHeight(26);
  Toolbar->SetShowHint(true);
  Toolbar->SetImages(ExpImage);

  ShellCombo1 = new TNsShellCombo(this);
  ShellCombo1->SetName("ShellCombo1");
  ShellCombo1->SetParent(Toolbar);
  ShellCombo1->SetWidth(193);
  NewSeparator(193)->SetControl(ShellCombo1);
  BUpLevel = NewButton("BUpLevel", "Up One Level", 11, tbsButton);
  NewSeparator();
  BLargeIcons = NewButton("BLargeIcons", "Large Icons", 0, tbsCheck);
  BSmallIcons = NewButton("BSmallIcons", "Small Icons", 1, tbsCheck);
  BList = NewButton("BList", "List", 2, tbsCheck);
  BDetails = NewButton("BDetails", "Details", 3, tbsCheck);
  for (TToolButton* button : {BLargeIcons, BSmallIcons, BList, BDetails}) {
    button->SetGrouped(true);
    button->SetAllowAllUp(true);
  }
  BLargeIcons->SetDown(true);
  NewSeparator();
  BRetrove = NewButton("BRetrove", "Retrove", 12, tbsButton);
  BStop = NewButton("BStop", "Stop", 13, tbsButton);
}

void TFMain::BuildPanes() {
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

  StatusBar = new TStatusBar(this);
  StatusBar->SetName("StatusBar");
  StatusBar->SetParent(this);
  StatusBar->SetHeight(19);
  StatusBar->AddPanel(300);

  SmallImage = new TImageList(this);
  SmallImage->SetName("SmallImage");
  LargeImage = new TImageList(this);
  LargeImage->SetName("LargeImage");

  NsSplitter1 = new TNsSplitter(this);
  NsSplitter1->SetName("NsSplitter1");
  NsSplitter1->SetParent(this);
  NsSplitter1->SetAlign(alClient);
  NsSplitter1->SetPosition(195);

  TreeDel = new TNsShellTree(this);
  TreeDel->SetName("TreeDel");
  TreeDel->SetParent(NsSplitter1->Pane(0));
  TreeDel->SetAlign(alClient);
  TreeDel->SetBorderStyle(bsNone);
  TreeDel->SetShowRoot(false);
  TreeDel->SetReadOnly(true);
  TreeDel->SetIndent(19);
  ShellCombo1->SetShellTree(TreeDel);

  ListDel = new TListViewEx(this);
  ListDel->SetName("ListDel");
  ListDel->SetParent(NsSplitter1->Pane(1));
  ListDel->SetAlign(alClient);
  ListDel->SetBorderStyle(bsNone);
  ListDel->SetExtendedStyles({lvxHeaderDragDrop});
  ListDel->SetAutoColumnSort(acsSortToggle);
  ListDel->SaveSettings().SetRegistryKey(kSettingsKey);
  ListDel->SetViewStyle(vsReport);
  ListDel->SetMultiSelect(true);
  ListDel->SetReadOnly(true);
  ListDel->SetLargeImages(LargeImage);
  ListDel->SetSmallImages(SmallImage);
  ListDel->SetPopupMenu(PopDel);
  for (const char* caption : kColumns) ListDel->AddColumn(caption, kColumnWidth);
}

void TFMain::ConnectEvents() {
  TreeDel->OnChange = [this](TObject&, HTREEITEM) { TreeDelChange(); };
  BUpLevel->OnClick = [this](TObject&) { TreeDel->UpOneLevel(); };
  for (TToolButton* button : {BLargeIcons, BSmallIcons, BList, BDetails})
    button->OnClick = [](TObject&) { UpdateViewStyle(); };
  MLargeIcons->OnClick = [this](TObject&) { ViewMenuClick(*BLargeIcons); };
  MSmallIcons->OnClick = [this](TObject&) { ViewMenuClick(*BSmallIcons); };
  MList->OnClick = [this](TObject&) { ViewMenuClick(*BList); };
  MDetails->OnClick = [this](TObject&) { ViewMenuClick(*BDetails); };
  // The tick follows the bar, so a tick and bar read back out of step from
  // the registry come together again at the first toggle.
  MToolBar->OnClick = [this](TObject&) {
    Toolbar->SetVisible(!Toolbar->Visible());
    MToolBar->SetChecked(Toolbar->Visible());
  };
  MStatusBar->OnClick = [this](TObject&) {
    StatusBar->SetVisible(!StatusBar->Visible());
    MStatusBar->SetChecked(StatusBar->Visible());
  };
  MRefresh->OnClick = [this](TObject&) {
    if (!ListingBusy) ListDeletedFiles(TreeDel->SelectedPath());
  };
  BRetrove->OnClick = [this](TObject&) { RecoverCommand(); };
  MRetrove->OnClick = [this](TObject&) { RecoverCommand(); };
  PMRetrove->OnClick = [this](TObject&) { RecoverCommand(); };
  MPurge->OnClick = [this](TObject&) { PurgeCommand(false); };
  PMPurge->OnClick = [this](TObject&) { PurgeCommand(false); };
  MPurgeAll->OnClick = [this](TObject&) { PurgeCommand(true); };
  MFilter->OnClick = [this](TObject&) { FilterCommand(); };
  BStop->OnClick = [](TObject&) { StopRequested = true; };
  Exit1->OnClick = [this](TObject&) { Close(); };
  BAbout->OnClick = [this](TObject&) {
    FAbout->ShowConnection(ConnectionLine(NWBase1->NetAvailable(), NWBase1->ServerName(), NWBase1->ServerVersion(),
                                          NWBase1->LoginID()));
    FAbout->ShowModal();
  };
  ListDel->OnChange = [this](TObject&, int) { ListDelChange(); };
}

void TFMain::ViewMenuClick(TToolButton& button) {
  for (TToolButton* view : {BLargeIcons, BSmallIcons, BList, BDetails}) view->SetDown(view == &button);
  UpdateViewStyle();
}

void TFMain::FormCreate() {
  SmallImage->ShareHandle(SystemImageList(SHGFI_SMALLICON));
  LargeImage->ShareHandle(SystemImageList(SHGFI_ICON));
  UpdateViewStyle();
  BStop->SetEnabled(false);
  BRetrove->SetEnabled(false);
  MRetrove->SetEnabled(false);
  UpdatePurgeCommands();
  ListDel->SetPopupMenu(nullptr);
}

void TFMain::FormShow() {
  if (NWBase1->NetAvailable()) return;
  Application.ShowMessage("The Netware Client 32 APIs are not loaded.");
  Close();
}

// The tree is still inside its selection notice here, and a listing handles
// messages: a refresh among them could delete the node that notice holds.
// So the listing starts once the notice has returned, with the selection as
// it is then.
void TFMain::TreeDelChange() {
  if (FListingPosted) return;
  FListingPosted = PostMessageA(Handle(), kListSelectedFolderMessage, 0, 0) != FALSE;
}

// A folder chosen while another is listed stops that listing and is listed
// once it has ended, so that the list always shows the tree's folder.
void TFMain::ListSelectedFolder() {
  FListingPosted = false;
  if (ListingBusy) {
    // The tree selects its folder again after every refresh it makes of
    // itself; a change on the drive must not start the listing over.
    if (lstrcmpiA(ListingPath(TreeDel->SelectedPath()).c_str(), ListedFolder.c_str()) == 0) return;
    FListAfterListing = true;
    StopRequested = true;
    return;
  }
  ListDeletedFiles(TreeDel->SelectedPath());
}

void TFMain::ListingEnded() {
  if (!FListAfterListing) return;
  FListAfterListing = false;
  TreeDelChange();
}

LRESULT TFMain::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kListSelectedFolderMessage) return TForm::WndProc(message, wParam, lParam);
  ListSelectedFolder();
  return 0;
}

// Closing while a failure box is up would end that box and every later one
// unseen; the window closes once the whole selection has been walked.
void TFMain::FormCloseQuery(bool& canClose) {
  if (!RecoveryBusy && !PurgeBusy) return;
  FCloseAfterCommand = true;
  canClose = false;
}

void TFMain::ListDelChange() {
  const bool any = ListDel->SelCount() > 0;
  BRetrove->SetEnabled(any);
  MRetrove->SetEnabled(any);
  UpdatePurgeCommands();
  ListDel->SetPopupMenu(any ? PopDel : nullptr);
}

void TFMain::UpdatePurgeCommands() {
  const bool canPurge = PurgeAvailable();
  MPurge->SetEnabled(canPurge && ListDel->SelCount() > 0);
  PMPurge->SetEnabled(MPurge->Enabled());
  MPurgeAll->SetEnabled(canPurge && ListDel->ItemCount() > 0);
}

void TFMain::RecoverCommand() {
  WorkOnListedFiles([this] { RecoverSelectedFiles(ListedFolder); });
}

void TFMain::PurgeCommand(bool allRows) {
  WorkOnListedFiles([allRows] { PurgeListedFiles(allRows); });
}

// The rows already listed are filtered again; the server is not asked.
void TFMain::FilterCommand() {
  if (ListingBusy || RecoveryBusy || PurgeBusy) return;
  TFFilter dialog(this);
  std::string pattern = ListFilter->Pattern();
  if (!dialog.Execute(pattern)) return;
  ListFilter->SetPattern(pattern);
  ShowFilteredRows();
}

// Afterwards the folder is listed again, as the server now has it, unless
// the window was closed meanwhile.
void TFMain::WorkOnListedFiles(const std::function<void()>& command) {
  if (ListingBusy || RecoveryBusy || PurgeBusy) return;
  command();
  if (FCloseAfterCommand) {
    Close();
    return;
  }
  ListDeletedFiles(TreeDel->SelectedPath());
}

int TFMain::IconIndexOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  const auto known = FIconIndexes.find(extension);
  if (known != FIconIndexes.end()) return known->second;
  SHFILEINFOA info{};
  SHGetFileInfoA(("file" + extension).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                 SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
  FIconIndexes.emplace(extension, info.iIcon);
  return info.iIcon;
}

}  // namespace retrove
