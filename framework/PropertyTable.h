#pragma once

#include <functional>
#include <string_view>
#include <type_traits>

#include "Exceptions.h"
#include "Object.h"
#include "Set.h"

namespace retrove {

// --- Reaching published properties by name ---------------------------------

// The published properties of an object, inherited ones first; a property
// that a class publishes again replaces its ancestor's entry in place.
std::vector<const TPropInfo*> PublishedProperties(const TObject& object);

// Case-insensitive look-up; the most derived declaration wins. None: nullptr.
const TPropInfo* FindPropInfo(const TObject& object, std::string_view name);

// Accessors; each raises EPropertyError when used against the property's kind,
// for a read-only property, or with an ordinal the property cannot hold.
int64_t GetOrdProp(const TObject& object, const TPropInfo& prop);
void SetOrdProp(TObject& object, const TPropInfo& prop, int64_t value);
std::string GetStrProp(const TObject& object, const TPropInfo& prop);
void SetStrProp(TObject& object, const TPropInfo& prop, const std::string& value);
TPersistent* GetObjectProp(TObject& object, const TPropInfo& prop);

// Names of enumeration values and set elements. GetEnumValue ignores letter
// case and searches from the lowest ordinal up; no match gives -1.
std::string GetEnumName(const TPropInfo& prop, int64_t ordinal);
int GetEnumValue(const TPropInfo& prop, std::string_view name);

extern const std::vector<std::string> kBooleanNames;

// --- Declaring a class's published properties ------------------------------

namespace detail {

template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class V>
int64_t ToOrdinal(const V& value) {
  if constexpr (IsSet<V>::value)
    return value.Bits();
  else if constexpr (std::is_same_v<V, char>)
    return static_cast<unsigned char>(value);  // a code 0 to 255 whatever char's signedness
  else
    return static_cast<int64_t>(value);
}

template <class V>
V FromOrdinal(int64_t ordinal) {
  if constexpr (IsSet<V>::value)
    return V::FromBits(static_cast<uint32_t>(ordinal));
  else
    return static_cast<V>(ordinal);
}

template <class Setter>
struct SetterArgument;
template <class C, class A>
struct SetterArgument<void (C::*)(A)> {
  using Type = std::remove_cvref_t<A>;
};

}  // namespace detail

// Builds the description of class T from getter and setter member functions:
//   TClassInfoBuilder<TButton>("TButton", TControl::StaticClassInfo())
//       .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
//       .Build();
// Pass nullptr as the setter of a read-only property.
template <class T>
class TClassInfoBuilder {
public:
  TClassInfoBuilder(std::string name, const TClassInfo& parent) : FName(std::move(name)), FParent(&parent) {}

  template <class Get, class Put>
  TClassInfoBuilder& Integer(std::string name, Get get, Put put, std::optional<int64_t> def = std::nullopt) {
    return Ordinal(std::move(name), TTypeKind::Integer, get, put, {}, def);
  }
  template <class Get, class Put>
  TClassInfoBuilder& Char(std::string name, Get get, Put put) {
    return Ordinal(std::move(name), TTypeKind::Char, get, put, {}, std::nullopt);
  }
  template <class Get, class Put>
  TClassInfoBuilder& WChar(std::string name, Get get, Put put) {
    return Ordinal(std::move(name), TTypeKind::WChar, get, put, {}, std::nullopt);
  }
  template <class Get, class Put>
  TClassInfoBuilder& Boolean(std::string name, Get get, Put put, std::optional<bool> def = std::nullopt) {
    std::optional<int64_t> ordinal;
    if (def) ordinal = *def ? 1 : 0;
    return Ordinal(std::move(name), TTypeKind::Enumeration, get, put, kBooleanNames, ordinal);
  }
  template <class Get, class Put>
  TClassInfoBuilder& Enumeration(std::string name, Get get, Put put, std::vector<std::string> valueNames,
                                 std::optional<int64_t> def = std::nullopt) {
    return Ordinal(std::move(name), TTypeKind::Enumeration, get, put, std::move(valueNames), def);
  }
  template <class Get, class Put>
  TClassInfoBuilder& Set(std::string name, Get get, Put put, std::vector<std::string> elementNames,
                         std::optional<int64_t> def = std::nullopt) {
    return Ordinal(std::move(name), TTypeKind::Set, get, put, std::move(elementNames), def);
  }

  template <class Get, class Put>
  TClassInfoBuilder& String(std::string name, Get get, Put put) {
    TPropInfo prop = NewProp(std::move(name), TTypeKind::String);
    prop.GetString = [get](const TObject& o) { return std::string(std::invoke(get, static_cast<const T&>(o))); };
    if constexpr (!std::is_null_pointer_v<Put>)
      prop.SetString = [put](TObject& o, const std::string& v) { std::invoke(put, static_cast<T&>(o), v); };
    return Add(std::move(prop));
  }

  // A persistent sub-object (a font, a string list); it is changed through
  // its own properties or Assign, never replaced.
  template <class Get>
  TClassInfoBuilder& Object(std::string name, Get get) {
    TPropInfo prop = NewProp(std::move(name), TTypeKind::Class);
    prop.GetSubObject = [get](TObject& o) -> TPersistent* { return std::invoke(get, static_cast<T&>(o)); };
    return Add(std::move(prop));
  }

  TClassInfo Build() { return TClassInfo(std::move(FName), FParent, std::move(FProperties)); }

private:
  template <class Get, class Put>
  TClassInfoBuilder& Ordinal(std::string name, TTypeKind kind, Get get, Put put, std::vector<std::string> names,
                             std::optional<int64_t> def) {
    TPropInfo prop = NewProp(std::move(name), kind);
    prop.ValueNames = std::move(names);
    prop.Default = def;
    prop.GetOrdinal = [get](const TObject& o) { return detail::ToOrdinal(std::invoke(get, static_cast<const T&>(o))); };
    if constexpr (!std::is_null_pointer_v<Put>) {
      using Value = typename detail::SetterArgument<Put>::Type;
      prop.SetOrdinal = [put](TObject& o, int64_t v) {
        std::invoke(put, static_cast<T&>(o), detail::FromOrdinal<Value>(v));
      };
    }
    return Add(std::move(prop));
  }

  static TPropInfo NewProp(std::string name, TTypeKind kind) {
    TPropInfo prop;
    prop.Name = std::move(name);
    prop.Kind = kind;
    return prop;
  }

  TClassInfoBuilder& Add(TPropInfo prop) {
    FProperties.push_back(std::move(prop));
    return *this;
  }

  std::string FName;
  const TClassInfo* FParent;
  std::vector<TPropInfo> FProperties;
};

}  // namespace retrove
