#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Persistent.h"

namespace retrove {

enum TColumnImageAlign { ciaLeftOfText, ciaRightOfText };

// The image a column header shows beside its text; item i of the
// collection belongs to column i.
class TListViewExColumn : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // -1: no image. Setting -1 also puts the (absent) image right of the text.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  TColumnImageAlign ImageAlignment() const { return FImageAlignment; }
  void SetImageAlignment(TColumnImageAlign alignment);

  void Assign(const TPersistent& source) override;

  // After each change of this item.
  std::function<void()> OnChange;

private:
  void Changed();

  int FImageIndex = -1;
  TColumnImageAlign FImageAlignment = ciaRightOfText;
};

class TListViewExColumns : public TPersistent {
public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int Count() const { return static_cast<int>(FItems.size()); }
  TListViewExColumn& Items(int index) const;
  TListViewExColumn& Add();
  void Clear();

  // Copies every item of another collection, after clearing this one.
  void Assign(const TPersistent& source) override;

  // The index of the item that changed, or -1 when the whole collection did.
  std::function<void(int index)> OnChange;

private:
  void Changed(int index);

  std::vector<std::unique_ptr<TListViewExColumn>> FItems;
};

}  // namespace retrove
