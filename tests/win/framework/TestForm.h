#pragma once

#include "Animate.h"
#include "Bevel.h"
#include "Button.h"
#include "ComboBox.h"
#include "Form.h"
#include "Image.h"
#include "ImageList.h"
#include "Label.h"
#include "ListView.h"
#include "Menus.h"
#include "Panel.h"
#include "StatusBar.h"
#include "Timer.h"
#include "ToolBar.h"
#include "TreeView.h"

namespace retrove::test {

// A window made like the program's main window: menus, a tool bar with an
// embedded combo box and a view-button group, a header panel, a tree, a
// list with a pop-up menu and a status bar. Each handler counts its clicks.
class TTestForm : public TForm {
public:
  explicit TTestForm(TComponent* owner);

  TMainMenu* MainMenu1;
  TMenuItem* MFile;
  TMenuItem* MRetrove;
  TMenuItem* Exit1;
  TMenuItem* MView;
  TMenuItem* MToolBar;
  TMenuItem* MStatusBar;
  TMenuItem* MLargeIcons;
  TMenuItem* MSmallIcons;
  TMenuItem* MList;
  TMenuItem* MDetails;
  TMenuItem* MRefresh;
  TPopupMenu* PopDel;
  TMenuItem* PMRetrove;
  TImageList* ExpImage;
  TToolBar* Toolbar;
  TCustomComboBox* Combo;
  TToolButton* BUpLevel;
  TToolButton* BLargeIcons;
  TToolButton* BSmallIcons;
  TToolButton* BList;
  TToolButton* BDetails;
  TToolButton* BRetrove;
  TToolButton* BStop;
  TPanel* Panel1;
  TLabel* LRightView;
  TCustomTreeView* TreeDel;
  TCustomListView* ListDel;
  TStatusBar* StatusBar;

  int RetroveClicks = 0;
  int RefreshClicks = 0;
  int ViewClicks = 0;
  bool DownSeenByClick = false;

private:
  TMenuItem* NewItem(TMenuItem& parent, const std::string& name, const std::string& caption);
  TToolButton* NewButton(const std::string& name, const std::string& hint, int image, TToolButtonStyle style);
  void NewSeparator();
  void BuildMenus();
  void BuildToolBar();
  void BuildPanes();
};

// A dialog made like the About box and the progress window together.
class TTestDialog : public TForm {
public:
  explicit TTestDialog(TComponent* owner);

  TImage* Image1;
  TLabel* Label1;
  TLabel* Label3;
  TBevel* Bevel1;
  TLabel* Label2;
  TAnimate* Animate1;
  TButton* BOk;
};

}  // namespace retrove::test
