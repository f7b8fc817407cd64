#pragma once

#include <cstddef>
#include <cstdint>

#include "State.h"

namespace nwsim {

// The client's deleted-entry record (NWDELETED_INFO), byte for byte.
inline constexpr size_t kDeletedRecordSize = 376;

void WriteDeletedRecord(uint8_t* record, const DeletedEntry& entry, uint32_t directoryBase);

void Put16(uint8_t* at, uint16_t value);
void Put32(uint8_t* at, uint32_t value);

}  // namespace nwsim
