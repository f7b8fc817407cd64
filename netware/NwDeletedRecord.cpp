#include "NwDeletedRecord.h"

#include <cstring>

namespace retrove {

namespace {

constexpr size_t kNameOffset = 16;
constexpr size_t kNameField = 256;

template <class T>
T Read(const TNWDeletedRecordBytes& bytes, size_t offset) {
  static_assert(sizeof(T) <= kDeletedRecordSize);
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

}  // namespace

TNWDeletedRecord DecodeDeletedRecord(const TNWDeletedRecordBytes& bytes) {
  TNWDeletedRecord record;
  record.Attributes = Read<uint32_t>(bytes, 8);
  record.Flags = Read<uint8_t>(bytes, 13);
  record.NameSpace = Read<uint8_t>(bytes, 14);
  record.NameLength = Read<uint8_t>(bytes, 15);
  const auto* name = reinterpret_cast<const char*>(bytes.data() + kNameOffset);
  record.Name.assign(name, strnlen(name, kNameField));
  record.CreationPacked = Read<uint32_t>(bytes, 272);
  record.OwnerID = Read<uint32_t>(bytes, 276);
  record.ArchivePacked = Read<uint32_t>(bytes, 280);
  record.ArchiverID = Read<uint32_t>(bytes, 284);
  record.UpdatePacked = Read<uint32_t>(bytes, 288);
  record.UpdaterID = Read<uint32_t>(bytes, 292);
  record.FileSize = Read<int32_t>(bytes, 296);
  record.RightsMask = Read<uint16_t>(bytes, 344);
  record.LastAccessDate = Read<uint16_t>(bytes, 346);
  record.DeletedPacked = Read<uint32_t>(bytes, 352);
  record.DeleterID = Read<uint32_t>(bytes, 356);
  return record;
}

std::string ReturnedEntryName(const TNWDeletedRecord& record) {
  return record.Name.substr(0, record.NameLength);
}

void SetRightsFromMask(uint16_t mask, TNWDeletedFileInfo& info) {
  info.RightsRead = mask & 0x0001;
  info.RightsWrite = mask & 0x0002;
  info.RightsOpen = mask & 0x0004;
  info.RightsCreate = mask & 0x0008;
  info.RightsDelete = mask & 0x0010;
  info.RightsErase = mask & 0x0010;
  info.RightsOwnership = mask & 0x0020;
  info.RightsFileScan = mask & 0x0040;
  info.RightsSearch = mask & 0x0040;
  info.RightsModify = mask & 0x0080;
  info.RightsAll = mask & 0x01FB;
  info.RightsSupervisor = mask & 0x0100;
  info.RightsNormal = mask & 0x00FB;
}

}  // namespace retrove
