#pragma once

#include <vector>

#include "ImageList.h"
#include "ToolButton.h"
#include "WinControl.h"

namespace retrove {

// A flat tool bar of TToolButtons with images from an image list, hints as
// tooltips, and controls standing on separators.
class TToolBar : public TWinControl {
public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);

  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TToolButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }
  // The button's rectangle in the tool bar's client area.
  RECT ButtonRect(const TToolButton& button);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void AlignControls(RECT& rect) override;
  bool OnCommand(WORD code, WORD id) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TToolButton;
  void AddButton(TToolButton* button);
  void RemoveButton(TToolButton* button);
  void ButtonsChanged();
  void UpdateButton(const TToolButton& button);
  void ReleaseOthersInGroup(const TToolButton& button);
  void AddButtonsToWindow();
  void ApplyImages();
  void PlaceControls();
  const std::string* HintOf(UINT_PTR command) const;
  int IndexOf(const TToolButton& button) const;

  TImageList* FImages = nullptr;
  std::vector<TToolButton*> FButtons;
  int FNextCommand = 1;
};

}  // namespace retrove
