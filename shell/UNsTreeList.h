#pragma once

// A tree view whose owner can take part in drawing its nodes.

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "Graphics.h"
#include "TreeView.h"

namespace retrove {

enum class TNsDrawStage { PrePaint, PostPaint, ItemPrePaint, ItemPostPaint, Other };

// One custom-draw notice of a tree view. The font and the brush colour
// start as the device context's own when first asked for; a handler that
// changes them has them applied by Result.
class TNsCustomDraw {
public:
  explicit TNsCustomDraw(NMTVCUSTOMDRAW& record) : FRecord(record) {}
  TNsCustomDraw(const TNsCustomDraw&) = delete;
  TNsCustomDraw& operator=(const TNsCustomDraw&) = delete;

  TNsDrawStage Stage() const;
  NMTVCUSTOMDRAW& Record() { return FRecord; }
  HDC Dc() const { return FRecord.nmcd.hdc; }
  // The node of an item stage; nullptr otherwise.
  HTREEITEM Node() const;

  TFont& Font();
  TColor BrushColor();
  void SetBrushColor(TColor color);
  // At the item pre-paint stage: the node is drawn by the handler alone.
  bool SkipDefault = false;

  // Applies what changed and gives the answer to the control.
  LRESULT Result();
  // The font Result selected, which must live until the node is drawn.
  std::unique_ptr<TFont> TakeFont();

private:
  NMTVCUSTOMDRAW& FRecord;
  std::unique_ptr<TFont> FFont;
  bool FFontChanged = false;
  TColor FBrushColor = clNone;
  bool FBrushChanged = false;
};

class TNsCustomTreeView : public TCustomTreeView {
public:
  explicit TNsCustomTreeView(TComponent* owner) : TCustomTreeView(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  // Every custom-draw notice; gives the answer for the control.
  virtual LRESULT CustomDraw(TNsCustomDraw& draw) { return draw.Result(); }

private:
  std::unique_ptr<TFont> FDrawFont;
};

}  // namespace retrove
