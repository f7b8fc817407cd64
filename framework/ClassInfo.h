#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace retrove {

class TObject;
class TPersistent;

// The kinds of published property that settings storage can turn into text.
// Boolean is the enumeration False/True; a char is an 8-bit code, a wide char
// a 16-bit one; a set is a bit mask over its element names.
enum class TTypeKind { Integer, Char, Enumeration, Set, String, WChar, Class };

// One published property. Ordinal kinds (everything but String and Class) are
// read and written as a 64-bit ordinal; ValueNames names the values of an
// enumeration or the elements of a set, by ordinal.
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::Integer;
  std::vector<std::string> ValueNames;
  std::optional<int64_t> Default;

  std::function<int64_t(const TObject&)> GetOrdinal;
  std::function<void(TObject&, int64_t)> SetOrdinal;
  std::function<std::string(const TObject&)> GetString;
  std::function<void(TObject&, const std::string&)> SetString;
  std::function<TPersistent*(TObject&)> GetSubObject;

  bool IsOrdinal() const { return Kind != TTypeKind::String && Kind != TTypeKind::Class; }
  bool IsWritable() const { return SetOrdinal || SetString; }
};

// Run-time description of a class: its name, its parent's description and the
// properties it publishes itself (the inherited ones stay with the parent).
class TClassInfo {
public:
  TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> properties)
      : FName(std::move(name)), FParent(parent), FProperties(std::move(properties)) {}

  const std::string& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  const std::vector<TPropInfo>& OwnProperties() const { return FProperties; }

  bool InheritsFrom(const TClassInfo& ancestor) const {
    for (const TClassInfo* info = this; info; info = info->FParent)
      if (info == &ancestor) return true;
    return false;
  }

private:
  std::string FName;
  const TClassInfo* FParent;
  std::vector<TPropInfo> FProperties;
};

}  // namespace retrove
