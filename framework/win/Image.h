#pragma once

#include "Handle.h"
#include "WinControl.h"

namespace retrove {

// Shows an icon of the program's resources, centred.
class TImage : public TWinControl {
public:
  explicit TImage(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Loads the icon resource at its 32 x 32 size.
  void LoadIcon(const char* resourceName);
  HICON Icon() const { return FIcon.Get(); }

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  TIconHandle FIcon;
};

}  // namespace retrove
