#pragma once

#include <string>
#include <string_view>

#include "State.h"

namespace nwsim {

// The client's longest distinguished name, in characters.
inline constexpr size_t kMaxDirectoryName = 256;

// Directory names are dot-separated components, typed ("CN=ADMIN.O=ACME")
// or typeless ("ADMIN.ACME"). A bindery object's directory name is CN=its
// name in the tree's context.

std::string TypelessName(std::string_view name);
// A one-component name is relative to the context; longer names are
// complete. Untyped components get CN (first), O (last), OU (between).
std::string CanonicalName(std::string_view name, std::string_view context, bool typed);
std::string DirectoryName(const State& state, const BinderyObject& object, bool typed);
const BinderyObject* ResolveDirectoryName(const State& state, std::string_view name, std::string_view context);

}  // namespace nwsim
