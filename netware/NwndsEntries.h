#pragma once

// The directory-services entry points looked up when the library is bound,
// shared by the directory unit's source files.

#include <cstddef>
#include <cstdint>

#include "ClientModules.h"
#include "nwlib.h"

namespace retrove::nds {

// In look-up order.
enum TDSIndex {
  kLlocaleconv,
  kInitUnicodeTables,
  kCreateContext,
  kFreeContext,
  kSetContext,
  kAllocBuf,
  kInitBuf,
  kFreeBuf,
  kDuplicateContext,
  kPutAttrName,
  kPutAttrVal,
  kGetAttrName,
  kGetAttrVal,
  kGetAttrCount,
  kPutChange,
  kModifyObject,
  kComputeAttrValSize,
  kRead,
  kRemoveObject,
  kGenerateObjectKeyPair,
  kGetObjectName,
  kGetObjectCount,
  kAddObject,
  kList,
  kFreeUnicodeTables,
  kGetContext,
  kOpenStream,
  kDSEntryCount
};

// Null when the binding did not find it.
TEntryPoint BoundEntry(TDSIndex index);

template <class Fn>
Fn Bound(TDSIndex index) {
  return reinterpret_cast<Fn>(BoundEntry(index));
}

using TNWDSCreateContext = int32_t(NWAPI*)();
using TNWDSFreeContext = NWCCODE(NWAPI*)(int32_t context);
using TNWDSDuplicateContext = int32_t(NWAPI*)(int32_t context);
using TNWDSSetContext = NWCCODE(NWAPI*)(int32_t context, int32_t key, const void* value);
using TNWDSGetContext = NWCCODE(NWAPI*)(int32_t context, int32_t key, void* value);
using TNWDSAllocBuf = NWCCODE(NWAPI*)(size_t size, void** buffer);
using TNWDSInitBuf = NWCCODE(NWAPI*)(int32_t context, uint32_t operation, void* buffer);
using TNWDSFreeBuf = NWCCODE(NWAPI*)(void* buffer);
using TNWDSPutAttrName = NWCCODE(NWAPI*)(int32_t context, void* buffer, const char* attributeName);
using TNWDSRead = NWCCODE(NWAPI*)(int32_t context, const char* objectName, uint32_t infoType, uint8_t allAttributes,
                                  void* attributeNames, int32_t* iterationHandle, void* objectInfo);
using TNWDSGetAttrCount = NWCCODE(NWAPI*)(int32_t context, void* buffer, uint32_t* attributeCount);
using TNWDSGetAttrName = NWCCODE(NWAPI*)(int32_t context, void* buffer, char* attributeName, uint32_t* valueCount,
                                         uint32_t* syntaxID);
using TNWDSComputeAttrValSize = NWCCODE(NWAPI*)(int32_t context, void* buffer, uint32_t syntaxID, uint32_t* size);
using TNWDSGetAttrVal = NWCCODE(NWAPI*)(int32_t context, void* buffer, uint32_t syntaxID, void* value);

inline constexpr int32_t kContextFlagsKey = 1;
inline constexpr int32_t kContextNameKey = 3;
inline constexpr size_t kNameContextInput = 128;

}  // namespace retrove::nds
