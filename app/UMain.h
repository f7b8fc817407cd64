#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Form.h"
#include "ImageList.h"
#include "Label.h"
#include "ListFilter.h"
#include "ListViewEx.h"
#include "Menus.h"
#include "Panel.h"
#include "Placement.h"
#include "ShellCombo.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "ToolButton.h"
#include "UNsSplitter.h"
#include "UNsShellControls.h"
#include "nwbase.h"

namespace retrove {

// The main window: the folder tree on the left, the deleted files of the
// selected folder on the right, tool bar, header line and status bar.
class TFMain : public TForm {
public:
  explicit TFMain(TComponent* owner);
  ~TFMain() override;

  TMainMenu* MainMenu1;
  TMenuItem* MFile;
  TMenuItem* MRetrove;
  TMenuItem* MPurge;
  TMenuItem* MPurgeAll;
  TMenuItem* Exit1;
  TMenuItem* MView;
  TMenuItem* MToolBar;
  TMenuItem* MStatusBar;
  TMenuItem* MLargeIcons;
  TMenuItem* MSmallIcons;
  TMenuItem* MList;
  TMenuItem* MDetails;
  TMenuItem* MRefresh;
  TMenuItem* MFilter;
  TMenuItem* Help1;
  TMenuItem* BAbout;
  TPopupMenu* PopDel;
  TMenuItem* PMRetrove;
  TMenuItem* PMPurge;
  TImageList* ExpImage;
  TImageList* SmallImage;
  TImageList* LargeImage;
  TToolBar* Toolbar;
  TNsShellCombo* ShellCombo1;
  TToolButton* BUpLevel;
  TToolButton* BLargeIcons;
  TToolButton* BSmallIcons;
  TToolButton* BList;
  TToolButton* BDetails;
  TToolButton* BRetrove;
  TToolButton* BStop;
  TPanel* Panel1;
  TLabel* LRightView;
  TNsSplitter* NsSplitter1;
  TNsShellTree* TreeDel;
  TListViewEx* ListDel;
  TStatusBar* StatusBar;
  TSettingsStore* SettingsStore1;
  TListFilter* ListFilter;
  TNWBase* NWBase1;

  // The entries of the rows now listed; rows point at their own entry.
  std::unique_ptr<TNWDeletedFileList> ListedEntries;
  // The folder those rows came from, with its trailing backslash; the tree
  // may have moved on since.
  std::string ListedFolder;

  // The system image list's icon for a bare file name, asked of the shell
  // once per extension.
  int IconIndexOf(const std::string& name);
  // A listing has ended; a folder chosen meanwhile is listed now.
  void ListingEnded();
  // Purge needs a client that can purge, and rows to purge.
  void UpdatePurgeCommands();

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  TMenuItem* NewItem(TMenuItem& parent, const std::string& name, const std::string& caption);
  TToolButton* NewButton(const std::string& name, const std::string& hint, int image, TToolButtonStyle style);
  TToolButton* NewSeparator(int width = 8);
  void BuildMenus();
  void BuildToolBar();
  void BuildPanes();
  void BuildSettingsStore();
  void ConnectEvents();

  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& canClose);
  void TreeDelChange();
  void ListSelectedFolder();
  void ListDelChange();
  void RecoverCommand();
  void PurgeCommand(bool allRows);
  void FilterCommand();
  void WorkOnListedFiles(const std::function<void()>& command);
  void ViewMenuClick(TToolButton& button);

  std::map<std::string, int> FIconIndexes;
  bool FCloseAfterCommand = false;
  bool FListingPosted = false;
  bool FListAfterListing = false;
};

extern TFMain* FMain;

// Listing flags of the main window (see UMainListing.cpp).
extern bool ListingBusy;
extern bool StopRequested;
extern bool AllListed;
extern bool AllDetailed;

// A row of the list as a command takes it: its name and, when the listing
// left one, its own entry.
struct TListedRow {
  std::string Name;
  const TNWDeletedEntry* Entry;
};
// The selected rows, or all, taken once before a command's first file: a
// message box it shows lets the user change the selection, and the files
// worked on must be the ones picked.
std::vector<TListedRow> ListedRows(bool selectedOnly);

void ListDeletedFiles(std::string path);
// Shows the listed entries that the filter now lets through, without
// asking the server again.
void ShowFilteredRows();
// A folder's path as a listing names it: trimmed, with a trailing backslash.
std::string ListingPath(const std::string& path);
void UpdateViewStyle();

}  // namespace retrove
