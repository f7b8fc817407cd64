#include "DeletedRecord.h"

#include <algorithm>
#include <cstring>

#include "ClientBase.h"

namespace nwsim {

namespace {

enum Offset : size_t {
  kSequence = 0,
  kParent = 4,
  kAttributes = 8,
  kUniqueId = 12,
  kFlags = 13,
  kNameSpace = 14,
  kNameLength = 15,
  kName = 16,
  kCreated = 272,
  kOwner = 276,
  kArchived = 280,
  kArchiver = 284,
  kUpdated = 288,
  kUpdater = 292,
  kFileSize = 296,
  kInheritedRights = 344,
  kLastAccessDate = 346,
  kDeletedTime = 348,
  kDeletedDateTime = 352,
  kDeleter = 356,
};

constexpr size_t kNameCapacity = 256;

}  // namespace

void Put16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteDeletedRecord(uint8_t* r, const DeletedEntry& e, uint32_t directoryBase) {
  std::memset(r, 0, kDeletedRecordSize);
  Put32(r + kSequence, e.sequence);
  Put32(r + kParent, directoryBase);
  Put32(r + kAttributes, e.attributes);
  r[kUniqueId] = 0;
  r[kFlags] = e.flags;
  r[kNameSpace] = e.nameSpace;
  size_t length = std::min(e.name.size(), kNameCapacity - 1);
  r[kNameLength] = static_cast<uint8_t>(length);
  std::memcpy(r + kName, e.name.data(), length);
  Put32(r + kCreated, e.created);
  Put32(r + kOwner, WireOrder(e.owner));
  Put32(r + kArchived, e.archived);
  Put32(r + kArchiver, WireOrder(e.archiver));
  Put32(r + kUpdated, e.updated);
  Put32(r + kUpdater, WireOrder(e.updater));
  Put32(r + kFileSize, e.size);
  Put16(r + kInheritedRights, e.inheritedRights);
  // The date word travels high byte first.
  r[kLastAccessDate] = static_cast<uint8_t>(e.accessed >> 8);
  r[kLastAccessDate + 1] = static_cast<uint8_t>(e.accessed);
  Put32(r + kDeletedTime, e.deleted & 0xFFFF);
  Put32(r + kDeletedDateTime, e.deleted);
  Put32(r + kDeleter, WireOrder(e.deleter));
}

}  // namespace nwsim
