#pragma once

#include <cstdio>
#include <cstdlib>

namespace retrove::fuzz {

// A broken property is a crash to libFuzzer, which then keeps the input.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

}  // namespace retrove::fuzz
