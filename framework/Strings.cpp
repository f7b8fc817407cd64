#include "Strings.h"

#include "Exceptions.h"
#include "TextCompare.h"

namespace retrove {

const TClassInfo& TStrings::StaticClassInfo() {
  static const TClassInfo info("TStrings", &TPersistent::StaticClassInfo(), {});
  return info;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  const int index = Count();
  Insert(index, text, object);
  return index;
}

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Strings(i), text)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == object) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string result;
  for (int i = 0; i < Count(); ++i) {
    result += Strings(i);
    result += "\r\n";
  }
  return result;
}

void TStrings::SetText(std::string_view text) {
  Clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    Add(std::string(text.substr(start, end - start)));
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    start = end;
  }
}

void TStrings::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TStrings*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  Clear();
  for (int i = 0; i < other->Count(); ++i) AddObject(other->Strings(i), other->Objects(i));
}

void TStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

const TClassInfo& TStringList::StaticClassInfo() {
  static const TClassInfo info("TStringList", &TStrings::StaticClassInfo(), {});
  return info;
}

TStringList::~TStringList() {
  for (const Item& item : FItems) Release(item.Object);
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)].Text;
}

void TStringList::SetStrings(int index, const std::string& text) {
  CheckIndex(index, Count());
  FItems[static_cast<size_t>(index)].Text = text;
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index, Count());
  return FItems[static_cast<size_t>(index)].Object;
}

void TStringList::SetObjects(int index, TObject* object) {
  CheckIndex(index, Count());
  TObject*& slot = FItems[static_cast<size_t>(index)].Object;
  if (slot != object) Release(slot);
  slot = object;
}

void TStringList::Insert(int index, const std::string& text, TObject* object) {
  CheckIndex(index, Count() + 1);
  FItems.insert(FItems.begin() + index, Item{text, object});
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  TObject* object = FItems[static_cast<size_t>(index)].Object;
  FItems.erase(FItems.begin() + index);
  Release(object);
}

void TStringList::Clear() {
  std::vector<Item> old;
  old.swap(FItems);
  for (const Item& item : old) Release(item.Object);
}

void TStringList::Assign(const TPersistent& source) {
  // Taking borrowed objects into an owning list would free them twice.
  const auto* other = dynamic_cast<const TStrings*>(&source);
  if (FOwnsObjects && other && other != this)
    for (int i = 0; i < other->Count(); ++i)
      if (other->Objects(i)) throw EInvalidOperation("A list that owns its objects cannot take another list's objects");
  TStrings::Assign(source);
}

void TStringList::Release(TObject* object) const {
  if (FOwnsObjects) delete object;
}

}  // namespace retrove
