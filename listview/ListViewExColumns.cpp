#include "ListViewExColumns.h"

#include <string>
#include <utility>

#include "Exceptions.h"
#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TListViewExColumn::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TListViewExColumn>("TListViewExColumn", TPersistent::StaticClassInfo())
          .Integer("ImageIndex", &TListViewExColumn::ImageIndex, &TListViewExColumn::SetImageIndex, -1)
          .Enumeration("ImageAlignment", &TListViewExColumn::ImageAlignment, &TListViewExColumn::SetImageAlignment,
                       {"ciaLeftOfText", "ciaRightOfText"}, ciaRightOfText)
          .Build();
  return info;
}

void TListViewExColumn::SetImageIndex(int index) {
  FImageIndex = index;
  if (index == -1) FImageAlignment = ciaRightOfText;
  Changed();
}

void TListViewExColumn::SetImageAlignment(TColumnImageAlign alignment) {
  FImageAlignment = alignment;
  Changed();
}

void TListViewExColumn::Assign(const TPersistent& source) {
  const auto* column = dynamic_cast<const TListViewExColumn*>(&source);
  if (!column) return TPersistent::Assign(source);
  FImageIndex = column->FImageIndex;
  FImageAlignment = column->FImageAlignment;
  Changed();
}

void TListViewExColumn::Changed() {
  if (OnChange) OnChange();
}

const TClassInfo& TListViewExColumns::StaticClassInfo() {
  static const TClassInfo info =
      TClassInfoBuilder<TListViewExColumns>("TListViewExColumns", TPersistent::StaticClassInfo()).Build();
  return info;
}

TListViewExColumn& TListViewExColumns::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return *FItems[static_cast<size_t>(index)];
}

TListViewExColumn& TListViewExColumns::Add() {
  FItems.push_back(std::make_unique<TListViewExColumn>());
  const int index = Count() - 1;
  FItems.back()->OnChange = [this, index] { Changed(index); };
  Changed(index);
  return *FItems.back();
}

void TListViewExColumns::Clear() {
  FItems.clear();
  Changed(-1);
}

void TListViewExColumns::Assign(const TPersistent& source) {
  const auto* columns = dynamic_cast<const TListViewExColumns*>(&source);
  if (!columns) return TPersistent::Assign(source);
  if (columns == this) return;
  auto notify = std::exchange(OnChange, nullptr);
  Clear();
  for (const auto& item : columns->FItems) Add().Assign(*item);
  OnChange = std::move(notify);
  Changed(-1);
}

void TListViewExColumns::Changed(int index) {
  if (OnChange) OnChange(index);
}

}  // namespace retrove
