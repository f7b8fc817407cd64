#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "Form.h"
#include "GuiTesting.h"
#include "ShellCombo.h"
#include "ShellTestSupport.h"
#include "UNsShellControls.h"
#include "UNsShellUtils.h"

using namespace retrove;
using namespace retrove::test;

namespace {

// A shown form with a folder tree and the combo box linked to it, and a
// folder two levels below a fresh temporary one.
class TComboForm {
public:
  TComboForm() : Form(nullptr) {
    EnsureApplication();
    Deep = Temp.Child("Deep");
    Deeper = Deep + "\\Deeper";
    CreateDirectoryA(Deep.c_str(), nullptr);
    CreateDirectoryA(Deeper.c_str(), nullptr);
    Combo = new TNsShellCombo(&Form);
    Combo->SetParent(&Form);
    Combo->SetBounds(0, 0, 193, 21);
    Tree = new TNsShellTree(&Form);
    Tree->SetParent(&Form);
    Tree->SetBounds(0, 30, 320, 400);
    Tree->OnChange = [this](TObject&, HTREEITEM) { ++Changes; };
    Combo->SetShellTree(Tree);
    Form.SetBounds(40, 40, 340, 480);
    Form.Show();
  }
  ~TComboForm() { RemoveDirectoryA(Deeper.c_str()); }

  std::string SelectedText() {
    TNsImageComboItem* item = Combo->SelectedItem();
    return item ? item->Text() : "(none)";
  }

  int IndexOf(const std::string& text) {
    for (int index = 0; index < Combo->ComboItemCount(); ++index)
      if (Combo->ComboItem(index).Text() == text) return index;
    return -1;
  }

  // As a choice in the open list ends: the combo's notice to its parent.
  void Choose(int index) {
    Combo->SetItemIndex(index);
    SendMessageA(Form.Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Combo->Hwnd()), CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(Combo->Hwnd()));
  }

  TComScope Com;
  TTempFolder Temp;
  std::string Deep;
  std::string Deeper;
  TForm Form;
  TNsShellTree* Tree;
  TNsShellCombo* Combo;
  int Changes = 0;
};

}  // namespace

TEST_CASE("the combo lists the Desktop, My Computer's drives one step in and the chain down to the folder") {
  TComboForm f;
  REQUIRE(f.Combo->ComboItemCount() > 0);
  CHECK(f.SelectedText() == f.Combo->ComboItem(0).Text());
  CHECK(f.Combo->ComboItem(0).IndentLevel() == 0);

  f.Tree->SelectIdList(Parse(f.Deeper).Get());
  REQUIRE(f.SelectedText() == "Deeper");
  const int deeper = f.Combo->ItemIndex();
  const int deep = deeper - 1;
  CHECK(f.Combo->ComboItem(deep).Text() == "Deep");
  const ShellIdList deeperList = Parse(f.Deeper);
  CHECK(f.Combo->ComboItem(deeper).ImageIndex() == GetIconIndex(deeperList.Get(), 3));

  // Up the chain the indent falls by one a step, to the drive at 2 below
  // My Computer at 1; nothing but the chain lies between.
  int drive = deeper;
  while (f.Combo->ComboItem(drive).IndentLevel() > 2) {
    CHECK(f.Combo->ComboItem(drive - 1).IndentLevel() == f.Combo->ComboItem(drive).IndentLevel() - 1);
    --drive;
  }
  CHECK(f.Combo->ComboItem(drive).Text().find("C:") != std::string::npos);
  int myComputer = drive;
  while (f.Combo->ComboItem(myComputer).IndentLevel() == 2) --myComputer;
  CHECK(f.Combo->ComboItem(myComputer).IndentLevel() == 1);
  CHECK(f.Combo->ComboItem(deeper + 1).IndentLevel() <= 2);
}

TEST_CASE("choosing an entry moves the tree there once, and the combo follows the tree") {
  TComboForm f;
  f.Tree->SelectIdList(Parse(f.Deeper).Get());
  const int changes = f.Changes;
  f.Choose(f.IndexOf("Deep"));
  REQUIRE(PumpUntil([&] { return f.Tree->SelectedPath() == f.Deep; }, 5000));
  CHECK(f.Changes == changes + 1);
  CHECK(f.SelectedText() == "Deep");
  CHECK(f.IndexOf("Deeper") == -1);

  f.Tree->SelectIdList(Parse(f.Temp.Path()).Get());
  CHECK(f.SelectedText() == f.Temp.Path().substr(f.Temp.Path().rfind('\\') + 1));
  CHECK(f.IndexOf("Deep") == -1);
}
