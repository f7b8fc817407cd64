#include "Nwnds.h"

#include <array>
#include <cstring>

#include "NwBuffers.h"
#include "NwndsEntries.h"
#include "Nwtools.h"

namespace retrove {

TClientModuleHandle NetLibHandle = 0;
TClientModuleHandle LocaleLibHandle = 0;
int32_t DSContext = 0;
int32_t NDSResult = 0;
int32_t NDSError = 0;

using namespace nds;

namespace {

using TNWLlocaleconv = void*(NWAPI*)(void* localeRecord);
using TNWInitUnicodeTables = NWCCODE(NWAPI*)(int32_t countryCode, int32_t codePage);
using TNWFreeUnicodeTables = NWCCODE(NWAPI*)();
using TNWDSDuplicateContextHandle = NWCCODE(NWAPI*)(int32_t source, int32_t* destination);

enum class TModuleOf { Locale, Directory };

struct TDSEntry {
  const char* Name;
  TModuleOf Module;
};

// The look-up order at start-up; the first one absent stops it.
constexpr std::array<TDSEntry, kDSEntryCount> kDSEntries = {{
    {"NWLlocaleconv", TModuleOf::Locale},          {"NWInitUnicodeTables", TModuleOf::Locale},
    {"NWDSCreateContext", TModuleOf::Directory},   {"NWDSFreeContext", TModuleOf::Directory},
    {"NWDSSetContext", TModuleOf::Directory},      {"NWDSAllocBuf", TModuleOf::Directory},
    {"NWDSInitBuf", TModuleOf::Directory},         {"NWDSFreeBuf", TModuleOf::Directory},
    {"NWDSDuplicateContext", TModuleOf::Directory}, {"NWDSPutAttrName", TModuleOf::Directory},
    {"NWDSPutAttrVal", TModuleOf::Directory},      {"NWDSGetAttrName", TModuleOf::Directory},
    {"NWDSGetAttrVal", TModuleOf::Directory},      {"NWDSGetAttrCount", TModuleOf::Directory},
    {"NWDSPutChange", TModuleOf::Directory},       {"NWDSModifyObject", TModuleOf::Directory},
    {"NWDSComputeAttrValSize", TModuleOf::Directory}, {"NWDSRead", TModuleOf::Directory},
    {"NWDSRemoveObject", TModuleOf::Directory},    {"NWDSGenerateObjectKeyPair", TModuleOf::Directory},
    {"NWDSGetObjectName", TModuleOf::Directory},   {"NWDSGetObjectCount", TModuleOf::Directory},
    {"NWDSAddObject", TModuleOf::Directory},       {"NWDSList", TModuleOf::Directory},
    {"NWFreeUnicodeTables", TModuleOf::Locale},    {"NWDSGetContext", TModuleOf::Directory},
    {"NWDSOpenStream", TModuleOf::Directory},
}};

std::array<TEntryPoint, kDSEntryCount> DSEntryPoints{};

constexpr size_t kLocaleRecordSize = 132;
constexpr size_t kCodePageOffset = 56;
constexpr size_t kCountryOffset = 60;
constexpr char kRootContext[] = "[Root]";

bool LookUpAll() {
  for (size_t i = 0; i < kDSEntries.size(); ++i) {
    const TClientModuleHandle module = kDSEntries[i].Module == TModuleOf::Locale ? LocaleLibHandle : NetLibHandle;
    DSEntryPoints[i] = FindClientEntryPoint(module, kDSEntries[i].Name);
    if (!DSEntryPoints[i]) return false;
  }
  return true;
}

int32_t ReadInt32(const unsigned char* bytes) {
  int32_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

bool SetContextName(int32_t context, const std::string& name) {
  char buffer[kNameContextInput];
  const auto set = Bound<TNWDSSetContext>(kSetContext);
  if (!set || !CopyToBuffer(TrimBlanks(name), buffer)) return false;
  RecordNDSResult(set(context, kContextNameKey, buffer));
  return NDSResult == 0;
}

// A new context with the settings of `source`; 0 when the client made none.
int32_t DuplicateOf(int32_t source) {
  int32_t copy = 0;
  const auto duplicateHandle = reinterpret_cast<TNWDSDuplicateContextHandle>(
      FindClientEntryPoint(NetLibHandle, "NWDSDuplicateContextHandle"));
  if (duplicateHandle) {
    if (duplicateHandle(source, &copy) != 0) return 0;
  } else if (const auto duplicate = Bound<TNWDSDuplicateContext>(kDuplicateContext)) {
    copy = duplicate(source);
  }
  return copy > 0 ? copy : 0;
}

void ReplaceDSContext(int32_t context) {
  if (DSContext != 0) FreeDSContext(DSContext);
  DSContext = context;
}

bool WriteContextFlags(uint32_t flags) {
  const auto set = Bound<TNWDSSetContext>(kSetContext);
  if (!set) return false;
  RecordNDSResult(set(DSContext, kContextFlagsKey, &flags));
  return NDSResult == 0;
}

}  // namespace

namespace nds {

TEntryPoint BoundEntry(TDSIndex index) {
  return DSEntryPoints[index];
}

}  // namespace nds

void RecordNDSResult(NWCCODE result) {
  NDSResult = static_cast<int32_t>(result);
  if (result != 0) NDSError = NDSResult;
}

TNWNDS::TNWNDS() {
  NDSError = 0;
  DSContext = 0;
  DSEntryPoints.fill(nullptr);
  NetLibHandle = LoadClientModule("NETWIN32.DLL");
  if (!NetLibHandle) {
    NDSError = kModuleNotLoaded;
    return;
  }
  LocaleLibHandle = LoadClientModule("LOCWIN32.DLL");
  if (!LocaleLibHandle) {
    NDSError = kModuleNotLoaded;
    return;
  }
  LookUpAll();
}

TNWNDS::~TNWNDS() {
  if (DSContext != 0) FreeDSContext(DSContext);
  DSContext = 0;
}

std::string TNWNDS::ErrorText() const {
  return NWErrorCodeText(NDSError);
}

bool InitDSUnicode() {
  const auto localeconv = Bound<TNWLlocaleconv>(kLlocaleconv);
  const auto initTables = Bound<TNWInitUnicodeTables>(kInitUnicodeTables);
  const auto create = Bound<TNWDSCreateContext>(kCreateContext);
  if (!NetLibHandle || !LocaleLibHandle || !localeconv || !initTables || !create || !BoundEntry(kSetContext))
    return false;
  unsigned char locale[kLocaleRecordSize] = {};
  localeconv(locale);
  const int32_t codePage = ReadInt32(locale + kCodePageOffset);
  const int32_t country = ReadInt32(locale + kCountryOffset);
  if (initTables(country, codePage) != 0) return false;
  if (DSContext == 0) {
    const int32_t context = create();
    if (context <= 0) return false;
    DSContext = context;
    SetContextName(DSContext, kRootContext);
  }
  return true;
}

bool FreeDSUnicode() {
  const auto freeTables = Bound<TNWFreeUnicodeTables>(kFreeUnicodeTables);
  if (!freeTables) return false;
  RecordNDSResult(freeTables());
  return NDSResult == 0;
}

std::string GetNameContext() {
  const auto get = Bound<TNWDSGetContext>(kGetContext);
  if (!get) return {};
  char name[kNameOutputBuffer] = {};
  RecordNDSResult(get(DSContext, kContextNameKey, name));
  if (NDSResult != 0) return {};
  return BufferText(name);
}

bool SetNameContext(const std::string& name) {
  return SetContextName(DSContext, name);
}

bool UseNameContext(int32_t context, const std::string& name) {
  if (!SetContextName(context, name)) return false;
  const int32_t copy = DuplicateOf(context);
  if (copy == 0) return false;
  ReplaceDSContext(copy);
  return true;
}

bool ResetContextToRoot() {
  const auto create = Bound<TNWDSCreateContext>(kCreateContext);
  if (!create) return false;
  const int32_t fresh = create();
  if (fresh <= 0) return false;
  if (!SetContextName(fresh, kRootContext)) {
    FreeDSContext(fresh);
    return false;
  }
  ReplaceDSContext(fresh);
  return true;
}

bool ReadContextFlags(uint32_t& flags) {
  const auto get = Bound<TNWDSGetContext>(kGetContext);
  if (!get) return false;
  uint32_t value = 0;
  RecordNDSResult(get(DSContext, kContextFlagsKey, &value));
  if (NDSResult != 0) return false;
  flags = value;
  return true;
}

uint32_t GetContextFlags() {
  uint32_t flags = 0;
  return ReadContextFlags(flags) ? flags : 0;
}

bool AddContextFlags(uint32_t bits) {
  uint32_t flags = 0;
  return ReadContextFlags(flags) && WriteContextFlags(flags | bits);
}

bool SetContextFlag(uint32_t bit, bool on) {
  uint32_t flags = 0;
  if (DSContext == 0 || !ReadContextFlags(flags)) return false;
  return WriteContextFlags(on ? flags | bit : flags & ~bit);
}

int32_t NewDSContext() {
  int32_t context = 0;
  if (DSContext > 0) {
    if (const auto duplicate = Bound<TNWDSDuplicateContext>(kDuplicateContext)) context = duplicate(DSContext);
  } else if (const auto create = Bound<TNWDSCreateContext>(kCreateContext)) {
    context = create();
  }
  return context > 0 ? context : 0;
}

bool FreeDSContext(int32_t context) {
  const auto freeContext = Bound<TNWDSFreeContext>(kFreeContext);
  return freeContext && freeContext(context) == 0;
}

}  // namespace retrove
