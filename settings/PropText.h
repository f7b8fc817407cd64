#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "ClassInfo.h"

namespace retrove {

// The stored text of a published property, by its kind: integers in
// decimal, characters as themselves, enumerations by value name, sets as
// "[a,b]", strings as they are. Object properties have no text of their
// own: nothing.
std::optional<std::string> PropertyText(const TObject& object, const TPropInfo& prop);

// Sets the property from a stored text; a text that names no value of the
// property's kind leaves it as it is. Returns whether it was set.
bool SetPropertyText(TObject& object, const TPropInfo& prop, std::string_view text);

// Whether a property of this kind is stored even with an empty text.
bool StoresEmptyText(const TPropInfo& prop);

// "Component.Property", blanks around either part ignored; nothing when
// either part is empty or there is no ".".
std::optional<std::pair<std::string, std::string>> SplitPropertyPath(std::string_view line);

std::string_view TrimBlanks(std::string_view text);

}  // namespace retrove
