#pragma once

#include <string>
#include <string_view>

namespace retrove {

// The user's locale order, case-sensitive, as CompareStringA gives it with
// no flags: a sort key whose bytewise order is that order. Made once per
// cell so that sorting a long list compares bytes, not texts.
std::string UserCollationKey(std::string_view text);

}  // namespace retrove
