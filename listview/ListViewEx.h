#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ColumnSettings.h"
#include "ListViewExColumns.h"
#include "Set.h"
#include "SortListView.h"

namespace retrove {

enum TLVExtendedStyle {
  lvxGridLines,
  lvxSubItemImages,
  lvxCheckboxes,
  lvxTrackSelect,
  lvxHeaderDragDrop,
  lvxFullRowSelect,
  lvxOneClickActivate,
  lvxTwoClickActivate,
};
// Member i is the list control's extended style bit 2^i.
using TLVExtendedStyles = TSet<TLVExtendedStyle>;

// The row fields a virtual list is asked for (the list control's LVIF_*).
enum TLVVMMaskItem { lvmText, lvmImage, lvmParam, lvmState, lvmIndent };
using TLVVMMaskItems = TSet<TLVVMMaskItem>;

using TLVMarqueeBeginEvent = std::function<void(TObject& sender, bool& canBegin)>;
using TLVVMGetItemInfoEvent =
    std::function<void(TObject& sender, int item, int subItem, TLVVMMaskItems mask, int& image, LPARAM& param,
                       int& state, int& indent, std::string& text)>;
using TLVVMCacheHintEvent = std::function<void(TObject& sender, NMLVCACHEHINT& hintInfo)>;
// A handler that finds the row sets Found and puts the row's index in
// findInfo.iStart.
using TLVVMFindItemEvent = std::function<void(TObject& sender, NMLVFINDITEMA& findInfo, bool& found)>;
using TLVVMStateChangedEvent = std::function<void(TObject& sender, NMLVODSTATECHANGE& stateInfo)>;

// The sorting list view with the control's extended styles, images in the
// column headers, and the column order the user dragged the headers into,
// kept when the window is made again and, with AutoSave, between runs. In
// VirtualMode the control holds no rows: the owner gives their number
// (VirtualItemCount) and answers for each one through the OnVM events.
class TListViewEx : public TCustomSortListView {
public:
  explicit TListViewEx(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TLVExtendedStyles ExtendedStyles() const;
  void SetExtendedStyles(TLVExtendedStyles styles);

  // Entry k is the index of the column shown at place k from the left.
  std::vector<int> ColumnOrder();
  void SetColumnOrder(const std::vector<int>& order);

  TListViewExSaveSettings& SaveSettings() { return FSaveSettings; }
  TListViewExColumns& ColumnsFormat() { return FColumnsFormat; }
  void ApplyColumnFormat(int index);
  void ApplyAllColumnFormats();

  bool VirtualMode() const { return FVirtualMode; }
  void SetVirtualMode(bool virtualMode);
  int VirtualItemCount() const { return FVirtualItemCount; }
  void SetVirtualItemCount(int count);

  void StoreSettings() override;
  void RestoreSettings() override;
  void Loaded() override;

  // Drawn in the list while it has no rows, as the shell does: why it is
  // empty; also the window's text. Set it empty before rows come.
  const std::string& EmptyText() const { return FEmptyText; }
  void SetEmptyText(const std::string& text);

  TLVMarqueeBeginEvent OnMarqueeBegin;
  TNotifyEvent OnItemActivate;
  TLVVMGetItemInfoEvent OnVMGetItemInfo;
  TLVVMCacheHintEvent OnVMCacheHint;
  TLVVMFindItemEvent OnVMFindItem;
  TLVVMStateChangedEvent OnVMStateChanged;

protected:
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

  virtual bool DoMarqueeBegin();
  virtual void DoItemActivate();
  virtual void DoVMGetItemInfo(LVITEMA& item);
  virtual void DoVMCacheHint(NMLVCACHEHINT& hint);
  virtual bool DoVMFindItem(NMLVFINDITEMA& find);
  virtual void DoVMStateChanged(NMLVODSTATECHANGE& change);

private:
  bool OnVirtualNotify(NMHDR& header, LRESULT& result);
  bool OnStandardNotify(NMHDR& header, LRESULT& result);
  LRESULT FindVirtualItem(NMHDR& header);
  void SendColumnOrder();
  void SendVirtualItemCount();
  HWND HeaderWindow() const;
  void DrawEmptyText();

  TLVExtendedStyles FKeptExtendedStyles;
  std::optional<std::vector<int>> FKeptColumnOrder;
  TListViewExSaveSettings FSaveSettings;
  TListViewExColumns FColumnsFormat;
  bool FVirtualMode = false;
  int FVirtualItemCount = 0;
  std::string FEmptyText;
};

}  // namespace retrove
