#pragma once

#include <optional>
#include <vector>

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

// The sorting list view with the control's extended styles, and the column
// order the user dragged the headers into kept when the window is made again.
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

protected:
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void SendColumnOrder();

  TLVExtendedStyles FKeptExtendedStyles;
  std::optional<std::vector<int>> FKeptColumnOrder;
};

}  // namespace retrove
