#pragma once

#include <functional>

#include "ListView.h"

namespace retrove {

enum TAutoColumnSort { acsNoSort, acsSort, acsSortToggle };

// `sortColumn` is -1 for the captions, 0 for the first sub-item, and so on.
using TLVSortItemsEvent =
    std::function<void(TObject& sender, int item1, int item2, int sortColumn, int& compResult)>;

// A list view that sorts its rows by a column when the user clicks the
// column's header, and shows the sorted column's direction in the header.
// Rows are compared by a key made once per cell (numbers and dates by
// value, texts in the user's order), and the sort is stable.
class TCustomSortListView : public TCustomListView {
public:
  explicit TCustomSortListView(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TAutoColumnSort AutoColumnSort() const { return FAutoColumnSort; }
  void SetAutoColumnSort(TAutoColumnSort sort) { FAutoColumnSort = sort; }
  bool AutoSortAscending() const { return FAutoSortAscending; }
  void SetAutoSortAscending(bool ascending);
  bool CurrentSortAscending() const { return FCurrentSortAscending; }
  int LastSortColumn() const { return FLastSortColumn; }

  // Column 0 is the captions.
  virtual void SortByColumn(int column, bool ascending);
  virtual void RepeatLastSort();

  TNotifyEvent OnSortBegin;
  TNotifyEvent OnSortFinished;
  TLVSortItemsEvent OnSortItems;

protected:
  void HandleCreated() override;
  void ColumnClick(int column) override;

private:
  std::vector<size_t> OrderByKeys(int column, bool ascending);
  std::vector<size_t> OrderByEvent(int column, bool ascending);
  void ShowSortArrow();

  TAutoColumnSort FAutoColumnSort = acsNoSort;
  bool FAutoSortAscending = true;
  bool FCurrentSortAscending = true;
  int FLastSortColumn = -1;
  // The column and direction the header shows; -1 for none.
  int FArrowColumn = -1;
  bool FArrowAscending = true;
};

}  // namespace retrove
