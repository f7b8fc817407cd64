#pragma once

#include "Control.h"

namespace retrove {

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator };

// One button of a tool bar: a plain button, a check button, or a separator
// of a given width that may hold a control. Adjacent grouped check buttons
// form a group in which at most one is down; with AllowAllUp a click on the
// button that is down releases it.
class TToolButton : public TComponent {
public:
  // Appends the button to `toolBar`.
  TToolButton(TComponent* owner, TToolBar& toolBar);
  ~TToolButton() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle style);
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool grouped) { FGrouped = grouped; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool allowAllUp) { FAllowAllUp = allowAllUp; }
  bool Down() const { return FDown; }
  void SetDown(bool down);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  // The width of a separator.
  int Width() const { return FWidth; }
  void SetWidth(int width);

  // Places a control (a combo box, say) on this separator, which takes the
  // control's width.
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* control);

  TToolBar* ToolBar() const { return FToolBar; }
  // What a user's click does: the check state changes (by the group's
  // rules) before OnClick runs.
  void Click();

  TNotifyEvent OnClick;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TToolBar;
  void Changed();

  TToolBar* FToolBar;
  TToolButtonStyle FStyle = tbsButton;
  bool FGrouped = false;
  bool FAllowAllUp = false;
  bool FDown = false;
  bool FEnabled = true;
  int FImageIndex = -1;
  int FWidth = 8;
  std::string FHint;
  TWinControl* FControl = nullptr;
  int FCommand = 0;
};

}  // namespace retrove
