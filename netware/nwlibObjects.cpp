// Bindery objects: IDs, types, rights and full names.
#include <array>

#include "NwBuffers.h"
#include "Nwnds.h"
#include "Nwtools.h"
#include "TextCompare.h"
#include "nwlib.h"

namespace retrove {

namespace {

using TNWGetObjectID = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, const char* objectName, uint16_t objectType,
                                       uint32_t* objectID);
using TNWCheckConsolePrivileges = NWCCODE(NWAPI*)(NWCONN_HANDLE conn);
using TNWIsManager = NWCCODE(NWAPI*)(NWCONN_HANDLE conn);
using TNWReadPropertyValue = NWCCODE(NWAPI*)(NWCONN_HANDLE conn, const char* objectName, uint16_t objectType,
                                             const char* propertyName, uint8_t segmentNumber, uint8_t* segmentData,
                                             uint8_t* moreSegments, uint8_t* flags);

TEntrySlot<TNWGetObjectID> GetObjectIDSlot("NWGetObjectID");
TEntrySlot<TNWCheckConsolePrivileges> CheckConsolePrivilegesSlot("NWCheckConsolePrivileges");
TEntrySlot<TNWIsManager> IsManagerSlot("NWIsManager");
TEntrySlot<TNWReadPropertyValue> ReadPropertyValueSlot("NWReadPropertyValue");

constexpr size_t kPropertySegmentSize = 128;

constexpr std::array<uint16_t, 17> kObjTypeCodes = {
    0,      0x0100, 0x0200, 0x0300, 0x0400, 0x0500, 0x0600, 0x0700, 0x0800,
    0x0900, 0x0A00, 0x0B00, 0x2100, 0x2600, 0x2700, 0,      0,
};

// The order in which a name's type is probed: print servers before file
// servers, since a print server often carries its file server's name.
constexpr std::array<uint16_t, 14> kProbedTypeCodes = {
    0x0100, 0x0200, 0x0300, 0x0700, 0x0400, 0x0500, 0x0600, 0x0800, 0x0900, 0x0A00, 0x0B00, 0x2100, 0x2600, 0x2700,
};

bool Succeeds(NWCCODE result) {
  RecordNWLibResult(result);
  return result == 0;
}

}  // namespace

uint16_t ObjTypeCode(TNWObjType type) {
  const auto ordinal = static_cast<size_t>(type);
  return ordinal < kObjTypeCodes.size() ? kObjTypeCodes[ordinal] : 0;
}

uint32_t GetObjectIDByName(NWCONN_HANDLE connection, const std::string& name, uint16_t typeCode) {
  connection = ConnectionOrPrimary(connection);
  const TNWGetObjectID getObjectID = GetObjectIDSlot.Resolve(CallsLibHandle);
  char objectName[kBinderyNameInput];
  if (!getObjectID || !CopyToBuffer(UpperCase(name), objectName)) return 0;
  uint32_t objectID = 0;
  NWLibResult = static_cast<int32_t>(getObjectID(connection, objectName, typeCode, &objectID));
  if (NWLibResult == 0) return objectID;
  if (DSInUse) return AuditGetObjectID(connection, name);
  NWLibError = NWLibResult;
  return 0;
}

std::string GetObjectIDText(NWCONN_HANDLE connection, const std::string& name, uint16_t typeCode) {
  connection = ConnectionOrPrimary(connection);
  if (DSInUse) {
    std::string text = MapNameToIDText(connection, name);
    if (text != "0") return text;
  }
  const TNWGetObjectID getObjectID = GetObjectIDSlot.Resolve(CallsLibHandle);
  char objectName[kBinderyNameInput];
  uint32_t objectID = 0;
  if (!getObjectID || !CopyToBuffer(UpperCase(name), objectName) ||
      getObjectID(connection, objectName, typeCode, &objectID) != 0)
    return "0";
  return ObjectIDText(LongSwap(objectID));
}

uint16_t FindObjectType(NWCONN_HANDLE connection, const std::string& name) {
  for (const uint16_t code : kProbedTypeCodes)
    if (GetObjectIDByName(connection, name, code) != 0) return code;
  return 0;
}

bool HasConsolePrivileges(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  const TNWCheckConsolePrivileges check = CheckConsolePrivilegesSlot.Resolve(CallsLibHandle);
  return check && Succeeds(check(connection));
}

bool IsManagerOf(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  const TNWIsManager isManager = IsManagerSlot.Resolve(CallsLibHandle);
  return isManager && Succeeds(isManager(connection));
}

std::string ReadFullName(NWCONN_HANDLE connection, const std::string& loginName) {
  connection = ConnectionOrPrimary(connection);
  std::string fullName;
  if (DSInUse && ReadObjectAttributeText("", loginName, kFullNameAttribute, fullName)) return fullName;
  const std::string name = UpperCase(TrimBlanks(loginName));
  const TNWReadPropertyValue readProperty = ReadPropertyValueSlot.Resolve(CallsLibHandle);
  if (!readProperty) return name;
  const uint16_t typeCode = FindObjectType(connection, loginName);
  char objectName[kBinderyNameInput];
  char propertyName[kBinderyNameInput] = "IDENTIFICATION";
  if (!CopyToBuffer(name, objectName)) return name;
  uint8_t segment[kPropertySegmentSize] = {};
  uint8_t moreSegments = 0;
  uint8_t propertyFlags = 0;
  if (readProperty(connection, objectName, typeCode, propertyName, 1, segment, &moreSegments, &propertyFlags) != 0)
    return name;
  // A full segment carries no terminator.
  return BufferText(reinterpret_cast<const char*>(segment), sizeof segment);
}

}  // namespace retrove
