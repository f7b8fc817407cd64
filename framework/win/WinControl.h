#pragma once

#include <windows.h>

#include <vector>

#include "Control.h"
#include "Handle.h"
#include "Window.h"

namespace retrove {

// A control with a window of its own, made on demand (Handle) together with
// the windows of its child controls. It lays out its aligned children and
// passes the notifications and commands its window receives on to the
// control that sent them.
class TWinControl : public TControl, public TWindow {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // The window, created first if need be (with its parent's).
  HWND Handle();
  // Destroys and creates the window again, for a style that needs it.
  void RecreateWnd();

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }

  // Lays the aligned child controls out in the client area.
  void Realign();
  // The client area in client coordinates, also before the window exists.
  virtual RECT ClientRect() const;

  bool Focused() const;
  void SetFocus();
  void Invalidate();
  // Paints what is pending now.
  void Repaint();
  LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateHandle();
  // The window exists; its children do not yet.
  virtual void HandleCreated() {}
  // Takes away what the control draws itself (a frame) from the area that
  // aligned children may fill.
  virtual void AdjustClientRect(RECT&) {}
  virtual void AlignControls(RECT& rect);

  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Reflected from the parent: a WM_COMMAND notification code, a WM_NOTIFY,
  // an owner-draw message and the colours of a static or button control.
  virtual bool OnCommand(WORD, WORD) { return false; }
  virtual bool OnNotify(NMHDR&, LRESULT&) { return false; }
  virtual bool OnOwnerDraw(UINT, LPARAM, LRESULT&) { return false; }
  virtual HBRUSH OnCtlColor(HDC dc);

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void CaptionChanged() override;
  void HintChanged() override;
  void FontChanged() override;
  void ColorChanged() override;

  HBRUSH ColorBrush();
  UINT ControlId() const { return FControlId; }
  // Fills the client area with the control's colour (WM_ERASEBKGND).
  LRESULT EraseBackground(HDC dc);

private:
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void ControlInserted(TControl* control);
  TWinControl* ChildById(UINT id) const;
  bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void WindowMoved();
  bool ShowPopupMenu(LPARAM position);
  void UpdateHintTool();

  std::vector<TControl*> FControls;
  UINT FNextChildId = 100;
  UINT FControlId = 0;
  bool FAligning = false;
  TBrushHandle FBrush;
  TColor FBrushColor = 0;

  friend class TControl;
};

}  // namespace retrove
