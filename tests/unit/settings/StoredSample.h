#pragma once

#include <string>

#include "Component.h"
#include "PropertyTable.h"
#include "Strings.h"

namespace retrove::test {

enum class TStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TOption { lvxGridLines, lvxCheckboxes, lvxHeaderDragDrop };
using TOptions = TSet<TOption>;

// One published property of each kind a stored text can carry.
class TStored : public TComponent {
public:
  using TComponent::TComponent;

  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info = TClassInfoBuilder<TStored>("TStored", TComponent::StaticClassInfo())
                                       .Integer("Position", &TStored::Position, &TStored::SetPosition)
                                       .Char("Accel", &TStored::Accel, &TStored::SetAccel)
                                       .Boolean("Down", &TStored::Down, &TStored::SetDown, false)
                                       .Enumeration("ViewStyle", &TStored::ViewStyle, &TStored::SetViewStyle,
                                                    {"vsIcon", "vsSmallIcon", "vsList", "vsReport"})
                                       .Set("Options", &TStored::Options, &TStored::SetOptions,
                                            {"lvxGridLines", "lvxCheckboxes", "lvxHeaderDragDrop"})
                                       .String("Caption", &TStored::Caption, &TStored::SetCaption)
                                       .Object("Lines", [](TStored& s) -> TPersistent* { return &s.FLines; })
                                       .Build();
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int Position() const { return FPosition; }
  void SetPosition(int value) { FPosition = value; }
  char Accel() const { return FAccel; }
  void SetAccel(char value) { FAccel = value; }
  bool Down() const { return FDown; }
  void SetDown(bool value) { FDown = value; }
  TStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TStyle value) { FViewStyle = value; }
  TOptions Options() const { return FOptions; }
  void SetOptions(TOptions value) { FOptions = value; }
  std::string Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }

private:
  int FPosition = 195;
  char FAccel = 'R';
  bool FDown = false;
  TStyle FViewStyle = TStyle::vsReport;
  TOptions FOptions{TOption::lvxHeaderDragDrop};
  std::string FCaption = "Retrove";

public:
  TStringList FLines;
};

}  // namespace retrove::test
