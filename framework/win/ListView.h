#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Form.h"
#include "ImageList.h"
#include "RowTexts.h"
#include "WinControl.h"

namespace retrove {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

using TLVChangeEvent = std::function<void(TObject& sender, int item)>;
using TLVColumnClickEvent = std::function<void(TObject& sender, int column)>;

// The list-view control: columns, rows with a caption, sub-items, an image
// and a data value, selection, and the four view styles. The rows are held
// here and the window asks for what it shows (an owner-data list), so that
// adding a hundred thousand rows costs no window traffic and the rows
// survive the window being made again; the selection is the window's. Image
// lists are never destroyed by the control. A derived class that frees row
// data in ItemDeleted clears the rows in its own destructor, while
// ItemDeleted is its own.
// The ANSI form of a wide find request (Wine sends the wide one for typing
// ahead), its text cut to fit and always terminated.
class TAnsiFindRequest {
public:
  explicit TAnsiFindRequest(const NMLVFINDITEMW& wide);
  TAnsiFindRequest(const TAnsiFindRequest&) = delete;
  TAnsiFindRequest& operator=(const TAnsiFindRequest&) = delete;

  NMLVFINDITEMA& Request() { return FRequest; }

private:
  char FText[MAX_PATH] = {};
  NMLVFINDITEMA FRequest{};
};

class TCustomListView : public TWinControl {
public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle style);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool multiSelect);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool readOnly);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool hide);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);

  TImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TImageList* images);
  TImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TImageList* images);

  int AddColumn(const std::string& caption, int width);
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  const std::string& ColumnCaption(int index) const;
  int ColumnWidth(int index);
  void SetColumnWidth(int index, int width);

  int AddItem(const std::string& caption, int imageIndex = -1, LPARAM data = 0);
  void DeleteItem(int index);
  void Clear();
  int ItemCount();
  std::string ItemCaption(int index);
  // Sub-item 0 is the text of the second column.
  std::string SubItem(int index, int subItem);
  void SetSubItem(int index, int subItem, const std::string& text);
  // Sub-items 0, 1, ... at once: one rebuilding of the row, one redraw.
  void SetSubItems(int index, std::span<const std::string_view> texts);
  // A cell's text without a copy, valid until the row changes; column 0 is
  // the caption.
  std::string_view CellText(int index, int column);
  int ImageIndex(int index);
  void SetImageIndex(int index, int imageIndex);
  LPARAM ItemData(int index);

  bool Selected(int index);
  void SetSelected(int index, bool selected);
  int SelCount();
  // The first selected row; -1 when none is.
  int Selection();

  // Puts the rows in a new order: row k becomes the row that was at
  // order[k] (a permutation of all rows). Selection and focus go with their
  // rows; one change notice follows.
  void ReorderRows(const std::vector<int>& order);

  void BeginUpdate();
  void EndUpdate();
  // Rows added meanwhile reach the window at the end, all in one message,
  // or as soon as a call needs the window to know them; the window goes on
  // drawing the rows it knows. The same holds while an update is on.
  void BeginAdding();
  void EndAdding();

  // Any change of the rows or of their states: added, deleted, selected.
  TLVChangeEvent OnChange;
  TLVColumnClickEvent OnColumnClick;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void Notification(TComponent* component, TOperation operation) override;

  // A row is about to go: where its data is freed.
  virtual void ItemDeleted(int, LPARAM) {}
  virtual void Change(int item);
  virtual void ColumnClick(int column);

private:
  struct TRow {
    // The caption, then sub-item 0 and on; missing ones read as empty.
    TRowTexts Texts;
    int ImageIndex = -1;
    LPARAM Data = 0;
  };

  TRow& Row(int index);
  bool HoldsItemCount() const { return FUpdateCount > 0 || FAddingCount > 0; }
  void SyncItemCount();
  void SendItemCount();
  // Makes a change that lays out the rows with redrawing off.
  void LayOutQuietly(const std::function<void()>& change);
  // A message about rows by index, sent once the window knows all rows.
  LRESULT PerformOnRows(UINT message, WPARAM wParam, LPARAM lParam);
  void RedrawRow(int index);
  void GiveDisplayInfo(LVITEMA& item);
  int FindRow(const LVFINDINFOA& find, int start);
  std::vector<int> RowsInState(UINT state);
  DWORD ListStyle() const;
  void UpdateStyle();
  void ApplyImages();
  void InsertColumnInWindow(int index);
  void SetImages(TImageList*& slot, TImageList* images);

  struct TColumn {
    std::string Caption;
    int Width = 50;
  };
  std::vector<TColumn> FColumns;
  std::vector<TRow> FRows;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false;
  bool FReadOnly = false;
  bool FHideSelection = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  TImageList* FLargeImages = nullptr;
  TImageList* FSmallImages = nullptr;
  int FUpdateCount = 0;
  int FAddingCount = 0;
  bool FChangesHeld = false;
  // Rows were added while the count was held, and the window was not told.
  bool FCountBehind = false;
};

}  // namespace retrove
