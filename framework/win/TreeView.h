#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "Form.h"
#include "ImageList.h"
#include "WinControl.h"

namespace retrove {

using TTVChangeEvent = std::function<void(TObject& sender, HTREEITEM node)>;
using TTVExpandingEvent = std::function<void(TObject& sender, HTREEITEM node, bool& allowExpansion)>;
using TTVEditingEvent = std::function<void(TObject& sender, HTREEITEM node, bool& allowEdit)>;
using TTVEditedEvent = std::function<void(TObject& sender, HTREEITEM node, std::string& text)>;

// The tree-view control. Nodes are the control's own items (HTREEITEM);
// each carries a text, an image, a selected image, an overlay, a
// has-children flag, cut and drop-highlight states and a data value. A
// derived class that frees node data in NodeDeleted destroys the window in
// its own destructor, while NodeDeleted is its own.
class TCustomTreeView : public TWinControl {
public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool ShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool show);
  bool ShowLines() const { return FShowLines; }
  void SetShowLines(bool show);
  bool ShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool show);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool readOnly);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool hide);
  int Indent() const { return FIndent; }
  void SetIndent(int indent);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);

  // Adds a node as the last child of `parent` (nullptr: at the top level).
  HTREEITEM AddChild(HTREEITEM parent, const std::string& text, LPARAM data = 0);
  void Delete(HTREEITEM node);
  void Clear();
  int Count();

  HTREEITEM TopNode();
  HTREEITEM ParentOf(HTREEITEM node);
  HTREEITEM FirstChild(HTREEITEM node);
  HTREEITEM NextSibling(HTREEITEM node);

  std::string Text(HTREEITEM node);
  void SetText(HTREEITEM node, const std::string& text);
  LPARAM Data(HTREEITEM node);
  void SetData(HTREEITEM node, LPARAM data);
  int ImageIndex(HTREEITEM node);
  void SetImageIndex(HTREEITEM node, int index);
  int SelectedIndex(HTREEITEM node);
  void SetSelectedIndex(HTREEITEM node, int index);
  void SetOverlayIndex(HTREEITEM node, int index);
  bool HasChildren(HTREEITEM node);
  void SetHasChildren(HTREEITEM node, bool hasChildren);
  void SetCut(HTREEITEM node, bool cut);
  void SetDropTarget(HTREEITEM node, bool highlighted);
  // The one node shown as a drop target; nullptr for none.
  HTREEITEM DropHighlighted();
  void HighlightDropTarget(HTREEITEM node);
  // The node whose button, icon or label is at `point` (client coordinates).
  HTREEITEM NodeAt(POINT point);
  // The label's rectangle in client coordinates; empty when not shown.
  RECT LabelRect(HTREEITEM node);
  bool Editing();
  void EditLabel(HTREEITEM node);

  HTREEITEM Selected();
  void Select(HTREEITEM node);
  bool Expanded(HTREEITEM node);
  void Expand(HTREEITEM node);
  void Collapse(HTREEITEM node);
  void MakeVisible(HTREEITEM node);

  // Sorts the children of `parent` (nullptr: the top level) by the data of
  // the nodes; `compare` answers < 0, 0 or > 0.
  void SortChildren(HTREEITEM parent, const std::function<int(LPARAM, LPARAM)>& compare);

  void BeginUpdate();
  void EndUpdate();

  TTVChangeEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void Notification(TComponent* component, TOperation operation) override;

  virtual void Change(HTREEITEM node);
  virtual bool CanExpand(HTREEITEM node);
  // Whether a label may be edited; asks OnEditing.
  virtual bool CanEdit(HTREEITEM node);
  // An edit ended with `text`: OnEdited may change it, then the node takes it.
  virtual void Edit(HTREEITEM node, const std::string& text);
  // A node is about to go (TVN_DELETEITEM): where its data is freed.
  virtual void NodeDeleted(HTREEITEM, LPARAM) {}

private:
  DWORD TreeStyle() const;
  void UpdateStyle();
  void ApplyImages();
  TVITEMA Item(HTREEITEM node, UINT mask);
  void SetItem(TVITEMA& item);
  void Update(HTREEITEM node, UINT mask, const std::function<void(TVITEMA&)>& fill);
  void SetState(HTREEITEM node, UINT mask, UINT state);

  bool FShowRoot = true;
  bool FShowLines = true;
  bool FShowButtons = true;
  bool FReadOnly = false;
  bool FHideSelection = true;
  int FIndent = 19;
  TFormBorderStyle FBorderStyle = bsSingle;
  TImageList* FImages = nullptr;
  int FUpdateCount = 0;
};

}  // namespace retrove
