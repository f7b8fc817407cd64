#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Component.h"
#include "Graphics.h"

namespace retrove {

class TWinControl;
class TPopupMenu;
class TForm;

using TNotifyEvent = std::function<void(TObject& sender)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// What every control has: a parent, bounds, alignment, visibility, an
// enabled state, a caption, a hint, a pop-up menu, a font and a colour.
// The window itself is TWinControl's; this class keeps the values and says
// when they change.
class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TWinControl* Parent() const { return FParent; }
  void SetParent(TWinControl* parent);
  // The form this control sits on (itself for a form); nullptr when none.
  TForm* ParentForm() const;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int left) { SetBounds(left, FTop, FWidth, FHeight); }
  void SetTop(int top) { SetBounds(FLeft, top, FWidth, FHeight); }
  void SetWidth(int width) { SetBounds(FLeft, FTop, width, FHeight); }
  void SetHeight(int height) { SetBounds(FLeft, FTop, FWidth, height); }
  void SetBounds(int left, int top, int width, int height);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool showHint);

  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  // Changing the font makes it the control's own; ParentFont follows the
  // parent's font again.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  TFont* FontObject() { return &FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool parentFont);

  // With ParentColor the parent's colour is used.
  TColor Color() const;
  void SetColor(TColor color);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool parentColor);

  TNotifyEvent OnClick;

protected:
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void CaptionChanged() {}
  virtual void HintChanged() {}
  virtual void FontChanged() {}
  virtual void ColorChanged() {}
  void Notification(TComponent* component, TOperation operation) override;

  // Takes bounds that the window already has (moved by the user, the
  // system or the parent's alignment) without moving it again.
  void StoreBounds(int left, int top, int width, int height);
  // Asks the parent to lay its aligned children out again.
  void RequestAlign();
  void ParentFontChanged();

private:
  TWinControl* FParent = nullptr;
  int FLeft = 0;
  int FTop = 0;
  int FWidth = 0;
  int FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FCaption;
  std::string FHint;
  bool FShowHint = false;
  TPopupMenu* FPopupMenu = nullptr;
  TFont FFont;
  bool FParentFont = true;
  bool FTakingParentFont = false;
  TColor FColor = clBtnFace;
  bool FParentColor = true;

  friend class TWinControl;
};

}  // namespace retrove
