#include "StateText.h"

#include <charconv>
#include <limits>
#include <vector>

#include "Text.h"

namespace nwsim {

namespace {

constexpr std::string_view kHeader = "nwsim-server";
// Format 3 keeps the deleted entries out, in the folder files; format 2
// still reads, with its entries inline.
constexpr std::string_view kFormatVersion = "3";
constexpr std::string_view kInlineEntriesVersion = "2";

class LineWriter {
public:
  explicit LineWriter(std::string& out) : FOut(out) {}

  template <class... Fields>
  void Line(std::string_view kind, const Fields&... fields) {
    FOut += kind;
    (Field(fields), ...);
    FOut += '\n';
  }

private:
  void Field(std::string_view text) {
    FOut += '\t';
    FOut += EscapeField(text);
  }
  void Field(const std::string& text) { Field(std::string_view(text)); }
  void Field(char letter) { Field(std::string_view(&letter, 1)); }
  void Field(uint64_t number) {
    FOut += '\t';
    FOut += std::to_string(number);
  }
  void Field(uint32_t number) { Field(static_cast<uint64_t>(number)); }
  void Field(uint16_t number) { Field(static_cast<uint64_t>(number)); }
  void Field(uint8_t number) { Field(static_cast<uint64_t>(number)); }
  void Field(bool flag) { Field(static_cast<uint64_t>(flag ? 1 : 0)); }

  std::string& FOut;
};

// Reads the fields of one line in order, each checked against its type.
class LineReader {
public:
  LineReader(std::vector<std::string> fields, size_t lineNumber)
      : FFields(std::move(fields)), FLine(lineNumber) {}

  size_t Count() const { return FFields.size(); }

  void ExpectCount(size_t count) const {
    if (FFields.size() != count) Fail("wrong number of fields");
  }

  const std::string& Text() { return Next(); }

  template <class Number>
  Number Unsigned() {
    const std::string& field = Next();
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size() || field.empty() ||
        value > std::numeric_limits<Number>::max())
      Fail("bad number '" + field + "'");
    return static_cast<Number>(value);
  }

  int64_t Signed() {
    const std::string& field = Next();
    int64_t value = 0;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size() || field.empty()) Fail("bad number '" + field + "'");
    return value;
  }

  char Letter() {
    const std::string& field = Next();
    if (field.size() != 1) Fail("bad drive letter");
    return field[0];
  }

  bool Flag() { return Unsigned<uint8_t>() != 0; }

  [[noreturn]] void Fail(const std::string& why) const {
    throw FormatError("server state line " + std::to_string(FLine) + ": " + why);
  }

private:
  const std::string& Next() {
    if (FNext >= FFields.size()) Fail("missing field");
    return FFields[FNext++];
  }

  std::vector<std::string> FFields;
  size_t FLine;
  size_t FNext = 1;
};

DeletedEntry ReadEntry(LineReader& r) {
  r.ExpectCount(20);
  DeletedEntry e;
  e.sequence = r.Unsigned<uint32_t>();
  e.volume = r.Text();
  e.folder = r.Text();
  e.name = r.Text();
  e.nameSpace = r.Unsigned<uint8_t>();
  e.flags = r.Unsigned<uint8_t>();
  e.attributes = r.Unsigned<uint32_t>();
  e.size = r.Unsigned<uint32_t>();
  e.created = r.Unsigned<uint32_t>();
  e.archived = r.Unsigned<uint32_t>();
  e.updated = r.Unsigned<uint32_t>();
  e.accessed = r.Unsigned<uint16_t>();
  e.deleted = r.Unsigned<uint32_t>();
  e.owner = r.Unsigned<uint32_t>();
  e.archiver = r.Unsigned<uint32_t>();
  e.updater = r.Unsigned<uint32_t>();
  e.deleter = r.Unsigned<uint32_t>();
  e.inheritedRights = r.Unsigned<uint16_t>();
  e.generated = r.Flag();
  if (!IsValidEntryName(e.name)) r.Fail("bad entry name");
  if (e.sequence == 0 || e.sequence == 0xFFFFFFFF) r.Fail("bad sequence");
  return e;
}

void ReadServer(LineReader& r, ServerIdentity& s, size_t fields = 9) {
  r.ExpectCount(fields);
  s.name = r.Text();
  s.major = r.Unsigned<uint8_t>();
  s.minor = r.Unsigned<uint8_t>();
  s.revision = r.Unsigned<uint8_t>();
  s.maxConnections = r.Unsigned<uint16_t>();
  s.connectionNumber = r.Unsigned<uint16_t>();
  s.codePage = r.Unsigned<uint16_t>();
  s.country = r.Unsigned<uint16_t>();
  if (s.name.empty() || s.name.size() > 47) r.Fail("bad server name");
}

// Files written before the operator, manager and directory-only flags end
// after the supervisor flag.
void ReadObject(LineReader& r, State& state) {
  const bool withFlags = r.Count() == 9;
  if (!withFlags) r.ExpectCount(6);
  BinderyObject o;
  o.id = r.Unsigned<uint32_t>();
  o.type = r.Unsigned<uint16_t>();
  o.name = r.Text();
  o.fullName = r.Text();
  o.supervisor = r.Flag();
  if (withFlags) {
    o.consoleOperator = r.Flag();
    o.manager = r.Flag();
    o.directoryOnly = r.Flag();
  }
  const size_t longest = o.directoryOnly ? 64 : 47;
  if (o.name.empty() || o.name.size() > longest || o.fullName.size() > 127) r.Fail("bad object name");
  state.objects.push_back(std::move(o));
}

void ReadLine(LineReader& r, std::string_view kind, State& state) {
  if (kind == "server") {
    ReadServer(r, state.server);
  } else if (kind == "other-server") {
    OtherServer other;
    ReadServer(r, other.identity, 10);
    other.directory = r.Flag();
    state.otherServers.push_back(std::move(other));
  } else if (kind == "primary") {
    r.ExpectCount(2);
    state.primaryServer = r.Text();
  } else if (kind == "opens") {
    r.ExpectCount(3);
    const std::string& name = r.Text();
    state.connectionOpens[name] = r.Unsigned<uint32_t>();
  } else if (kind == "tree") {
    r.ExpectCount(3);
    state.treeName = r.Text();
    state.dsContext = r.Text();
  } else if (kind == "login") {
    r.ExpectCount(2);
    state.currentUser = r.Unsigned<uint32_t>();
  } else if (kind == "counters") {
    r.ExpectCount(3);
    state.nextSequence = r.Unsigned<uint32_t>();
    state.nextObjectId = r.Unsigned<uint32_t>();
  } else if (kind == "object") {
    ReadObject(r, state);
  } else if (kind == "volume") {
    r.ExpectCount(3);
    Volume v;
    v.number = r.Unsigned<uint32_t>();
    v.name = r.Text();
    state.volumes.push_back(std::move(v));
  } else if (kind == "map") {
    r.ExpectCount(4);
    DriveMapping m;
    m.letter = r.Letter();
    m.volume = r.Text();
    m.folder = r.Text();
    state.mappings.push_back(std::move(m));
  } else if (kind == "rights") {
    r.ExpectCount(4);
    FolderRights f;
    f.volume = r.Text();
    f.folder = r.Text();
    f.mask = r.Unsigned<uint16_t>();
    state.rights.push_back(std::move(f));
  } else if (kind == "deleted" && state.entriesInline) {
    state.inlineDeleted.push_back(ReadEntry(r));
  } else if (kind == "fail") {
    r.ExpectCount(3);
    const std::string& name = r.Text();
    state.faults.failingCalls[name] = r.Unsigned<uint32_t>();
  } else if (kind == "vanish") {
    r.ExpectCount(2);
    state.faults.vanishingNames.insert(r.Text());
  } else if (kind == "first-drive") {
    r.ExpectCount(2);
    state.firstNetworkDrive = r.Letter();
    if (state.firstNetworkDrive < 'A' || state.firstNetworkDrive > 'Z') r.Fail("bad drive letter");
  } else if (kind == "clock") {
    r.ExpectCount(2);
    state.clock.offsetSeconds = r.Signed();
  } else if (kind == "clock-bytes") {
    r.ExpectCount(8);
    std::array<uint8_t, 7> bytes{};
    for (uint8_t& byte : bytes) byte = r.Unsigned<uint8_t>();
    state.clock.rawBytes = bytes;
  } else if (kind == "slow") {
    r.ExpectCount(2);
    state.faults.callDelayMs = r.Unsigned<uint32_t>();
  } else {
    r.Fail("unknown item '" + std::string(kind) + "'");
  }
}

}  // namespace

std::string FormatState(const State& state) {
  std::string out;
  if (state.entriesInline || !state.inlineDeleted.empty())
    throw std::logic_error("a server state is written without its deleted entries");
  LineWriter w(out);
  w.Line(kHeader, kFormatVersion, state.generation);
  const ServerIdentity& s = state.server;
  w.Line("server", s.name, s.major, s.minor, s.revision, s.maxConnections, s.connectionNumber, s.codePage,
         s.country);
  for (const OtherServer& o : state.otherServers) {
    const ServerIdentity& i = o.identity;
    w.Line("other-server", i.name, i.major, i.minor, i.revision, i.maxConnections, i.connectionNumber, i.codePage,
           i.country, o.directory);
  }
  if (!state.primaryServer.empty()) w.Line("primary", state.primaryServer);
  for (const auto& [name, count] : state.connectionOpens) w.Line("opens", name, count);
  if (!state.treeName.empty()) w.Line("tree", state.treeName, state.dsContext);
  w.Line("login", state.currentUser);
  w.Line("counters", state.nextSequence, state.nextObjectId);
  for (const BinderyObject& o : state.objects)
    w.Line("object", o.id, o.type, o.name, o.fullName, o.supervisor, o.consoleOperator, o.manager, o.directoryOnly);
  for (const Volume& v : state.volumes) w.Line("volume", v.number, v.name);
  for (const DriveMapping& m : state.mappings) w.Line("map", m.letter, m.volume, m.folder);
  if (state.firstNetworkDrive) w.Line("first-drive", state.firstNetworkDrive);
  for (const FolderRights& f : state.rights) w.Line("rights", f.volume, f.folder, f.mask);
  for (const auto& [name, code] : state.faults.failingCalls) w.Line("fail", name, code);
  for (const std::string& name : state.faults.vanishingNames) w.Line("vanish", name);
  if (state.faults.callDelayMs) w.Line("slow", state.faults.callDelayMs);
  if (state.clock.offsetSeconds) w.Line("clock", std::to_string(state.clock.offsetSeconds));
  if (const auto& b = state.clock.rawBytes) w.Line("clock-bytes", (*b)[0], (*b)[1], (*b)[2], (*b)[3], (*b)[4], (*b)[5], (*b)[6]);
  return out;
}

std::optional<StateHeader> ParseStateHeader(std::string_view headerLine) {
  if (!headerLine.empty() && headerLine.back() == '\r') headerLine.remove_suffix(1);
  std::vector<std::string> fields = SplitFields(headerLine);
  if (fields.size() != 3 || fields[0] != kHeader || (fields[1] != kFormatVersion && fields[1] != kInlineEntriesVersion))
    return std::nullopt;
  StateHeader header;
  header.entriesInline = fields[1] == kInlineEntriesVersion;
  const std::string& g = fields[2];
  auto [end, ec] = std::from_chars(g.data(), g.data() + g.size(), header.generation);
  if (ec != std::errc() || end != g.data() + g.size() || g.empty()) return std::nullopt;
  return header;
}

State ParseState(std::string_view text) {
  State state;
  size_t lineNumber = 0;
  bool sawHeader = false;
  uint32_t lastSequence = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!sawHeader) {
      std::optional<StateHeader> header = ParseStateHeader(line);
      if (!header) throw FormatError("not a server state file");
      state.generation = header->generation;
      state.entriesInline = header->entriesInline;
      sawHeader = true;
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    std::vector<std::string> fields = SplitFields(line);
    std::string kind = fields[0];
    LineReader reader(std::move(fields), lineNumber);
    ReadLine(reader, kind, state);
    if (kind == "deleted") {
      if (state.inlineDeleted.back().sequence <= lastSequence) reader.Fail("sequences out of order");
      lastSequence = state.inlineDeleted.back().sequence;
    }
  }
  if (!sawHeader) throw FormatError("empty server state file");
  if (lastSequence >= state.nextSequence) throw FormatError("server state: sequence counter behind entries");
  return state;
}

}  // namespace nwsim
