#include "ImageList.h"

#include "Exceptions.h"
#include "Handle.h"
#include "PropertyTable.h"
#include "SysError.h"

namespace retrove {

const TClassInfo& TImageList::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TImageList>("TImageList", TComponent::StaticClassInfo())
          .Boolean("ShareImages", &TImageList::ShareImages, &TImageList::SetShareImages, false)
          .Build();
  return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
  FreeHandle();
}

void TImageList::SetSize(int width, int height) {
  FWidth = width;
  FHeight = height;
}

int TImageList::Count() const {
  return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

void TImageList::LoadStrip(const char* resourceName, TColor transparent) {
  TBitmapHandle strip(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) RaiseLastOSError();
  BITMAP info{};
  GetObjectA(strip.Get(), sizeof info, &info);
  HIMAGELIST list = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, info.bmWidth / FWidth, 4);
  if (!list) RaiseLastOSError();
  ImageList_AddMasked(list, strip.Get(), ColorToRGB(transparent));
  FShareImages = false;
  SetHandle(list);
}

void TImageList::SetHandle(HIMAGELIST handle) {
  if (handle == FHandle) return;
  FreeHandle();
  FHandle = handle;
  FOwnsHandle = !FShareImages;
  if (handle) ImageList_GetIconSize(handle, &FWidth, &FHeight);
  Changed();
}

void TImageList::ShareHandle(HIMAGELIST handle) {
  FShareImages = true;
  SetHandle(handle);
}

void TImageList::FreeHandle() {
  if (FHandle && FOwnsHandle) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  static constexpr UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL};
  if (FHandle && canvas.Handle())
    ImageList_DrawEx(FHandle, index, canvas.Handle(), x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, kStyles[FDrawingStyle]);
}

void TImageList::Subscribe(const void* key, std::function<void()> changed) {
  Unsubscribe(key);
  FSubscribers.emplace_back(key, std::move(changed));
}

void TImageList::Unsubscribe(const void* key) {
  std::erase_if(FSubscribers, [key](const auto& subscriber) { return subscriber.first == key; });
}

void TImageList::Changed() {
  for (const auto& subscriber : std::vector(FSubscribers)) subscriber.second();
}

}  // namespace retrove
