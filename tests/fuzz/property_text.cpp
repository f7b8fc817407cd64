// A stored property text comes back from the registry, where anything may
// have been written by hand; it must set the property to a value whose text
// reads back the same, or leave the property as it was.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Exceptions.h"
#include "FuzzCheck.h"
#include "PlacementText.h"
#include "PropText.h"
#include "PropertyTable.h"
#include "StoredSample.h"

using namespace retrove;
using retrove::fuzz::Require;
using retrove::test::TStored;

namespace {

using TTexts = std::vector<std::optional<std::string>>;

TTexts AllTexts(const TObject& object, const std::vector<const TPropInfo*>& props) {
  TTexts texts;
  for (const TPropInfo* prop : props) texts.push_back(PropertyText(object, *prop));
  return texts;
}

// A setter may refuse a value by raising, as a component's name does; that
// is a refusal like any other.
bool SetText(TObject& object, const TPropInfo& prop, std::string_view text) {
  try {
    return SetPropertyText(object, prop, text);
  } catch (const Exception&) {
    return false;
  }
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool Bracketed(std::string_view text) {
  return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

// Whether `given` names a value of an ordinal property's kind.
bool NamesAValue(const TPropInfo& prop, std::string_view given) {
  switch (prop.Kind) {
    case TTypeKind::Integer:
      return StoredInteger(given).has_value();
    case TTypeKind::Char:
    case TTypeKind::WChar:
      return !given.empty();
    case TTypeKind::Enumeration:
      return std::any_of(prop.ValueNames.begin(), prop.ValueNames.end(),
                         [&](const std::string& name) { return SameLetters(name, given); });
    case TTypeKind::Set:
      return Bracketed(given);
    case TTypeKind::String:
    case TTypeKind::Class:
      return false;
  }
  return false;
}

std::vector<std::string_view> SetWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && std::string_view(" ,[]").find(text[at]) == std::string_view::npos) continue;
    if (at > start) words.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  return words;
}

bool HasWord(const std::vector<std::string_view>& words, std::string_view word) {
  return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return SameLetters(w, word); });
}

// A set shows exactly the members its given words name, each once.
bool ShowsNamedMembers(const TPropInfo& prop, std::string_view given, std::string_view shown) {
  const std::vector<std::string_view> named = SetWords(given);
  const std::vector<std::string_view> members = SetWords(shown);
  const auto isNamed = [&](const std::string& name) { return HasWord(named, name); };
  const auto namedCount = std::count_if(prop.ValueNames.begin(), prop.ValueNames.end(), isNamed);
  return Bracketed(shown) && static_cast<std::size_t>(namedCount) == members.size() &&
         std::all_of(prop.ValueNames.begin(), prop.ValueNames.end(),
                     [&](const std::string& name) { return isNamed(name) == HasWord(members, name); });
}

// What the text of a property that took `given` must be, by its kind.
bool ShowsWhatWasGiven(const TPropInfo& prop, std::string_view given, const std::string& shown) {
  switch (prop.Kind) {
    case TTypeKind::Integer:
      return shown == std::to_string(*StoredInteger(given));
    case TTypeKind::Char:
    case TTypeKind::WChar:
      return shown == given.substr(0, 1);
    case TTypeKind::Enumeration:
      return SameLetters(shown, given);
    case TTypeKind::Set:
      return ShowsNamedMembers(prop, given, shown);
    case TTypeKind::String:
      return shown == given;
    case TTypeKind::Class:
      return false;
  }
  return false;
}

void CheckReadBack(std::size_t index, const std::string& shown) {
  TStored fresh(nullptr);
  const TPropInfo& prop = *PublishedProperties(fresh)[index];
  Require(SetText(fresh, prop, shown), "a property takes its own text");
  Require(PropertyText(fresh, prop) == shown, "a property's text reads back the same");
}

void CheckSet(TStored& object, const std::vector<const TPropInfo*>& props, std::size_t index, std::string_view text) {
  const TTexts before = AllTexts(object, props);
  const TPropInfo& prop = *props[index];
  const bool taken = SetText(object, prop, text);
  const TTexts after = AllTexts(object, props);
  // A string property's own setter may refuse a text; an ordinal one has no say.
  if (prop.IsOrdinal()) Require(taken == NamesAValue(prop, Trimmed(text)), "a text is taken when it names a value");
  for (std::size_t other = 0; other < props.size(); ++other)
    if (other != index) Require(after[other] == before[other], "setting one property changes no other");
  if (!taken) {
    Require(after[index] == before[index], "a refused text leaves the property as it was");
    return;
  }
  Require(after[index].has_value(), "a property that took a text has one");
  Require(ShowsWhatWasGiven(prop, Trimmed(text), *after[index]), "a property shows the value it took");
  CheckReadBack(index, *after[index]);
}

}  // namespace

// The whole input is the stored text of each published property in turn.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TStored object(nullptr);
  const std::vector<const TPropInfo*> props = PublishedProperties(object);
  for (std::size_t index = 0; index < props.size(); ++index) CheckSet(object, props, index, text);
  return 0;
}
