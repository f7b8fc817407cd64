#include "SortListView.h"

namespace retrove {

namespace {

constexpr int kColumnTextMargin = 5;
constexpr int kImageMargin = 2;
constexpr int kImageTextOffset = 20;
constexpr UINT kCellTextFlags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;

void DrawCellText(TCanvas& canvas, const std::string& text, const RECT& cell, int textLeft) {
  canvas.DrawText(text, RECT{textLeft, cell.top, cell.right, cell.bottom}, kCellTextFlags);
}

}  // namespace

void TCustomSortListView::SetStyle(TLVStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  RecreateWnd();
}

void TCustomSortListView::CreateParams(TCreateParams& params) {
  TCustomListView::CreateParams(params);
  if (FStyle == lvOwnerDrawFixed) {
    params.Style |= LVS_OWNERDRAWFIXED;
    if (!FItemCanvas) FItemCanvas = std::make_unique<TCanvas>();
  } else {
    FItemCanvas.reset();
  }
}

bool TCustomSortListView::OnOwnerDraw(UINT message, LPARAM lParam, LRESULT& result) {
  if (message != WM_DRAWITEM || !FItemCanvas) return false;
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  result = TRUE;
  return true;
}

// A handler that throws leaves through the parent's window procedure, which
// reports it; the binding still gives the context back its objects.
void TCustomSortListView::DrawItem(const DRAWITEMSTRUCT& request) {
  TCanvas& canvas = *FItemCanvas;
  const TCanvas::TBinding binding(canvas, request.hDC);
  canvas.Font().Assign(Font());
  canvas.SetBrushColor(Color());
  const int index = static_cast<int>(request.itemID);
  const auto state = TOwnerDrawState::FromBits(request.itemState);
  bool defaultDrawing = false;
  if (OnDrawItem) OnDrawItem(*this, canvas, index, request.rcItem, state, defaultDrawing);
  if (defaultDrawing) DefaultDrawItem(canvas, index, request.rcItem, state);
}

void TCustomSortListView::DefaultDrawItem(TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state) {
  canvas.FillRect(rect);
  if (index >= 0 && index < ItemCount()) {
    // The highlight and the focus frame leave the image out.
    RECT textArea = rect;
    if (SmallImages()) textArea.left += SmallImages()->Width() + 2;
    if (state.Contains(odSelected)) {
      canvas.SetBrushColor(clHighlight);
      canvas.Font().SetColor(clHighlightText);
      canvas.FillRect(textArea);
    }
    DrawItemColumns(canvas, index, rect, state);
    if (state.Contains(odFocused)) canvas.DrawFocusRect(textArea);
  }
  if (OnAfterDefaultDrawItem) OnAfterDefaultDrawItem(*this, canvas, index, rect, state);
}

// The cells go in the order of the columns as added, not as the header
// shows them after the user dragged it.
void TCustomSortListView::DrawItemColumns(TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state) {
  if (ColumnCount() == 0) return;
  int textLeft = rect.left + kColumnTextMargin;
  if (TImageList* images = SmallImages()) {
    images->SetDrawingStyle(state.Contains(odFocused)    ? dsFocus
                            : state.Contains(odSelected) ? dsSelected
                                                         : dsNormal);
    images->Draw(canvas, rect.left + kImageMargin, rect.top, ImageIndex(index));
    textLeft = rect.left + kImageTextOffset;
  }
  RECT cell{rect.left, rect.top, rect.left + ColumnWidth(0), rect.bottom};
  DrawCellText(canvas, ItemCaption(index), cell, textLeft);
  for (int column = 1; column < ColumnCount(); ++column) {
    cell.left = cell.right;
    cell.right = cell.left + ColumnWidth(column);
    DrawCellText(canvas, SubItem(index, column - 1), cell, cell.left + kColumnTextMargin);
  }
}

}  // namespace retrove
