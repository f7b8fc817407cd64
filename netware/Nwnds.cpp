#include "Nwnds.h"

#include <array>
#include <cstring>

#include "nwlib.h"

namespace retrove {

TClientModuleHandle NetLibHandle = 0;
TClientModuleHandle LocaleLibHandle = 0;
int32_t DSContext = 0;
int32_t NDSResult = 0;
int32_t NDSError = 0;

namespace {

using TNWLlocaleconv = void*(NWAPI*)(void* localeRecord);
using TNWInitUnicodeTables = NWCCODE(NWAPI*)(int32_t countryCode, int32_t codePage);
using TNWFreeUnicodeTables = NWCCODE(NWAPI*)();
using TNWDSCreateContext = int32_t(NWAPI*)();
using TNWDSFreeContext = NWCCODE(NWAPI*)(int32_t context);
using TNWDSSetContext = NWCCODE(NWAPI*)(int32_t context, int32_t key, const void* value);

enum class TModuleOf { Locale, Directory };

struct TDSEntry {
  const char* Name;
  TModuleOf Module;
};

// The look-up order at start-up; the first one absent stops it.
constexpr std::array<TDSEntry, 27> kDSEntries = {{
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

enum TDSIndex { kLlocaleconv = 0, kInitUnicodeTables = 1, kCreateContext = 2, kFreeContext = 3, kSetContext = 4,
                kFreeUnicodeTables = 24 };

std::array<TEntryPoint, kDSEntries.size()> DSEntryPoints{};

template <class Fn>
Fn DSEntry(TDSIndex index) {
  return reinterpret_cast<Fn>(DSEntryPoints[index]);
}

constexpr int32_t kContextNameKey = 3;
constexpr size_t kNameContextBuffer = 128;
constexpr size_t kLocaleRecordSize = 132;
constexpr size_t kCodePageOffset = 56;
constexpr size_t kCountryOffset = 60;

void RecordNDSResult(NWCCODE result) {
  NDSResult = static_cast<int32_t>(result);
  if (result != 0) NDSError = NDSResult;
}

bool LookUpAll() {
  DSEntryPoints.fill(nullptr);
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

}  // namespace

TNWNDS::TNWNDS() {
  NDSError = 0;
  DSContext = 0;
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
  if (!LookUpAll()) return;
  DSContext = DSEntry<TNWDSCreateContext>(kCreateContext)();
  char nameContext[kNameContextBuffer] = "[Root]";
  RecordNDSResult(DSEntry<TNWDSSetContext>(kSetContext)(DSContext, kContextNameKey, nameContext));
}

TNWNDS::~TNWNDS() {
  if (DSContext != 0 && DSEntryPoints[kFreeContext]) DSEntry<TNWDSFreeContext>(kFreeContext)(DSContext);
  DSContext = 0;
}

std::string TNWNDS::ErrorText() const {
  return NWErrorCodeText(NDSError);
}

bool InitDSUnicode() {
  if (!NetLibHandle || !LocaleLibHandle) return false;
  if (!DSEntryPoints[kLlocaleconv] || !DSEntryPoints[kInitUnicodeTables]) return false;
  if (DSContext == 0) {
    if (!DSEntryPoints[kCreateContext]) return false;
    DSContext = DSEntry<TNWDSCreateContext>(kCreateContext)();
  }
  unsigned char locale[kLocaleRecordSize] = {};
  DSEntry<TNWLlocaleconv>(kLlocaleconv)(locale);
  const int32_t codePage = ReadInt32(locale + kCodePageOffset);
  const int32_t country = ReadInt32(locale + kCountryOffset);
  const NWCCODE result = DSEntry<TNWInitUnicodeTables>(kInitUnicodeTables)(country, codePage);
  return result == 0 && DSContext != 0;
}

bool FreeDSUnicode() {
  const auto freeTables = DSEntry<TNWFreeUnicodeTables>(kFreeUnicodeTables);
  if (!freeTables) return false;
  RecordNDSResult(freeTables());
  return NDSResult == 0;
}

}  // namespace retrove
