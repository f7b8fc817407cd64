#pragma once

#include <string>

#include "WinControl.h"

namespace retrove {

enum TComboBoxStyle { csDropDown, csDropDownList, csOwnerDrawFixed };

// The combo-box control: entries with a text and a data value, the chosen
// entry, and the drop-down events. With csOwnerDrawFixed (a drop-down list)
// a derived class draws the entries in DrawItem.
class TCustomComboBox : public TWinControl {
public:
  explicit TCustomComboBox(TComponent* owner);

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle style);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int count) { FDropDownCount = count; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int height) { FItemHeight = height; }

  int AddItem(const std::string& text, LPARAM data = 0);
  void DeleteItem(int index);
  void Clear();
  int ItemCount();
  std::string ItemText(int index);
  LPARAM ItemData(int index);
  int ItemIndex();
  void SetItemIndex(int index);
  bool DroppedDown();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnSelEndOk;
  TNotifyEvent OnSelEndCancel;

protected:
  void CreateParams(TCreateParams& params) override;
  bool OnCommand(WORD code, WORD id) override;
  bool OnOwnerDraw(UINT message, LPARAM lParam, LRESULT& result) override;

  virtual void DrawItem(const DRAWITEMSTRUCT&) {}
  // An entry is about to go: where its data is freed.
  virtual void ItemDeleted(int, LPARAM) {}

private:
  void Fire(const TNotifyEvent& event);

  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FItemHeight = 16;
};

}  // namespace retrove
