#pragma once

#include <string>
#include <vector>

#include "WinControl.h"

namespace retrove {

// A status bar with panels of given widths (the last one reaches the right
// edge), or one simple panel across the whole bar.
class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int AddPanel(int width);
  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  const std::string& PanelText(int index) const { return Panel(index).Text; }
  void SetPanelText(int index, const std::string& text);
  int PanelWidth(int index) const { return Panel(index).Width; }
  void SetPanelWidth(int index, int width);

  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool simple);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& text);

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  struct TPanelInfo {
    std::string Text;
    int Width = 50;
  };
  const TPanelInfo& Panel(int index) const;
  void ApplyParts();
  void ApplyText(int index);

  std::vector<TPanelInfo> FPanels;
  bool FSimplePanel = false;
  std::string FSimpleText;
};

}  // namespace retrove
