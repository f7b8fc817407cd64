#include "UserCollation.h"

#include <windows.h>

namespace retrove {

std::string UserCollationKey(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), length, nullptr, 0);
  // A text the locale cannot map still needs a key; its bytes are one.
  if (size <= 0) return std::string(text);
  std::string key(static_cast<size_t>(size), '\0');
  LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), length, key.data(), size);
  // The key ends in a NUL; without it a shorter key still sorts first.
  key.pop_back();
  return key;
}

}  // namespace retrove
