#pragma once

#include "WinControl.h"

namespace retrove {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter };

// A line of text. With AutoSize (the default) it takes the size of its
// text; with tlCenter the text is centred vertically in its height.
class TLabel : public TWinControl {
public:
  explicit TLabel(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout layout);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);

protected:
  void CreateParams(TCreateParams& params) override;
  void CaptionChanged() override;
  void FontChanged() override;

private:
  DWORD TextStyle() const;
  void AdjustSize();

  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
};

}  // namespace retrove
