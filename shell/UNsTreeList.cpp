#include "UNsTreeList.h"

namespace retrove {

namespace {

TFontStyles StylesOf(const LOGFONTA& font) {
  TFontStyles styles;
  if (font.lfWeight >= FW_BOLD) styles.Include(fsBold);
  if (font.lfItalic) styles.Include(fsItalic);
  if (font.lfUnderline) styles.Include(fsUnderline);
  if (font.lfStrikeOut) styles.Include(fsStrikeOut);
  return styles;
}

}  // namespace

TNsDrawStage TNsCustomDraw::Stage() const {
  switch (FRecord.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return TNsDrawStage::PrePaint;
    case CDDS_POSTPAINT:
      return TNsDrawStage::PostPaint;
    case CDDS_ITEMPREPAINT:
      return TNsDrawStage::ItemPrePaint;
    case CDDS_ITEMPOSTPAINT:
      return TNsDrawStage::ItemPostPaint;
  }
  return TNsDrawStage::Other;
}

HTREEITEM TNsCustomDraw::Node() const {
  if (!(FRecord.nmcd.dwDrawStage & CDDS_ITEM)) return nullptr;
  return reinterpret_cast<HTREEITEM>(FRecord.nmcd.dwItemSpec);
}

TFont& TNsCustomDraw::Font() {
  if (FFont) return *FFont;
  FFont = std::make_unique<TFont>();
  LOGFONTA current{};
  if (GetObjectA(GetCurrentObject(Dc(), OBJ_FONT), sizeof current, &current)) {
    FFont->SetName(current.lfFaceName);
    FFont->SetHeight(current.lfHeight);
    FFont->SetStyle(StylesOf(current));
  }
  FFont->SetColor(static_cast<TColor>(GetTextColor(Dc())));
  FFont->OnChange = [this] { FFontChanged = true; };
  return *FFont;
}

TColor TNsCustomDraw::BrushColor() {
  if (FBrushColor == clNone) FBrushColor = static_cast<TColor>(GetBkColor(Dc()));
  return FBrushColor;
}

void TNsCustomDraw::SetBrushColor(TColor color) {
  FBrushColor = color;
  FBrushChanged = true;
}

LRESULT TNsCustomDraw::Result() {
  const TNsDrawStage stage = Stage();
  if (stage == TNsDrawStage::ItemPostPaint) return CDRF_DODEFAULT;
  if (stage == TNsDrawStage::ItemPrePaint && SkipDefault) return CDRF_SKIPDEFAULT;
  LRESULT result = CDRF_DODEFAULT;
  if (FFontChanged) {
    SelectObject(Dc(), FFont->Handle());
    const COLORREF color = ColorToRGB(FFont->Color());
    SetTextColor(Dc(), color);
    FRecord.clrText = color;
    result |= CDRF_NEWFONT;
  }
  if (FBrushChanged) {
    const COLORREF color = ColorToRGB(FBrushColor);
    SetBkColor(Dc(), color);
    FRecord.clrTextBk = color;
  }
  return result;
}

std::unique_ptr<TFont> TNsCustomDraw::TakeFont() {
  if (!FFontChanged) return nullptr;
  FFont->OnChange = nullptr;
  return std::move(FFont);
}

const TClassInfo& TNsCustomTreeView::StaticClassInfo() {
  static const TClassInfo info("TNsCustomTreeView", &TCustomTreeView::StaticClassInfo(), {});
  return info;
}

bool TNsCustomTreeView::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.code != NM_CUSTOMDRAW) return TCustomTreeView::OnNotify(header, result);
  TNsCustomDraw draw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
  result = CustomDraw(draw);
  if (auto font = draw.TakeFont()) FDrawFont = std::move(font);
  return true;
}

}  // namespace retrove
