#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "ImageList.h"

namespace retrove {

class TNsCustomImageCombo;

// One entry of an image combo: its text, image, overlay and indent level,
// and the data of whoever filled it.
class TNsImageComboItem {
public:
  TNsImageComboItem(TNsCustomImageCombo& owner, std::string text, int imageIndex, int indentLevel);

  TNsCustomImageCombo& Owner() const { return FOwner; }
  const std::string& Text() const { return FText; }
  int ImageIndex() const { return FImageIndex; }
  int IndentLevel() const { return FIndentLevel; }
  // -1: none.
  int OverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int index);

  TObject* Data() const { return FData.get(); }
  void SetData(std::unique_ptr<TObject> data) { FData = std::move(data); }

private:
  TNsCustomImageCombo& FOwner;
  std::string FText;
  int FImageIndex;
  int FIndentLevel;
  int FOverlayIndex = -1;
  std::unique_ptr<TObject> FData;
};

using TNsDeleteImageComboItemEvent = std::function<void(TObject& sender, TNsImageComboItem& item)>;

// A drop-down list whose entries carry an image and an indent level, drawn
// by the control. The control, not its window, owns the entries: each is
// freed exactly once, when the list is cleared or the control is freed,
// and a window made anew shows them again.
class TNsCustomImageCombo : public TCustomComboBox {
public:
  explicit TNsCustomImageCombo(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Appended at the end.
  TNsImageComboItem& AddComboItem(const std::string& text, int imageIndex, int indentLevel);
  int ComboItemCount() const { return static_cast<int>(FItems.size()); }
  TNsImageComboItem& ComboItem(int index) const { return *FItems.at(static_cast<size_t>(index)); }
  // The selected entry; none without one.
  TNsImageComboItem* SelectedItem();
  void ClearComboItems();

  int IndentPixels() const { return FIndentPixels; }
  void SetIndentPixels(int pixels);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images) { FImages = images; }

  TNsDeleteImageComboItemEvent OnDeleteItem;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void DrawItem(const DRAWITEMSTRUCT& draw) override;

private:
  void ItemGoing(TNsImageComboItem& item);

  std::vector<std::unique_ptr<TNsImageComboItem>> FItems;
  int FIndentPixels = 12;
  TImageList* FImages = nullptr;
};

}  // namespace retrove
