#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "DateTime.h"

namespace retrove {

// The client's NWDELETED_INFO record as the deleted-file scan fills it.
inline constexpr size_t kDeletedRecordSize = 376;
using TNWDeletedRecordBytes = std::array<unsigned char, kDeletedRecordSize>;

// The fields of a deleted-entry record that the program reads, still in
// the server's form (packed dates, object IDs in the server's byte order).
struct TNWDeletedRecord {
  uint32_t Attributes = 0;
  uint8_t Flags = 0;
  uint8_t NameSpace = 0;
  uint8_t NameLength = 0;
  std::string Name;
  uint32_t CreationPacked = 0;
  uint32_t OwnerID = 0;
  uint32_t ArchivePacked = 0;
  uint32_t ArchiverID = 0;
  uint32_t UpdatePacked = 0;
  uint32_t UpdaterID = 0;
  int32_t FileSize = 0;
  uint16_t RightsMask = 0;
  uint16_t LastAccessDate = 0;  // as read from the record: high byte first
  uint32_t DeletedPacked = 0;
  uint32_t DeleterID = 0;
};

TNWDeletedRecord DecodeDeletedRecord(const TNWDeletedRecordBytes& bytes);

// The name the scan returned: as many characters as the name length says,
// never past the name's terminating NUL or its 256-byte field.
std::string ReturnedEntryName(const TNWDeletedRecord& record);

// One deleted file's details, decoded.
struct TNWDeletedFileInfo {
  uint32_t Attributes = 0;
  uint8_t Flags = 0;
  uint8_t NameSpace = 0;
  uint8_t NameLength = 0;
  std::string Name;
  TDateTime CreationDateTime = 0;
  std::string Owner;
  TDateTime ArchiveDateTime = 0;
  std::string Archiver;
  TDateTime UpdateDateTime = 0;
  std::string Updater;
  int32_t FileSize = 0;
  bool RightsRead = false;
  bool RightsWrite = false;
  bool RightsOpen = false;
  bool RightsCreate = false;
  bool RightsDelete = false;
  bool RightsErase = false;
  bool RightsOwnership = false;
  bool RightsFileScan = false;
  bool RightsSearch = false;
  bool RightsModify = false;
  bool RightsAll = false;
  bool RightsSupervisor = false;
  bool RightsNormal = false;
  TDateTime LastAccessDate = 0;
  TDateTime DeletedDateTime = 0;
  std::string Deletor;
};

// Sets the thirteen rights booleans from an inherited rights mask.
void SetRightsFromMask(uint16_t mask, TNWDeletedFileInfo& info);

}  // namespace retrove
