// Directory attributes: the table of names and reading one value as text.
#include <array>
#include <string_view>
#include <vector>

#include "NwBuffers.h"
#include "Nwnds.h"
#include "NwndsEntries.h"
#include "TextCompare.h"

namespace retrove {

using namespace nds;

namespace {

constexpr std::array<std::string_view, 143> kAttributeNames = {
    "Account Balance", "ACL", "Aliased Object Name", "Allow Unlimited Credit", "Authority Revocation",
    "Back Link", "Bindery Object Restriction", "Bindery Property", "Bindery Type", "C",
    "CA Private Key", "CA Public Key", "Cartridge", "Certificate Revocation", "Certificate Validity Interval",
    "Object Class", "CN", "Convergence", "Cross Certificate Pair", "Default Queue",
    "Description", "Detect Intruder", "Device", "Revision", "EMail Address",
    "External Name", "Equivalent To Me", "External Synchronizer", "Facsimile Telephone Number", "Full Name",
    "Generational Qualifier", "GID", "Given Name", "Group Membership", "High Convergence Sync Interval",
    "Higher Privileges", "Home Directory", "Host Device", "Host Resource Name", "Host Server",
    "Inherited ACL", "Initials", "Intruder Attempt Reset Interval", "Intruder Lockout Reset Interval", "L",
    "Language", "Last Login Time", "Last Referenced Time", "Locked By Intruder", "Lockout After Detection",
    "Login Allowed Time Map", "Login Disabled", "Login Expiration Time", "Login Grace Limit",
    "Login Grace Remaining", "Login Intruder Address", "Login Intruder Attempts", "Login Intruder Limit",
    "Login Intruder Reset Time", "Login Maximum Simultaneous", "Login Script", "Login Time",
    "Low Convergence Reset Time", "Low Convergence Sync Interval", "Mailbox ID", "Mailbox Location", "Member",
    "Memory", "Message Routing Group", "Message Server", "Messaging Database Location", "Messaging Server",
    "Messaging Server Type", "Minimum Account Balance", "Network Address", "Network Access Restriction",
    "NNS Domain", "Notify", "O", "Obituary", "Object Class",
    "Operator", "OU", "Owner", "Page Description Language", "Partition Control",
    "Partition Creation Time", "Password Allow Change", "Password Expiration Interval",
    "Password Expiration Time", "Password Minimum Length", "Password Required", "Password Unique Required",
    "Passwords Used", "Path", "Physical Delivery Office Name", "Postal Address", "Postal Code",
    "Postal Office Box", "Postmaster", "Print Job Configuration", "Print Server", "Printer",
    "Printer Configuration", "Printer Control", "Private Key", "Profile", "Profile Membership",
    "Public Key", "Queue", "Queue Directory", "Received Up To", "Reference",
    "Replica", "Replica Up To", "Resource", "Revision", "Role Occupant",
    "S", "SA", "SAP Name", "Security Equals", "Security Flags",
    "See Also", "Serial Number", "Server", "Server Holds", "Status",
    "Supported Connections", "Supported Gateway", "Supported Services", "Supported Typefaces", "Surname",
    "Synchronizes Up To", "Telephone Number", "Title", "Type Creator Map", "UID",
    "Unknown", "Unknown Base Class", "User", "Version", "Volume",
};

constexpr size_t kReadBufferSize = 4096;
constexpr size_t kObjectNameInput = 48;
constexpr size_t kAttributeNameRequest = 34;
// Attribute names have up to 32 characters, twice as many bytes in unicode.
constexpr size_t kAttributeNameOutput = 2 * (32 + 1);
constexpr uint32_t kReadOperation = 3;
constexpr uint32_t kAttributeNamesAndValues = 1;
constexpr int32_t kNoMoreIterations = -1;

// Syntaxes whose values are plain text: distinguished names, the four
// kinds of string, telephone numbers and class names. Others are records
// or binary and would be misread as text.
bool IsTextSyntax(uint32_t syntaxID) {
  switch (syntaxID) {
    case 1: case 2: case 3: case 4: case 5: case 10: case 20:
      return true;
    default:
      return false;
  }
}

// A request or result buffer of the directory library, freed on every path.
class TDSBuffer {
public:
  TDSBuffer() = default;
  ~TDSBuffer() {
    if (FBuffer) Bound<TNWDSFreeBuf>(kFreeBuf)(FBuffer);
  }
  TDSBuffer(const TDSBuffer&) = delete;
  TDSBuffer& operator=(const TDSBuffer&) = delete;

  bool Allocate() { return Bound<TNWDSAllocBuf>(kAllocBuf)(kReadBufferSize, &FBuffer) == 0 && FBuffer; }
  void* Get() const { return FBuffer; }

private:
  void* FBuffer = nullptr;
};

// A context that lives for one read.
class TWorkingContext {
public:
  explicit TWorkingContext(int32_t context) : FContext(context) {}
  ~TWorkingContext() {
    if (FContext > 0) FreeDSContext(FContext);
  }
  TWorkingContext(const TWorkingContext&) = delete;
  TWorkingContext& operator=(const TWorkingContext&) = delete;

  int32_t Get() const { return FContext; }

private:
  int32_t FContext;
};

int32_t WorkingContextFor(const std::string& contextName) {
  if (!contextName.empty()) return NewDSContext();
  const auto duplicate = Bound<TNWDSDuplicateContext>(kDuplicateContext);
  const int32_t context = duplicate ? duplicate(DSContext) : 0;
  return context > 0 ? context : 0;
}

}  // namespace

std::string AttributeName(unsigned index) {
  return index < kAttributeNames.size() ? std::string(kAttributeNames[index]) : std::string();
}

bool ReadObjectAttribute(int32_t context, const std::string& objectName, unsigned attributeIndex, std::string& value) {
  const auto initBuf = Bound<TNWDSInitBuf>(kInitBuf);
  const auto putAttrName = Bound<TNWDSPutAttrName>(kPutAttrName);
  const auto read = Bound<TNWDSRead>(kRead);
  char name[kObjectNameInput];
  char attribute[kAttributeNameRequest];
  if (!BoundEntry(kAllocBuf) || !BoundEntry(kFreeBuf) || !initBuf || !putAttrName || !read ||
      !CopyToBuffer(objectName, name) || !CopyToBuffer(AttributeName(attributeIndex), attribute))
    return false;
  TDSBuffer request;
  if (!request.Allocate()) return false;
  TDSBuffer result;
  if (!result.Allocate()) return false;
  if (initBuf(context, kReadOperation, request.Get()) != 0) return false;
  RecordNDSResult(putAttrName(context, request.Get(), attribute));
  if (NDSResult != 0) return false;

  bool found = false;
  int32_t iteration = kNoMoreIterations;
  do {
    RecordNDSResult(read(context, name, kAttributeNamesAndValues, 0, request.Get(), &iteration, result.Get()));
    if (NDSResult != 0) break;
    if (ReadAttributeValue(context, result.Get(), attributeIndex, value)) found = true;
  } while (iteration != kNoMoreIterations);
  return found;
}

bool ReadAttributeValue(int32_t context, void* resultBuffer, unsigned attributeIndex, std::string& value) {
  const auto getAttrCount = Bound<TNWDSGetAttrCount>(kGetAttrCount);
  const auto getAttrName = Bound<TNWDSGetAttrName>(kGetAttrName);
  const auto computeSize = Bound<TNWDSComputeAttrValSize>(kComputeAttrValSize);
  const auto getAttrVal = Bound<TNWDSGetAttrVal>(kGetAttrVal);
  if (!getAttrCount || !getAttrName || !computeSize || !getAttrVal) return false;
  uint32_t count = 0;
  RecordNDSResult(getAttrCount(context, resultBuffer, &count));
  if (NDSResult != 0 || count == 0) return false;

  char name[kAttributeNameOutput] = {};
  uint32_t valueCount = 0;
  uint32_t syntaxID = 0;
  RecordNDSResult(getAttrName(context, resultBuffer, name, &valueCount, &syntaxID));
  if (NDSResult != 0) return false;
  if (!SameText(BufferText(name), AttributeName(attributeIndex)) || !IsTextSyntax(syntaxID)) return false;

  uint32_t size = 0;
  RecordNDSResult(computeSize(context, resultBuffer, syntaxID, &size));
  if (NDSResult != 0 || size > kReadBufferSize) return false;
  // Two zero bytes beyond what the client asked for: a terminator even
  // for a unicode value that came without one.
  std::vector<char> text(size + 2, '\0');
  RecordNDSResult(getAttrVal(context, resultBuffer, syntaxID, text.data()));
  if (NDSResult != 0) return false;
  value = BufferText(text.data(), text.size());
  return true;
}

bool ReadObjectAttributeText(const std::string& contextName, const std::string& objectName, unsigned attributeIndex,
                             std::string& value) {
  const TWorkingContext working(WorkingContextFor(contextName));
  if (working.Get() == 0) return false;
  if (!contextName.empty() && !UseNameContext(working.Get(), contextName)) return false;
  return ReadObjectAttribute(working.Get(), objectName, attributeIndex, value);
}

}  // namespace retrove
