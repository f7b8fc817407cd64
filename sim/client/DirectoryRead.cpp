// Directory-services library: buffers and reading an object's attributes.
#include <algorithm>

#include "ClientBase.h"
#include "DirectoryNames.h"
#include "DirectoryState.h"
#include "Text.h"

using namespace nwsim;

namespace {

constexpr uint32_t kOperationRead = 3;
constexpr uint32_t kInfoNamesAndValues = 1;
constexpr size_t kMaxAttributeName = 32;
constexpr size_t kMaxObjectName = 255;
constexpr size_t kMaxBufferSize = 0x10000;
constexpr uint32_t kSyntaxCaseIgnoreString = 3;
constexpr uint32_t kSyntaxClassName = 20;
constexpr int32_t kNoMoreIterations = -1;

const char* ClassOf(uint16_t binderyType) {
  switch (binderyType) {
    case 1: return "User";
    case 2: return "Group";
    case 7: return "Print Server";
    default: return "Top";
  }
}

std::optional<AttributeValue> Attribute(const BinderyObject& object, const std::string& name) {
  if (EqualNoCase(name, "Full Name") && !object.fullName.empty())
    return AttributeValue{"Full Name", kSyntaxCaseIgnoreString, object.fullName};
  if (EqualNoCase(name, "CN")) return AttributeValue{"CN", kSyntaxCaseIgnoreString, object.name};
  if (EqualNoCase(name, "Object Class")) return AttributeValue{"Object Class", kSyntaxClassName, ClassOf(object.type)};
  return std::nullopt;
}

}  // namespace

extern "C" {

NWCCODE NWCALL NWDSAllocBuf(size_t size, void** buffer) {
  return RunEntryPoint("NWDSAllocBuf", [&]() -> NWCCODE {
    if (!buffer) return kDSNullPointer;
    if (size == 0 || size > kMaxBufferSize) return kInvalidParameter;
    *buffer = Directory().NewBuffer();
    return kOk;
  });
}

NWCCODE NWCALL NWDSFreeBuf(void* buffer) {
  return RunEntryPoint("NWDSFreeBuf",
                       [&]() -> NWCCODE { return Directory().FreeBuffer(buffer) ? kOk : kDSInvalidHandle; });
}

NWCCODE NWCALL NWDSInitBuf(int32_t context, uint32_t operation, void* buffer) {
  return RunEntryPoint("NWDSInitBuf", [&]() -> NWCCODE {
    if (!Directory().Context(context)) return kDSBadContext;
    DirectoryBuffer* b = Directory().Buffer(buffer);
    if (!b) return kDSInvalidHandle;
    if (operation != kOperationRead) return kDSBadVerb;
    *b = DirectoryBuffer();
    b->operation = operation;
    return kOk;
  });
}

NWCCODE NWCALL NWDSPutAttrName(int32_t context, void* buffer, const char* attributeName) {
  return RunEntryPoint("NWDSPutAttrName", [&]() -> NWCCODE {
    if (!Directory().Context(context)) return kDSBadContext;
    DirectoryBuffer* b = Directory().Buffer(buffer);
    if (!b || b->operation != kOperationRead) return kDSInvalidHandle;
    std::optional<std::string> name = ReadText(attributeName, kMaxAttributeName);
    if (!name || name->empty()) return kDSNullPointer;
    b->requested.push_back(*name);
    return kOk;
  }, kDSInvalidHandle);
}

NWCCODE NWCALL NWDSRead(int32_t context, const char* objectName, uint32_t infoType, uint8_t allAttributes,
                        void* attributeNames, int32_t* iterationHandle, void* objectInfo) {
  return RunEntryPoint("NWDSRead", [&]() -> NWCCODE {
    std::optional<DirectoryContext> ctx = Directory().Context(context);
    if (!ctx) return kDSBadContext;
    std::optional<std::string> name = ReadText(objectName, kMaxObjectName);
    DirectoryBuffer* request = Directory().Buffer(attributeNames);
    DirectoryBuffer* result = Directory().Buffer(objectInfo);
    if (!name || !iterationHandle || !result || (!allAttributes && !request)) return kDSNullPointer;
    if (infoType != kInfoNamesAndValues) return kDSBadVerb;
    const State& state = CurrentServer().Current()->state;
    const BinderyObject* object = ResolveDirectoryName(state, *name, ctx->nameContext);
    if (!object) return kDSNoSuchEntry;
    std::vector<std::string> wanted =
        allAttributes ? std::vector<std::string>{"CN", "Full Name", "Object Class"} : request->requested;
    *result = DirectoryBuffer();
    for (const std::string& attribute : wanted)
      if (std::optional<AttributeValue> value = Attribute(*object, attribute)) result->results.push_back(*value);
    *iterationHandle = kNoMoreIterations;
    return result->results.empty() ? kDSNoSuchAttribute : kOk;
  }, kDSNoSuchEntry);
}

NWCCODE NWCALL NWDSGetAttrCount(int32_t context, void* buffer, uint32_t* attributeCount) {
  if (!Directory().Context(context)) return kDSBadContext;
  DirectoryBuffer* b = Directory().Buffer(buffer);
  if (!b || !attributeCount) return kDSNullPointer;
  *attributeCount = static_cast<uint32_t>(b->results.size());
  return kOk;
}

NWCCODE NWCALL NWDSGetAttrName(int32_t context, void* buffer, char* attributeName, uint32_t* valueCount,
                               uint32_t* syntaxID) {
  if (!Directory().Context(context)) return kDSBadContext;
  DirectoryBuffer* b = Directory().Buffer(buffer);
  if (!b || !attributeName || !valueCount || !syntaxID) return kDSNullPointer;
  if (b->next >= b->results.size()) return kDSNoSuchAttribute;
  const AttributeValue& a = b->results[b->next];
  WriteText(attributeName, kMaxAttributeName + 1, a.name);
  *valueCount = 1;
  *syntaxID = a.syntax;
  return kOk;
}

// Values are at most 127 characters, so a 128-byte buffer always holds one.
NWCCODE NWCALL NWDSGetAttrVal(int32_t context, void* buffer, uint32_t syntaxID, void* value) {
  if (!Directory().Context(context)) return kDSBadContext;
  DirectoryBuffer* b = Directory().Buffer(buffer);
  if (!b || !value) return kDSNullPointer;
  if (b->next >= b->results.size()) return kDSNoSuchAttribute;
  const AttributeValue& a = b->results[b->next];
  if (a.syntax != syntaxID) return kInvalidParameter;
  WriteText(static_cast<char*>(value), 128, a.value.substr(0, 127));
  ++b->next;
  return kOk;
}

// The bytes the next value of the result buffer takes, its NUL included.
NWCCODE NWCALL NWDSComputeAttrValSize(int32_t context, void* buffer, uint32_t syntaxID, uint32_t* size) {
  return RunEntryPoint("NWDSComputeAttrValSize", [&]() -> NWCCODE {
    if (!Directory().Context(context)) return kDSBadContext;
    DirectoryBuffer* b = Directory().Buffer(buffer);
    if (!b || !size) return kDSNullPointer;
    if (b->next >= b->results.size()) return kDSNoSuchAttribute;
    const AttributeValue& a = b->results[b->next];
    if (a.syntax != syntaxID) return kInvalidParameter;
    *size = static_cast<uint32_t>(std::min<size_t>(a.value.size(), 127) + 1);
    return kOk;
  });
}

// Required by the program's binding but never called: writing to the
// directory is not simulated.
NWCCODE NWCALL NWDSPutAttrVal(int32_t, void*, uint32_t, const void*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSPutChange(int32_t, void*, uint32_t, const char*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSModifyObject(int32_t, const char*, int32_t*, uint8_t, void*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSRemoveObject(int32_t, const char*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSGenerateObjectKeyPair(int32_t, const char*, const char*, uint32_t) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSGetObjectName(int32_t, void*, char*, uint32_t*, void*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSGetObjectCount(int32_t, void*, uint32_t*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSAddObject(int32_t, const char*, int32_t*, uint8_t, void*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSList(int32_t, const char*, int32_t*, void*) { return kDSNotImplemented; }
NWCCODE NWCALL NWDSOpenStream(int32_t, const char*, const char*, uint32_t, void*) { return kDSNotImplemented; }

}  // extern "C"
