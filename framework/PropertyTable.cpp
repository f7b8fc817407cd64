#include "PropertyTable.h"

#include <limits>

#include "TextCompare.h"

namespace retrove {

const std::vector<std::string> kBooleanNames = {"False", "True"};

std::vector<const TPropInfo*> PublishedProperties(const TObject& object) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* info = &object.ClassInfo(); info; info = info->Parent()) chain.push_back(info);

  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TPropInfo& prop : (*it)->OwnProperties()) {
      bool replaced = false;
      for (const TPropInfo*& known : result) {
        if (SameText(known->Name, prop.Name)) {
          known = &prop;
          replaced = true;
          break;
        }
      }
      if (!replaced) result.push_back(&prop);
    }
  }
  return result;
}

const TPropInfo* FindPropInfo(const TObject& object, std::string_view name) {
  for (const TClassInfo* info = &object.ClassInfo(); info; info = info->Parent())
    for (const TPropInfo& prop : info->OwnProperties())
      if (SameText(prop.Name, name)) return &prop;
  return nullptr;
}

namespace {

[[noreturn]] void Fail(const TPropInfo& prop, const std::string& what) {
  throw EPropertyError("Property " + prop.Name + ": " + what);
}

void CheckOrdinalRange(const TPropInfo& prop, int64_t value) {
  int64_t low = 0;
  int64_t high = 0;
  switch (prop.Kind) {
    case TTypeKind::Integer:
      low = std::numeric_limits<int32_t>::min();
      high = std::numeric_limits<int32_t>::max();
      break;
    case TTypeKind::Char:
      high = 0xFF;
      break;
    case TTypeKind::WChar:
      high = 0xFFFF;
      break;
    case TTypeKind::Enumeration:
      high = static_cast<int64_t>(prop.ValueNames.size()) - 1;
      break;
    case TTypeKind::Set:
      high = static_cast<int64_t>((uint64_t{1} << prop.ValueNames.size()) - 1);
      break;
    case TTypeKind::String:
    case TTypeKind::Class:
      Fail(prop, "not an ordinal property");
  }
  if (value < low || value > high) Fail(prop, "value " + std::to_string(value) + " out of range");
}

}  // namespace

int64_t GetOrdProp(const TObject& object, const TPropInfo& prop) {
  if (!prop.GetOrdinal) Fail(prop, "not an ordinal property");
  return prop.GetOrdinal(object);
}

void SetOrdProp(TObject& object, const TPropInfo& prop, int64_t value) {
  CheckOrdinalRange(prop, value);
  if (!prop.SetOrdinal) Fail(prop, "read-only");
  prop.SetOrdinal(object, value);
}

std::string GetStrProp(const TObject& object, const TPropInfo& prop) {
  if (!prop.GetString) Fail(prop, "not a string property");
  return prop.GetString(object);
}

void SetStrProp(TObject& object, const TPropInfo& prop, const std::string& value) {
  if (prop.Kind != TTypeKind::String) Fail(prop, "not a string property");
  if (!prop.SetString) Fail(prop, "read-only");
  prop.SetString(object, value);
}

TPersistent* GetObjectProp(TObject& object, const TPropInfo& prop) {
  if (!prop.GetSubObject) Fail(prop, "not an object property");
  return prop.GetSubObject(object);
}

std::string GetEnumName(const TPropInfo& prop, int64_t ordinal) {
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(prop.ValueNames.size())) return {};
  return prop.ValueNames[static_cast<size_t>(ordinal)];
}

int GetEnumValue(const TPropInfo& prop, std::string_view name) {
  for (size_t i = 0; i < prop.ValueNames.size(); ++i)
    if (SameText(prop.ValueNames[i], name)) return static_cast<int>(i);
  return -1;
}

}  // namespace retrove
