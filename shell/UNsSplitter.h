#pragma once

// A container split into two framed panes by a bar the user drags.

#include <array>
#include <functional>
#include <string>

#include "SplitterGeometry.h"
#include "UNsFrame.h"

namespace retrove {

// aPosition: during a drag the pointer coordinate along the split axis,
// held within the drag's range; at the drop the new Position.
using TNsSplitterDragEvent = std::function<void(TObject& aSender, int aPosition)>;

// One of a splitter's two panes, which holds the controls put into it. Its
// splitter owns it and sets its bounds.
class TNsPane : public TNsCustomGroup {
public:
  TNsPane(TComponent* owner, int index);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // The smallest size along the split axis that a drag leaves the pane.
  int MinSize() const { return FMinSize; }
  void SetMinSize(int size) { FMinSize = size; }
  // The slot the pane fills: 0 left or top, 1 right or bottom.
  int Index() const { return FIndex; }

private:
  int FMinSize = 20;
  int FIndex;
};

// Two panes side by side (nsstVertical) or stacked (nsstHorizontal) with a
// bar SplitterWidth thick between them; Position is pane 1's width or
// height. The panes exist from the start, named after the splitter
// (Name + "_pane1", "_pane2"):
//   auto* splitter = new TNsSplitter(form);
//   splitter->SetName("NsSplitter1");
//   tree->SetParent(splitter->Pane(0));
// A Position that the window cannot show (negative, too large, or beyond
// the panes' minimum sizes) is kept as it is and shown at the nearest place
// the bar can be reached.
class TNsSplitter : public TWinControl {
public:
  explicit TNsSplitter(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  void SetName(const std::string& name) override;
  void Loaded() override;

  // The pane in slot 0 or 1; nullptr for another index or a pane freed.
  TNsPane* Pane(int index) const;

  int Position() const { return FPosition; }
  void SetPosition(int position);
  TNsSplitterStyle Style() const { return FStyle; }
  void SetStyle(TNsSplitterStyle style);
  int SplitterWidth() const { return FSplitterWidth; }
  void SetSplitterWidth(int width);

  // The panes' own values; writing to an empty slot does nothing.
  TColor PaneColor(int index) const;
  void SetPaneColor(int index, TColor color);
  TNsFrameStyle PaneFrameStyle(int index) const;
  void SetPaneFrameStyle(int index, TNsFrameStyle style);
  int PaneMinSize(int index) const;
  void SetPaneMinSize(int index, int size);

  bool Dragging() const { return FDragging; }

  TNotifyEvent OnResize;
  TNsSplitterDragEvent OnSplitterDrag;
  TNsSplitterDragEvent OnSplitterDrop;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  // Shims through which the property table reaches one pane's value.
  template <int I>
  TColor PaneColorOf() const {
    return PaneColor(I);
  }
  template <int I>
  void SetPaneColorOf(TColor color) {
    SetPaneColor(I, color);
  }
  template <int I>
  TNsFrameStyle PaneFrameStyleOf() const {
    return PaneFrameStyle(I);
  }
  template <int I>
  void SetPaneFrameStyleOf(TNsFrameStyle style) {
    SetPaneFrameStyle(I, style);
  }
  template <int I>
  int PaneMinSizeOf() const {
    return PaneMinSize(I);
  }
  template <int I>
  void SetPaneMinSizeOf(int size) {
    SetPaneMinSize(I, size);
  }

  TSplit Measures() const;
  void NamePanes();
  void LayoutPanes();
  bool SetCursorOverBar(WPARAM wParam, LPARAM lParam);

  // The drag (UNsSplitterDrag.cpp).
  void MouseDown(bool leftButton, LPARAM lParam);
  void BeginDrag(int coordinate);
  void MoveDrag(int coordinate);
  void DropDrag(int coordinate);
  void EndDrag();
  void DrawDragLine();
  int AxisCoordinate(LPARAM lParam) const;

  std::array<TNsPane*, 2> FPanes{};
  int FPosition = 65;
  TNsSplitterStyle FStyle = nsstVertical;
  int FSplitterWidth = 3;
  bool FDragging = false;
  int FCoordinate = 0;  // the dragged pointer coordinate along the split axis
  int FGrabOffset = 0;  // that coordinate less pane 1's edge at the mouse-down
};

}  // namespace retrove
