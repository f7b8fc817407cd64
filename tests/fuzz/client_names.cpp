// Every name and text the client writes into the program's buffers (user,
// server, object, tree and directory names, the full-name property, a
// directory attribute's value, the server's description) may fill the
// buffer to its last byte without a terminator. The program must read each
// up to its first NUL and never past what the client's documentation lets
// it write.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FakeClient.h"
#include "FuzzCheck.h"
#include "NWServer.h"
#include "NwBuffers.h"
#include "Nwnds.h"
#include "nwbase.h"

using namespace retrove;
using retrove::fuzz::Require;

namespace {

// The most each call may write, from the client's documentation.
constexpr std::size_t kBinderyName = 48;
constexpr std::size_t kTreeName = 33;
constexpr std::size_t kDirectoryName = 514;
constexpr std::size_t kPropertySegment = 128;
constexpr std::size_t kAttributeName = 66;
constexpr std::size_t kEnvironment = 151;
constexpr uint32_t kServerNameInfo = 7;
constexpr uint32_t kConnectionNumberInfo = 5;

// What the client writes for one input: the pool's first bytes, as many as
// a call may write; an attribute value of the size the client reports,
// the pool over and over.
struct TAnswers {
  std::string_view Pool;
  uint32_t ValueSize = 0;
  uint32_t Syntax = 0;
};

TAnswers Answers;

void Fill(void* buffer, std::size_t most) {
  const std::size_t count = std::min(most, Answers.Pool.size());
  if (count > 0) std::memcpy(buffer, Answers.Pool.data(), count);
}

// The text a program should read from a buffer the client filled.
std::string Expected(std::size_t most) {
  const std::string_view written = Answers.Pool.substr(0, most);
  return std::string(written.substr(0, written.find('\0')));
}

uint32_t NWAPI ConnectionInformation(NWCONN_HANDLE, uint16_t, char* name, uint16_t* type, uint32_t* id,
                                     uint8_t* loginTime) {
  Fill(name, kBinderyName);
  *type = 0x0100;
  *id = 1;
  std::memset(loginTime, 0xFF, 7);
  return 0;
}

uint32_t NWAPI ConnInfo(NWCONN_HANDLE, uint32_t infoType, uint32_t length, void* buffer) {
  if (infoType == kServerNameInfo) {
    Fill(buffer, length);
    return 0;
  }
  if (infoType != kConnectionNumberInfo || length < sizeof(uint32_t)) return 0x8836;
  const uint32_t number = 12;
  std::memcpy(buffer, &number, sizeof number);
  return 0;
}

uint32_t NWAPI ServerInformation(NWCONN_HANDLE, char* name, uint8_t* major, uint8_t* minor, uint8_t* revision,
                                 uint16_t* maxConnections, uint16_t* peak, uint16_t* inUse, uint16_t* volumes,
                                 uint8_t* sft, uint8_t* tts) {
  Fill(name, kBinderyName);
  *major = 4;
  *minor = *revision = *sft = *tts = 0;
  *maxConnections = *peak = *inUse = *volumes = 0xFFFF;
  return 0;
}

uint32_t NWAPI ServerEnvironment(NWCONN_HANDLE, uint8_t* environment) {
  Fill(environment, kEnvironment);
  return 0;
}

uint32_t NWAPI ObjectName(NWCONN_HANDLE, uint32_t, char* name, uint16_t* type) {
  Fill(name, kBinderyName);
  *type = 0x0100;
  return 0;
}

uint32_t NWAPI FullNameSegment(NWCONN_HANDLE, const char*, uint16_t, const char*, uint8_t, uint8_t* segment,
                               uint8_t* more, uint8_t* flags) {
  Fill(segment, kPropertySegment);
  *more = 0xFF;
  *flags = 0;
  return 0;
}

uint16_t NWAPI TreeName(NWCONN_HANDLE, char* tree) {
  Fill(tree, kTreeName);
  return 1;
}

uint32_t NWAPI DirectoryUser(int32_t, char* name) {
  Fill(name, kDirectoryName);
  return 0;
}

uint32_t NWAPI Canonical(int32_t, const char*, char* canonical) {
  Fill(canonical, kDirectoryName);
  return 0;
}

uint32_t NWAPI NameOfID(int32_t, NWCONN_HANDLE, uint32_t, char* name) {
  Fill(name, kDirectoryName);
  return 0;
}

uint32_t NWAPI ReadAnything(int32_t, const char*, uint32_t, uint8_t, void*, int32_t* iteration, void*) {
  *iteration = -1;
  return 0;
}

uint32_t NWAPI OneAttribute(int32_t, void*, uint32_t* count) {
  *count = 1;
  return 0;
}

uint32_t NWAPI AttributeName(int32_t, void*, char* name, uint32_t* valueCount, uint32_t* syntax) {
  Fill(name, kAttributeName);
  *valueCount = 1;
  *syntax = Answers.Syntax;
  return 0;
}

uint32_t NWAPI AttributeSize(int32_t, void*, uint32_t, uint32_t* size) {
  *size = Answers.ValueSize;
  return 0;
}

std::vector<char> ValueBytes() {
  std::vector<char> value(Answers.ValueSize);
  for (std::size_t i = 0; i < value.size() && !Answers.Pool.empty(); ++i)
    value[i] = Answers.Pool[i % Answers.Pool.size()];
  return value;
}

uint32_t NWAPI AttributeValue(int32_t, void*, uint32_t, void* value) {
  const std::vector<char> bytes = ValueBytes();
  if (!bytes.empty()) std::memcpy(value, bytes.data(), bytes.size());
  return 0;
}

// The fake client with every call that writes a name answering from the
// pool, bound once: the program looks each entry point up once.
struct TBoundClient {
  TBoundClient() {
    fake::ResetServer();
    fake::Server.TreeName = "TREE";
    modules.AddFullClient();
    const auto calls = [&](const char* name, retrove::TEntryPoint entry) { modules.Add("CALWIN32.DLL", name, entry); };
    const auto directory = [&](const char* name, retrove::TEntryPoint entry) {
      modules.Add("NETWIN32.DLL", name, entry);
    };
    calls("NWGetConnectionInformation", fake::Entry(&ConnectionInformation));
    calls("NWGetFileServerInformation", fake::Entry(&ServerInformation));
    calls("NWGetFileServerInfo", fake::Entry(&ServerEnvironment));
    calls("NWGetObjectName", fake::Entry(&ObjectName));
    calls("NWReadPropertyValue", fake::Entry(&FullNameSegment));
    modules.Add("CLXWIN32.DLL", "NWCCGetConnInfo", fake::Entry(&ConnInfo));
    directory("NWIsDSServer", fake::Entry(&TreeName));
    directory("NWDSWhoAmI", fake::Entry(&DirectoryUser));
    directory("NWDSCanonicalizeName", fake::Entry(&Canonical));
    directory("NWDSMapIDToName", fake::Entry(&NameOfID));
    directory("NWDSRead", fake::Entry(&ReadAnything));
    directory("NWDSGetAttrCount", fake::Entry(&OneAttribute));
    directory("NWDSGetAttrName", fake::Entry(&AttributeName));
    directory("NWDSComputeAttrValSize", fake::Entry(&AttributeSize));
    directory("NWDSGetAttrVal", fake::Entry(&AttributeValue));
    base = std::make_unique<TNWBase>(nullptr);
  }
  fake::TFakeModules modules;
  std::unique_ptr<TNWBase> base;
};

void CheckServerNames() {
  Require(GetConnectionUserName(0) == Expected(kBinderyName), "the connection's user name is read to its NUL");
  std::string serverName;
  Require(TryGetServerNameOf(0, serverName) && serverName == Expected(kNameOutputBuffer),
          "the server's name is read to its NUL, inside the buffer given");
  TNWServerInfo info;
  Require(GetServerInfo(0, info) && info.FileServerName == Expected(kBinderyName),
          "the server's description names it to its NUL");
  Require(GetObjectNameByID(0, 2) == Expected(kBinderyName), "an object name is read to its NUL");
}

void CheckDirectoryNames() {
  Require(IsDSServer(0) == !Expected(kTreeName).empty(), "a server is in a tree when it gives a tree name");
  Require(WhoAmI() == Expected(kDirectoryName), "the directory user is read to its NUL");
  Require(CanonicalizeName("ALICE") == Expected(kDirectoryName), "a canonical name is read to its NUL");
  Require(MapIDToName(0, 5) == Expected(kDirectoryName), "a directory name is read to its NUL");
}

void CheckFullNames() {
  DSInUse = false;
  Require(ReadFullName(0, "ALICE") == Expected(kPropertySegment), "the full-name property is read to its NUL");
  DSInUse = true;
  std::string value = "BEFORE";
  if (ReadObjectAttributeText("", "ALICE", kFullNameAttribute, value)) {
    const std::vector<char> bytes = ValueBytes();
    Require(value == std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), '\0')),
            "an attribute value is read to its NUL, within the size the client gave");
  } else {
    Require(value == "BEFORE", "an attribute that cannot be read changes nothing");
  }
}

}  // namespace

// One byte for the attribute's syntax, two for its value's size, then the
// pool every name comes from.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TBoundClient client;
  if (size < 3) return 0;
  Answers.Syntax = data[0] % 32;
  Answers.ValueSize = static_cast<uint32_t>(data[1] | data[2] << 8);
  Answers.Pool = std::string_view(reinterpret_cast<const char*>(data + 3), size - 3);
  CheckServerNames();
  CheckDirectoryNames();
  CheckFullNames();
  return 0;
}
