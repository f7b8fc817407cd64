// Locale library: the workstation's locale record and the unicode tables.
#include <cstring>
#include <mutex>

#include "ClientBase.h"
#include "DeletedRecord.h"

using namespace nwsim;

namespace {

constexpr size_t kLocaleRecordSize = 132;
constexpr size_t kCodePageOffset = 56;
constexpr size_t kCountryOffset = 60;

std::mutex& TablesGuard() {
  static std::mutex guard;
  return guard;
}

void PutText(uint8_t* at, const char* text) { std::memcpy(at, text, std::strlen(text) + 1); }

}  // namespace

extern "C" {

// The record's leading fields follow the C library's lconv (separators,
// currency), then code page and country, then the date and time style.
void* NWCALL NWLlocaleconv(void* record) {
  if (!record) return nullptr;
  uint8_t* r = static_cast<uint8_t*>(record);
  std::memset(r, 0, kLocaleRecordSize);
  uint32_t codePage = 437;
  uint32_t country = 1;
  try {
    const ServerIdentity& server = CurrentServer().Current()->state.server;
    codePage = server.codePage;
    country = server.country;
  } catch (...) {
  }
  PutText(r + 0, ".");
  PutText(r + 4, ",");
  PutText(r + 12, "USD ");
  PutText(r + 20, "$");
  PutText(r + 24, ".");
  PutText(r + 28, ",");
  r[48] = 2;
  r[49] = 2;
  Put32(r + kCodePageOffset, codePage);
  Put32(r + kCountryOffset, country);
  PutText(r + 64, ",");
  PutText(r + 66, "/");
  PutText(r + 68, ":");
  return record;
}

NWCCODE NWCALL NWInitUnicodeTables(int32_t countryCode, int32_t codePage) {
  if (countryCode <= 0 || codePage <= 0) return kInvalidParameter;
  std::lock_guard<std::mutex> lock(TablesGuard());
  SetUnicodeTablesLoaded(UnicodeTablesLoaded() + 1);
  return kOk;
}

NWCCODE NWCALL NWFreeUnicodeTables() {
  std::lock_guard<std::mutex> lock(TablesGuard());
  const int loaded = UnicodeTablesLoaded();
  if (loaded == 0) return kFailure;
  SetUnicodeTablesLoaded(loaded - 1);
  return kOk;
}

}  // extern "C"
