// Directory-services library: contexts, the current user and names.
#include "ClientBase.h"
#include "DirectoryNames.h"
#include "DirectoryState.h"

using namespace nwsim;

namespace {

constexpr int32_t kKeyFlags = 1;
constexpr int32_t kKeyNameContext = 3;
// The client's limit for a distinguished name is 256 characters; it writes
// names and the name context into buffers it takes to hold that and a NUL.
constexpr size_t kMaxNameLength = 256;
constexpr size_t kNameCapacity = kMaxNameLength + 1;
constexpr size_t kTreeNameCapacity = 48;
constexpr size_t kMaxInputName = kMaxNameLength;

bool Typed(const DirectoryContext& context) { return !(context.flags & kTypelessNames); }

// The directory's answer about a name, the way the context wants it.
NWCCODE WriteName(char* out, const std::string& name) {
  return WriteText(out, kNameCapacity, name) ? kOk : kDSNullPointer;
}

template <class Body>
NWCCODE WithContext(const char* entryPoint, int32_t handle, Body body) {
  return RunEntryPoint(entryPoint, [&]() -> NWCCODE {
    std::optional<DirectoryContext> context = Directory().Context(handle);
    if (!context) return kDSBadContext;
    const State& state = CurrentServer().Current()->state;
    if (state.treeName.empty()) return kDSNoSuchEntry;
    return body(*context, state);
  }, kDSNoSuchEntry);
}

}  // namespace

extern "C" {

// A context needs the unicode tables, as the client documents; a failure
// comes back as a negative handle.
int32_t NWCALL NWDSCreateContext() {
  return static_cast<int32_t>(RunEntryPoint("NWDSCreateContext", []() -> NWCCODE {
    if (UnicodeTablesLoaded() == 0) return kDSContextCreation;
    return static_cast<NWCCODE>(Directory().NewContext(DirectoryContext()));
  }, kDSContextCreation));
}

NWCCODE NWCALL NWDSFreeContext(int32_t context) {
  return RunEntryPoint("NWDSFreeContext",
                       [&]() -> NWCCODE { return Directory().FreeContext(context) ? kOk : kDSBadContext; });
}

int32_t NWCALL NWDSDuplicateContext(int32_t context) {
  return static_cast<int32_t>(RunEntryPoint("NWDSDuplicateContext", [&]() -> NWCCODE {
    std::optional<DirectoryContext> original = Directory().Context(context);
    return original ? static_cast<NWCCODE>(Directory().NewContext(*original)) : kDSBadContext;
  }, kDSContextCreation));
}

NWCCODE NWCALL NWDSDuplicateContextHandle(int32_t source, int32_t* destination) {
  return RunEntryPoint("NWDSDuplicateContextHandle", [&]() -> NWCCODE {
    if (!destination) return kDSNullPointer;
    std::optional<DirectoryContext> original = Directory().Context(source);
    if (!original) return kDSBadContext;
    const int32_t handle = Directory().NewContext(*original);
    if (handle < 0) return static_cast<NWCCODE>(handle);
    *destination = handle;
    return kOk;
  });
}

NWCCODE NWCALL NWDSSetContext(int32_t handle, int32_t key, const void* value) {
  return RunEntryPoint("NWDSSetContext", [&]() -> NWCCODE {
    std::optional<DirectoryContext> context = Directory().Context(handle);
    if (!context) return kDSBadContext;
    if (!value) return kDSNullPointer;
    if (key == kKeyFlags) {
      context->flags = *static_cast<const uint32_t*>(value);
    } else if (key == kKeyNameContext) {
      std::optional<std::string> name = ReadText(static_cast<const char*>(value), kNameCapacity - 1);
      if (!name) return kDSNullPointer;
      context->nameContext = name->empty() ? "[Root]" : *name;
    } else {
      return kDSBadKey;
    }
    Directory().Update(handle, *context);
    return kOk;
  }, kDSBadContext);
}

NWCCODE NWCALL NWDSGetContext(int32_t handle, int32_t key, void* value) {
  return RunEntryPoint("NWDSGetContext", [&]() -> NWCCODE {
    std::optional<DirectoryContext> context = Directory().Context(handle);
    if (!context) return kDSBadContext;
    if (!value) return kDSNullPointer;
    if (key == kKeyFlags) {
      *static_cast<uint32_t*>(value) = context->flags;
      return kOk;
    }
    if (key == kKeyNameContext) return WriteName(static_cast<char*>(value), context->nameContext);
    return kDSBadKey;
  }, kDSBadContext);
}

NWCCODE NWCALL NWDSWhoAmI(int32_t handle, char* objectName) {
  return WithContext("NWDSWhoAmI", handle, [&](const DirectoryContext& context, const State& state) -> NWCCODE {
    const BinderyObject* user = state.FindObject(state.currentUser);
    if (!user) return kDSNoSuchEntry;
    return WriteName(objectName, DirectoryName(state, *user, Typed(context)));
  });
}

NWCCODE NWCALL NWDSCanonicalizeName(int32_t handle, const char* objectName, char* canonName) {
  return WithContext("NWDSCanonicalizeName", handle, [&](const DirectoryContext& context, const State&) -> NWCCODE {
    std::optional<std::string> name = ReadText(objectName, kMaxInputName);
    if (!name || name->empty()) return kDSNullPointer;
    return WriteName(canonName, CanonicalName(*name, context.nameContext, Typed(context)));
  });
}

NWCCODE NWCALL NWDSMapNameToID(int32_t handle, NWCONN_HANDLE conn, const char* objectName, uint32_t* objectID) {
  return WithContext("NWDSMapNameToID", handle, [&](const DirectoryContext& context, const State& state) -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    std::optional<std::string> name = ReadText(objectName, kMaxInputName);
    if (!name || !objectID) return kDSNullPointer;
    const BinderyObject* object = ResolveDirectoryName(state, *name, context.nameContext);
    if (!object) return kDSNoSuchEntry;
    *objectID = WireOrder(object->id);
    return kOk;
  });
}

NWCCODE NWCALL NWDSMapIDToName(int32_t handle, NWCONN_HANDLE conn, uint32_t objectID, char* objectName) {
  return WithContext("NWDSMapIDToName", handle, [&](const DirectoryContext& context, const State& state) -> NWCCODE {
    if (NWCCODE c = CheckConnection(conn)) return c;
    const BinderyObject* object = state.FindObject(WireOrder(objectID));
    if (!object) return kDSNoSuchEntry;
    return WriteName(objectName, DirectoryName(state, *object, Typed(context)));
  });
}

NWCCODE NWCALL NWDSAuditGetObjectID(int32_t handle, const char* objectName, NWCONN_HANDLE* conn, uint32_t* objectID) {
  return WithContext("NWDSAuditGetObjectID", handle, [&](const DirectoryContext& context, const State& state) -> NWCCODE {
    std::optional<std::string> name = ReadText(objectName, kMaxInputName);
    if (!name || !conn || !objectID) return kDSNullPointer;
    const BinderyObject* object = ResolveDirectoryName(state, *name, context.nameContext);
    if (!object) return kDSNoSuchEntry;
    *conn = kConnectionHandle;
    *objectID = WireOrder(object->id);
    return kOk;
  });
}

// Non-zero, with the tree's name, for a server in a directory tree.
uint16_t NWCALL NWIsDSServer(NWCONN_HANDLE conn, char* treeName) {
  try {
    if (InjectedFailure("NWIsDSServer")) return 0;
    const State& state = CurrentServer().Current()->state;
    std::optional<ConnectedServer> server = ServerOfConnection(state, conn);
    if (!server || !server->directory) return 0;
    if (treeName) WriteText(treeName, kTreeNameCapacity, state.treeName);
    return 1;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
