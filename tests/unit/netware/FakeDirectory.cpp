// The fake directory-services and locale libraries.
#include <cstring>
#include <memory>

#include "FakeClient.h"

namespace fake {

namespace {

using retrove::NWCONN_HANDLE;

// Directory errors are negative numbers.
constexpr uint32_t kBadContext = static_cast<uint32_t>(-303);
constexpr uint32_t kNoSuchEntry = static_cast<uint32_t>(-601);
constexpr uint32_t kNoSuchAttribute = static_cast<uint32_t>(-603);
constexpr int32_t kContextCreationFailed = -328;

TFakeContext* Context(int32_t handle) {
  const auto found = Server.Contexts.find(handle);
  return found == Server.Contexts.end() ? nullptr : &found->second;
}

int32_t NewContext(const TFakeContext& settings) {
  const int32_t handle = Server.NextContext++;
  Server.Contexts[handle] = settings;
  return handle;
}

// Writes as the real client does: the whole name, however long, and a NUL.
void WriteName(char* out, const std::string& name) {
  std::memcpy(out, name.c_str(), name.size() + 1);
}

void* NWAPI Llocaleconv(void* record) {
  auto* bytes = static_cast<unsigned char*>(record);
  const int32_t codePage = 850;
  const int32_t country = 1;
  std::memcpy(bytes + 56, &codePage, 4);
  std::memcpy(bytes + 60, &country, 4);
  return record;
}

uint32_t NWAPI InitUnicodeTables(int32_t country, int32_t codePage) {
  if (const uint32_t failure = Failure("NWInitUnicodeTables")) return failure;
  Server.UnicodeTables = {country, codePage};
  ++Server.UnicodeTablesLoaded;
  return 0;
}

uint32_t NWAPI FreeUnicodeTables() {
  --Server.UnicodeTablesLoaded;
  return 0;
}

// Like the real client, no context before the unicode tables.
int32_t NWAPI CreateContext() {
  ++Server.ContextsCreated;
  if (Server.CreateContextResult != 0) return Server.CreateContextResult;
  if (Server.UnicodeTablesLoaded <= 0) return kContextCreationFailed;
  return NewContext(TFakeContext{Server.DefaultContextFlags, "[Root]"});
}

uint32_t NWAPI FreeContext(int32_t context) {
  if (!Server.Contexts.erase(context)) return kBadContext;
  ++Server.ContextsFreed;
  return 0;
}

int32_t NWAPI DuplicateContext(int32_t context) {
  const TFakeContext* original = Context(context);
  if (!original || Failure("NWDSDuplicateContext")) return kContextCreationFailed;
  return NewContext(*original);
}

uint32_t NWAPI DuplicateContextHandle(int32_t source, int32_t* destination) {
  const TFakeContext* original = Context(source);
  if (!original) return kBadContext;
  if (const uint32_t failure = Failure("NWDSDuplicateContextHandle")) return failure;
  *destination = NewContext(*original);
  return 0;
}

uint32_t NWAPI SetContext(int32_t handle, int32_t key, const void* value) {
  TFakeContext* context = Context(handle);
  if (!context) return kBadContext;
  if (const uint32_t failure = Failure("NWDSSetContext")) return failure;
  if (key == 1) context->Flags = *static_cast<const uint32_t*>(value);
  if (key == 3) {
    context->NameContext = static_cast<const char*>(value);
    ++Server.NameContextSets;
  }
  return 0;
}

// A failed read leaves rubbish behind, as a careless client may.
uint32_t NWAPI GetContext(int32_t handle, int32_t key, void* value) {
  const TFakeContext* context = Context(handle);
  if (!context) return kBadContext;
  if (const uint32_t failure = Failure("NWDSGetContext")) {
    if (key == 1) *static_cast<uint32_t*>(value) = 0xDEADBEEF;
    return failure;
  }
  if (key == 1) *static_cast<uint32_t*>(value) = context->Flags;
  if (key == 3) WriteName(static_cast<char*>(value), context->NameContext);
  return 0;
}

uint16_t NWAPI IsDSServer(NWCONN_HANDLE, char* treeName) {
  if (Server.TreeName.empty()) return 0;
  WriteName(treeName, Server.TreeName);
  return 1;
}

uint32_t NWAPI WhoAmI(int32_t handle, char* name) {
  if (!Context(handle)) return kBadContext;
  if (Server.TreeName.empty()) return kNoSuchEntry;
  WriteName(name, Server.DirectoryUser);
  return 0;
}

// Typed names relative to the context's name context.
uint32_t NWAPI CanonicalizeName(int32_t handle, const char* name, char* canonical) {
  const TFakeContext* context = Context(handle);
  if (!context) return kBadContext;
  Server.CanonicalizeFlags = context->Flags;
  if (const uint32_t failure = Failure("NWDSCanonicalizeName")) return failure;
  std::string result = std::strchr(name, '=') ? name : std::string("CN=") + name;
  if (context->NameContext != "[Root]") result += "." + context->NameContext;
  WriteName(canonical, result);
  return 0;
}

uint32_t NWAPI MapNameToID(int32_t handle, NWCONN_HANDLE, const char* name, uint32_t* objectID) {
  if (!Context(handle)) return kBadContext;
  const auto found = Server.DirectoryIDs.find(name);
  if (found == Server.DirectoryIDs.end()) return kNoSuchEntry;
  *objectID = found->second;
  return 0;
}

uint32_t NWAPI AuditGetObjectID(int32_t handle, const char* name, NWCONN_HANDLE* conn, uint32_t* objectID) {
  const uint32_t result = MapNameToID(handle, 0, name, objectID);
  *conn = 999;
  return result;
}

uint32_t NWAPI MapIDToName(int32_t handle, NWCONN_HANDLE, uint32_t objectID, char* name) {
  if (!Context(handle)) return kBadContext;
  for (const auto& [directoryName, id] : Server.DirectoryIDs) {
    if (id != objectID) continue;
    WriteName(name, directoryName);
    return 0;
  }
  return kNoSuchEntry;
}

// A request or result buffer: what was asked for, or what was found.
struct TFakeBuffer {
  std::vector<std::string> Requested;
  std::vector<std::pair<std::string, TFakeAttribute>> Results;
};

uint32_t NWAPI AllocBuf(size_t size, void** buffer) {
  if (const uint32_t failure = Failure("NWDSAllocBuf")) return failure;
  if (size != 4096) return 0x8836;
  *buffer = new TFakeBuffer;
  ++Server.BuffersOpen;
  return 0;
}

uint32_t NWAPI FreeBuf(void* buffer) {
  delete static_cast<TFakeBuffer*>(buffer);
  --Server.BuffersOpen;
  return 0;
}

uint32_t NWAPI InitBuf(int32_t handle, uint32_t operation, void*) {
  if (!Context(handle)) return kBadContext;
  return operation == 3 ? 0 : 0x8836;
}

uint32_t NWAPI PutAttrName(int32_t, void* buffer, const char* name) {
  if (const uint32_t failure = Failure("NWDSPutAttrName")) return failure;
  static_cast<TFakeBuffer*>(buffer)->Requested.push_back(name);
  return 0;
}

uint32_t NWAPI Read(int32_t handle, const char* objectName, uint32_t infoType, uint8_t allAttributes, void* request,
                    int32_t* iteration, void* result) {
  if (!Context(handle)) return kBadContext;
  if (infoType != 1 || allAttributes != 0) return 0x8836;
  Server.ObjectsRead.push_back(objectName);
  const auto object = Server.Attributes.find(objectName);
  if (object == Server.Attributes.end()) return kNoSuchEntry;
  auto* found = static_cast<TFakeBuffer*>(result);
  found->Results.clear();
  for (const std::string& name : static_cast<TFakeBuffer*>(request)->Requested) {
    const auto attribute = object->second.find(name);
    if (attribute != object->second.end()) found->Results.emplace_back(name, attribute->second);
  }
  *iteration = -1;
  return found->Results.empty() ? kNoSuchAttribute : 0;
}

uint32_t NWAPI GetAttrCount(int32_t, void* buffer, uint32_t* count) {
  *count = static_cast<uint32_t>(static_cast<TFakeBuffer*>(buffer)->Results.size());
  return 0;
}

uint32_t NWAPI GetAttrName(int32_t, void* buffer, char* name, uint32_t* valueCount, uint32_t* syntaxID) {
  const auto& [attributeName, value] = static_cast<TFakeBuffer*>(buffer)->Results.front();
  WriteName(name, attributeName);
  *valueCount = 1;
  *syntaxID = value.Syntax;
  return 0;
}

uint32_t NWAPI ComputeAttrValSize(int32_t, void* buffer, uint32_t, uint32_t* size) {
  if (const uint32_t failure = Failure("NWDSComputeAttrValSize")) return failure;
  *size = static_cast<uint32_t>(static_cast<TFakeBuffer*>(buffer)->Results.front().second.Value.size() + 1);
  return 0;
}

uint32_t NWAPI GetAttrVal(int32_t, void* buffer, uint32_t, void* value) {
  ++Server.AttributeValueReads;
  WriteName(static_cast<char*>(value), static_cast<TFakeBuffer*>(buffer)->Results.front().second.Value);
  return 0;
}

uint32_t NWAPI NeverCalled() {
  return 0x89FF;
}

}  // namespace

retrove::TEntryPoint DuplicateContextHandleEntry() {
  return Entry(&DuplicateContextHandle);
}

void AddDirectoryClient(TFakeModules& modules) {
  modules.Add("LOCWIN32.DLL", "NWLlocaleconv", Entry(&Llocaleconv));
  modules.Add("LOCWIN32.DLL", "NWInitUnicodeTables", Entry(&InitUnicodeTables));
  modules.Add("LOCWIN32.DLL", "NWFreeUnicodeTables", Entry(&FreeUnicodeTables));
  const std::pair<const char*, retrove::TEntryPoint> entries[] = {
      {"NWDSCreateContext", Entry(&CreateContext)},
      {"NWDSFreeContext", Entry(&FreeContext)},
      {"NWDSSetContext", Entry(&SetContext)},
      {"NWDSGetContext", Entry(&GetContext)},
      {"NWDSDuplicateContext", Entry(&DuplicateContext)},
      {"NWIsDSServer", Entry(&IsDSServer)},
      {"NWDSWhoAmI", Entry(&WhoAmI)},
      {"NWDSCanonicalizeName", Entry(&CanonicalizeName)},
      {"NWDSMapNameToID", Entry(&MapNameToID)},
      {"NWDSAuditGetObjectID", Entry(&AuditGetObjectID)},
      {"NWDSMapIDToName", Entry(&MapIDToName)},
      {"NWDSAllocBuf", Entry(&AllocBuf)},
      {"NWDSFreeBuf", Entry(&FreeBuf)},
      {"NWDSInitBuf", Entry(&InitBuf)},
      {"NWDSPutAttrName", Entry(&PutAttrName)},
      {"NWDSRead", Entry(&Read)},
      {"NWDSGetAttrCount", Entry(&GetAttrCount)},
      {"NWDSGetAttrName", Entry(&GetAttrName)},
      {"NWDSComputeAttrValSize", Entry(&ComputeAttrValSize)},
      {"NWDSGetAttrVal", Entry(&GetAttrVal)},
  };
  for (const auto& [name, function] : entries) modules.Add("NETWIN32.DLL", name, function);
  for (const char* name : {"NWDSPutAttrVal", "NWDSPutChange", "NWDSModifyObject", "NWDSRemoveObject",
                           "NWDSGenerateObjectKeyPair", "NWDSGetObjectName", "NWDSGetObjectCount", "NWDSAddObject",
                           "NWDSList", "NWDSOpenStream"})
    modules.Add("NETWIN32.DLL", name, Entry(&NeverCalled));
}

}  // namespace fake
