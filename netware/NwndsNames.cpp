// Directory names: the current user, canonical names, and object IDs.
#include "NwBuffers.h"
#include "Nwnds.h"
#include "NwndsEntries.h"

namespace retrove {

using namespace nds;

namespace {

using TNWIsDSServer = uint16_t(NWAPI*)(NWCONN_HANDLE conn, char* treeName);
using TNWDSWhoAmI = NWCCODE(NWAPI*)(int32_t context, char* objectName);
using TNWDSCanonicalizeName = NWCCODE(NWAPI*)(int32_t context, const char* objectName, char* canonName);
using TNWDSMapNameToID = NWCCODE(NWAPI*)(int32_t context, NWCONN_HANDLE conn, const char* objectName,
                                         uint32_t* objectID);
using TNWDSAuditGetObjectID = NWCCODE(NWAPI*)(int32_t context, const char* objectName, NWCONN_HANDLE* conn,
                                              uint32_t* objectID);
using TNWDSMapIDToName = NWCCODE(NWAPI*)(int32_t context, NWCONN_HANDLE conn, uint32_t objectID, char* objectName);

TEntrySlot<TNWIsDSServer> IsDSServerSlot("NWIsDSServer");
TEntrySlot<TNWDSWhoAmI> WhoAmISlot("NWDSWhoAmI");
TEntrySlot<TNWDSCanonicalizeName> CanonicalizeSlot("NWDSCanonicalizeName");
TEntrySlot<TNWDSMapNameToID> MapNameToIDSlot("NWDSMapNameToID");
TEntrySlot<TNWDSAuditGetObjectID> AuditGetObjectIDSlot("NWDSAuditGetObjectID");
TEntrySlot<TNWDSMapIDToName> MapIDToNameSlot("NWDSMapIDToName");

constexpr size_t kShortNameInput = 48;
constexpr size_t kLongNameInput = 256;
// Aliases dereferenced, strings translated, names canonicalised, and
// typeless names off, so that a canonical name carries its types.
constexpr uint32_t kCanonicalFlags = kDCVDereferenceAliases | kDCVTranslateStrings | kDCVCanonicalizeNames;

// Without recording: CanonicalizeName's own result is the one that counts.
void PutFlags(uint32_t flags) {
  if (const auto set = Bound<TNWDSSetContext>(kSetContext)) set(DSContext, kContextFlagsKey, &flags);
}

}  // namespace

bool IsDSServer(NWCONN_HANDLE connection) {
  connection = ConnectionOrPrimary(connection);
  const TNWIsDSServer isDSServer = IsDSServerSlot.Resolve(NetLibHandle);
  if (!isDSServer) return false;
  char treeName[kNameOutputBuffer] = {};
  const uint16_t answer = isDSServer(connection, treeName);
  NDSResult = answer;
  if (answer == 0) {
    NDSError = -1;
    return false;
  }
  return !BufferText(treeName).empty();
}

std::string WhoAmI() {
  const TNWDSWhoAmI whoAmI = WhoAmISlot.Resolve(NetLibHandle);
  if (!whoAmI) return {};
  char name[kNameOutputBuffer] = {};
  if (whoAmI(DSContext, name) != 0) return {};
  return BufferText(name);
}

std::string CanonicalizeName(const std::string& name) {
  const TNWDSCanonicalizeName canonicalize = CanonicalizeSlot.Resolve(NetLibHandle);
  char input[kShortNameInput];
  if (!canonicalize || !CopyToBuffer(name, input)) return {};
  uint32_t saved = 0;
  if (!ReadContextFlags(saved)) return {};
  PutFlags(kCanonicalFlags);
  char canonical[kNameOutputBuffer] = {};
  RecordNDSResult(canonicalize(DSContext, input, canonical));
  const bool done = NDSResult == 0;
  PutFlags(saved);
  return done ? BufferText(canonical) : std::string();
}

std::string MapNameToIDText(NWCONN_HANDLE connection, const std::string& name) {
  connection = ConnectionOrPrimary(connection);
  const TNWDSMapNameToID mapNameToID = MapNameToIDSlot.Resolve(NetLibHandle);
  char input[kLongNameInput];
  if (!mapNameToID || !CopyToBuffer(name, input)) return {};
  uint32_t objectID = 0;
  RecordNDSResult(mapNameToID(DSContext, connection, input, &objectID));
  if (NDSResult != 0) return {};
  return ObjectIDText(LongSwap(objectID));
}

uint32_t AuditGetObjectID(NWCONN_HANDLE connection, const std::string& name) {
  connection = ConnectionOrPrimary(connection);
  const TNWDSAuditGetObjectID auditGetObjectID = AuditGetObjectIDSlot.Resolve(NetLibHandle);
  char input[kShortNameInput];
  if (!auditGetObjectID || !CopyToBuffer(name, input)) return 0;
  uint32_t objectID = 0;
  RecordNDSResult(auditGetObjectID(DSContext, input, &connection, &objectID));
  return NDSResult == 0 ? objectID : 0;
}

std::string MapIDToName(NWCONN_HANDLE connection, uint32_t objectID) {
  connection = ConnectionOrPrimary(connection);
  const TNWDSMapIDToName mapIDToName = MapIDToNameSlot.Resolve(NetLibHandle);
  if (!mapIDToName) return {};
  char name[kNameOutputBuffer] = {};
  RecordNDSResult(mapIDToName(DSContext, connection, objectID, name));
  if (NDSResult != 0) return {};
  return BufferText(name);
}

}  // namespace retrove
