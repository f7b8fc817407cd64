#include <doctest/doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Form.h"
#include "GuiTesting.h"
#include "Nwtools.h"
#include "SortListView.h"

using namespace retrove;
using namespace retrove::test;

namespace {

// Header clicks as the user gives them.
class TClickableList : public TCustomSortListView {
public:
  using TCustomSortListView::TCustomSortListView;
  using TCustomSortListView::ColumnClick;
};

struct TSortForm {
  TSortForm() : Form(nullptr) {
    EnsureApplication();
    List = new TClickableList(&Form);
    List->SetParent(&Form);
    List->SetAlign(alClient);
    List->SetViewStyle(vsReport);
    List->SetMultiSelect(true);
    List->SetAutoColumnSort(acsSortToggle);
    for (const char* caption : {"Name", "Size", "Deleted"}) List->AddColumn(caption, 100);
    Add("memo.txt", "23", 35500.5);
    Add("Budget.xls", "3000000000", 35499.25);
    Add("apple.doc", "9", 35500.0);
    Add("Apple.doc", "10", 35400.75);
    Form.Show();
  }

  void Add(const std::string& name, const std::string& size, double deleted) {
    const int row = List->AddItem(name, -1, static_cast<LPARAM>(List->ItemCount() + 100));
    List->SetSubItem(row, 0, size);
    List->SetSubItem(row, 1, DateTimeText(TDateTime(deleted)));
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int row = 0; row < List->ItemCount(); ++row) names.push_back(List->ItemCaption(row));
    return names;
  }

  int HeaderArrow(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(List->Hwnd(), LVM_GETHEADER, 0, 0));
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
  }

  TForm Form;
  TClickableList* List;
};

}  // namespace

TEST_CASE("a header click sorts by that column, a second click reverses, the header shows which way") {
  TSortForm window;
  TClickableList& list = *window.List;
  list.SetSelected(1, true);  // Budget.xls

  list.ColumnClick(1);
  CHECK(window.Names() == std::vector<std::string>{"apple.doc", "Apple.doc", "memo.txt", "Budget.xls"});
  CHECK(window.HeaderArrow(1) == HDF_SORTUP);
  CHECK(list.SelCount() == 1);
  CHECK(list.Selected(3));
  CHECK(list.ItemData(3) == 101);

  list.ColumnClick(1);
  CHECK(window.Names() == std::vector<std::string>{"Budget.xls", "memo.txt", "Apple.doc", "apple.doc"});
  CHECK(window.HeaderArrow(1) == HDF_SORTDOWN);
  CHECK(list.Selected(0));

  list.ColumnClick(2);  // by date and time, not by weekday name
  CHECK(window.Names() == std::vector<std::string>{"Apple.doc", "Budget.xls", "apple.doc", "memo.txt"});
  CHECK(window.HeaderArrow(2) == HDF_SORTUP);
  CHECK(window.HeaderArrow(1) == 0);

  list.ColumnClick(0);  // the user's order: lower case before upper case of the same word
  CHECK(window.Names() == std::vector<std::string>{"apple.doc", "Apple.doc", "Budget.xls", "memo.txt"});
}

TEST_CASE("without automatic sorting a click sorts nothing; the owner's comparison replaces the default") {
  TSortForm window;
  TClickableList& list = *window.List;
  list.SetAutoColumnSort(acsNoSort);
  const auto before = window.Names();
  list.ColumnClick(0);
  CHECK(window.Names() == before);
  CHECK(list.LastSortColumn() == -1);

  list.SetAutoColumnSort(acsSort);
  int compared = 0;
  list.OnSortItems = [&](TObject&, int a, int b, int column, int& result) {
    ++compared;
    CHECK(column == -1);
    result = static_cast<int>(list.ItemCaption(a).size()) - static_cast<int>(list.ItemCaption(b).size());
  };
  list.ColumnClick(0);
  list.ColumnClick(0);  // no toggle: still ascending
  CHECK(compared > 0);
  CHECK(window.Names() == std::vector<std::string>{"memo.txt", "apple.doc", "Apple.doc", "Budget.xls"});
}
