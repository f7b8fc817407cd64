#include "PropText.h"

#include <cctype>

#include "PlacementText.h"
#include "PropertyTable.h"

namespace retrove {

namespace {

// Set members beyond this many cannot be stored in the ordinal.
constexpr size_t kSetMembers = 32;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::optional<int64_t> ValueOfName(const TPropInfo& prop, std::string_view name) {
  for (size_t ordinal = 0; ordinal < prop.ValueNames.size(); ++ordinal)
    if (SameName(prop.ValueNames[ordinal], name)) return static_cast<int64_t>(ordinal);
  return std::nullopt;
}

std::string SetText(const TPropInfo& prop, int64_t bits) {
  std::string text = "[";
  for (size_t ordinal = 0; ordinal < prop.ValueNames.size() && ordinal < kSetMembers; ++ordinal) {
    if (!(bits & (int64_t{1} << ordinal))) continue;
    if (text.size() > 1) text += ',';
    text += prop.ValueNames[ordinal];
  }
  return text + "]";
}

// Only a bracketed text is a set; its words that name members make it up.
std::optional<int64_t> SetOfText(const TPropInfo& prop, std::string_view text) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  const auto separator = [](char c) { return c == ' ' || c == ',' || c == '[' || c == ']'; };
  int64_t bits = 0;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && separator(text[at])) ++at;
    const size_t start = at;
    while (at < text.size() && !separator(text[at])) ++at;
    if (at == start) break;
    const auto member = ValueOfName(prop, text.substr(start, at - start));
    if (member && *member < static_cast<int64_t>(kSetMembers)) bits |= int64_t{1} << *member;
  }
  return bits;
}

std::optional<int64_t> OrdinalOfText(const TPropInfo& prop, std::string_view text) {
  switch (prop.Kind) {
    case TTypeKind::Integer:
      return StoredInteger(text);
    case TTypeKind::Char:
    case TTypeKind::WChar:
      if (text.empty()) return std::nullopt;
      return static_cast<unsigned char>(text.front());
    case TTypeKind::Enumeration:
      return ValueOfName(prop, text);
    case TTypeKind::Set:
      return SetOfText(prop, text);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<std::string> PropertyText(const TObject& object, const TPropInfo& prop) {
  switch (prop.Kind) {
    case TTypeKind::Integer:
      return std::to_string(GetOrdProp(object, prop));
    case TTypeKind::Char:
    case TTypeKind::WChar:
      return std::string(1, static_cast<char>(GetOrdProp(object, prop) & 0xFF));
    case TTypeKind::Enumeration:
      return GetEnumName(prop, GetOrdProp(object, prop));
    case TTypeKind::Set:
      return SetText(prop, GetOrdProp(object, prop));
    case TTypeKind::String:
      return std::string(TrimBlanks(GetStrProp(object, prop)));
    case TTypeKind::Class:
      return std::nullopt;
  }
  return std::nullopt;
}

bool SetPropertyText(TObject& object, const TPropInfo& prop, std::string_view text) {
  if (!prop.IsWritable()) return false;
  text = TrimBlanks(text);
  if (prop.Kind == TTypeKind::String) {
    SetStrProp(object, prop, std::string(text));
    return true;
  }
  const std::optional<int64_t> ordinal = OrdinalOfText(prop, text);
  if (!ordinal) return false;
  SetOrdProp(object, prop, *ordinal);
  return true;
}

bool StoresEmptyText(const TPropInfo& prop) {
  return prop.Kind == TTypeKind::String || prop.Kind == TTypeKind::WChar;
}

std::optional<std::pair<std::string, std::string>> SplitPropertyPath(std::string_view line) {
  const size_t dot = line.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view component = TrimBlanks(line.substr(0, dot));
  const std::string_view property = TrimBlanks(line.substr(dot + 1));
  if (component.empty() || property.empty()) return std::nullopt;
  return std::pair{std::string(component), std::string(property)};
}

}  // namespace retrove
