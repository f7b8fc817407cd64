#pragma once

#include <cstdint>
#include <string>

namespace retrove {

// The "Attributes" column: ten characters, one position per attribute —
// Ro H S Eo D Sh T (read-only, hidden, system, execute-only, directory,
// shareable, transactional), blanks where an attribute is not set. Bits 0x20
// (archive) and 0x40 are not shown.
std::string AttributeString(uint32_t attributes);

}  // namespace retrove
