#pragma once

#include <cstdint>
#include <string>

#include "ClientModules.h"
#include "Object.h"
#include "nwlib.h"

namespace retrove {

// Process-wide state of the directory-services binding.
extern TClientModuleHandle NetLibHandle;
extern TClientModuleHandle LocaleLibHandle;
extern int32_t DSContext;  // 0 = none; the client reports a failed creation as a negative value
extern int32_t NDSResult;
extern int32_t NDSError;

// Stores a directory call's result in NDSResult and, when it failed, in
// NDSError.
void RecordNDSResult(NWCCODE result);

// Bits of a context's flag set.
inline constexpr uint32_t kDCVDereferenceAliases = 0x01;
inline constexpr uint32_t kDCVTranslateStrings = 0x02;
inline constexpr uint32_t kDCVTypelessNames = 0x04;
inline constexpr uint32_t kDCVAsyncMode = 0x08;
inline constexpr uint32_t kDCVCanonicalizeNames = 0x10;
inline constexpr uint32_t kDCVDereferenceBaseClass = 0x40;
inline constexpr uint32_t kDCVDisallowReferrals = 0x80;

// Loads "NETWIN32.DLL" and "LOCWIN32.DLL" and looks up the 27 entry points
// the directory-services code needs. The context comes later, from
// InitDSUnicode: the client cannot make one before its unicode tables.
class TNWNDS : public TObject {
public:
  TNWNDS();
  ~TNWNDS() override;
  TNWNDS(const TNWNDS&) = delete;
  TNWNDS& operator=(const TNWNDS&) = delete;

  std::string ErrorText() const;
};

// Sets up the client's unicode tables for the workstation's code page and
// country, then the process's context at "[Root]" if there is none yet;
// true when both are ready.
bool InitDSUnicode();
bool FreeDSUnicode();

// Whether the connection's server belongs to a directory tree. A
// connection of 0 means the primary one, here and below.
bool IsDSServer(NWCONN_HANDLE connection);

// The current user's directory name; its canonical, typed form.
std::string WhoAmI();
std::string CanonicalizeName(const std::string& name);

// The name context of the process's context.
std::string GetNameContext();
bool SetNameContext(const std::string& name);
// Sets the name context of `context` and makes the process's context a
// duplicate of it; a failure leaves the process's context as it was.
bool UseNameContext(int32_t context, const std::string& name);
// Replaces the process's context by a new one at "[Root]", with the
// client's default flags; a failure leaves the old one in place.
bool ResetContextToRoot();

// The context's flag set: 0 when it cannot be read. ReadContextFlags tells
// a failure from an empty set.
uint32_t GetContextFlags();
bool ReadContextFlags(uint32_t& flags);
bool AddContextFlags(uint32_t bits);
// Sets or clears one bit, leaving the others as the context has them.
bool SetContextFlag(uint32_t bit, bool on);

// A new working context (a duplicate of the process's one when there is
// one); 0 when none could be made.
int32_t NewDSContext();
bool FreeDSContext(int32_t context);

// An object's ID by directory name, as hexadecimal text without leading
// zeros; empty when unknown.
std::string MapNameToIDText(NWCONN_HANDLE connection, const std::string& name);
// The ID as the client gives it; 0 when unknown.
uint32_t AuditGetObjectID(NWCONN_HANDLE connection, const std::string& name);
std::string MapIDToName(NWCONN_HANDLE connection, uint32_t objectID);

// Directory attribute names by table index (0-142); empty above.
inline constexpr unsigned kFullNameAttribute = 29;
std::string AttributeName(unsigned index);

// The first value of one attribute of an object, when it is text.
bool ReadObjectAttribute(int32_t context, const std::string& objectName, unsigned attributeIndex, std::string& value);
// The first value of the first attribute in a read's result buffer.
bool ReadAttributeValue(int32_t context, void* resultBuffer, unsigned attributeIndex, std::string& value);
// As ReadObjectAttribute, on a working context; a non-empty context name
// is put into force for the process's context as well.
bool ReadObjectAttributeText(const std::string& contextName, const std::string& objectName, unsigned attributeIndex,
                             std::string& value);

}  // namespace retrove
