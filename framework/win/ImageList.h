#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "Canvas.h"
#include "Component.h"
#include "Graphics.h"

namespace retrove {

// How Draw shows an image: blended a quarter or a half with the highlight
// colour, or as it is.
enum TDrawingStyle { dsFocus, dsSelected, dsNormal };

// A list of equal-sized images. It owns its image list unless ShareImages
// is set, as for the system's image lists, which are never destroyed.
// Controls that show the images learn of a new handle through Subscribe.
class TImageList : public TComponent {
public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetSize(int width, int height);
  int Count() const;

  // Replaces the images by the strip of a bitmap resource of the program;
  // pixels of `transparent` colour are left out.
  void LoadStrip(const char* resourceName, TColor transparent = clFuchsia);

  HIMAGELIST Handle() const { return FHandle; }
  // Takes a handle; it is destroyed with the list unless ShareImages is set
  // when it is taken.
  void SetHandle(HIMAGELIST handle);
  // Takes a handle that someone else owns, such as a system image list.
  void ShareHandle(HIMAGELIST handle);
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool share) { FShareImages = share; }

  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle style) { FDrawingStyle = style; }
  // Draws the image at `index` with its top left corner at (x, y).
  void Draw(TCanvas& canvas, int x, int y, int index) const;

  void Subscribe(const void* key, std::function<void()> changed);
  void Unsubscribe(const void* key);

private:
  void Changed();
  void FreeHandle();

  int FWidth = 16;
  int FHeight = 16;
  HIMAGELIST FHandle = nullptr;
  bool FShareImages = false;
  bool FOwnsHandle = false;
  TDrawingStyle FDrawingStyle = dsNormal;
  std::vector<std::pair<const void*, std::function<void()>>> FSubscribers;
};

}  // namespace retrove
