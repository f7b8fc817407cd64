#pragma once

#include <functional>
#include <memory>

#include "Canvas.h"
#include "ColumnSettings.h"
#include "ListView.h"

namespace retrove {

enum TAutoColumnSort { acsNoSort, acsSort, acsSortToggle };

// `sortColumn` is -1 for the captions, 0 for the first sub-item, and so on.
using TLVSortItemsEvent =
    std::function<void(TObject& sender, int item1, int item2, int sortColumn, int& compResult)>;

enum TLVStyle { lvStandard, lvOwnerDrawFixed };

// Paints row `index` in `rect`; setting `defaultDrawing` has the list paint
// it the usual way afterwards.
using TLVDrawItemEvent = std::function<void(TWinControl& control, TCanvas& canvas, int index, const RECT& rect,
                                            TOwnerDrawState state, bool& defaultDrawing)>;
using TLVAfterDrawItemEvent =
    std::function<void(TWinControl& control, TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state)>;

// A list view that sorts its rows by a column when the user clicks the
// column's header, and shows the sorted column's direction in the header.
// Rows are compared by a key made once per cell (numbers and dates by
// value, texts in the user's order), and the sort is stable. With AutoSave
// on, the column widths are stored when the window goes and read back after
// loading. With lvOwnerDrawFixed the owner paints the rows of the report
// view.
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

  // Store and read back what the settings name; nothing unless AutoSave is
  // on. Reading never writes.
  virtual void StoreSettings();
  virtual void RestoreSettings();
  TSortLVSaveSettings& SortSaveSettings() { return FSortSaveSettings; }

  TNotifyEvent OnSortBegin;
  TNotifyEvent OnSortFinished;
  TLVSortItemsEvent OnSortItems;

  TLVStyle Style() const { return FStyle; }
  void SetStyle(TLVStyle style);
  TLVDrawItemEvent OnDrawItem;
  TLVAfterDrawItemEvent OnAfterDefaultDrawItem;

  void Loaded() override;

protected:
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ColumnClick(int column) override;
  void CreateParams(TCreateParams& params) override;
  bool OnOwnerDraw(UINT message, LPARAM lParam, LRESULT& result) override;

  void StoreColumnSizes(const TSortLVSaveSettings& settings);
  void RestoreColumnSizes(const TSortLVSaveSettings& settings);

private:
  std::vector<int> ColumnWidths();
  std::vector<size_t> OrderByKeys(int column, bool ascending);
  std::vector<size_t> OrderByEvent(int column, bool ascending);
  void ShowSortArrow();
  void DrawItem(const DRAWITEMSTRUCT& request);
  void DefaultDrawItem(TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state);
  void DrawItemColumns(TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state);

  TSortLVSaveSettings FSortSaveSettings;
  TAutoColumnSort FAutoColumnSort = acsNoSort;
  bool FAutoSortAscending = true;
  bool FCurrentSortAscending = true;
  int FLastSortColumn = -1;
  // The column and direction the header shows; -1 for none.
  int FArrowColumn = -1;
  bool FArrowAscending = true;
  TLVStyle FStyle = lvStandard;
  // Only while the window is made for owner drawing.
  std::unique_ptr<TCanvas> FItemCanvas;
};

}  // namespace retrove
