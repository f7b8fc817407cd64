#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "Commands.h"
#include "DirectoryNames.h"
#include "Text.h"

namespace nwsim {

namespace {

void ParseVersion(const std::string& text, ServerIdentity& server) {
  unsigned major = 0, minor = 0, revision = 0;
  char tail = 0;
  int fields = std::sscanf(text.c_str(), "%3u.%3u.%3u%c", &major, &minor, &revision, &tail);
  if ((fields != 2 && fields != 3) || major > 255 || minor > 255 || revision > 255)
    throw UsageError("bad version '" + text + "' (MAJOR.MINOR[.REVISION])");
  server.major = static_cast<uint8_t>(major);
  server.minor = static_cast<uint8_t>(minor);
  server.revision = static_cast<uint8_t>(revision);
}

std::string CheckedName(const std::string& name, size_t max, const char* what) {
  if (name.empty() || name.size() > max || name.find_first_of(":/\\\t\n\r.") != std::string::npos)
    throw UsageError(std::string("bad ") + what + " '" + name + "'");
  return UpperCase(name);
}

}  // namespace

uint32_t ObjectIdOf(Server& server, const std::string& name) {
  const BinderyObject* object = server.Current()->state.FindObjectByName(name);
  if (!object) throw std::runtime_error("no bindery object " + name);
  return object->id;
}

void CreateCommand(ToolContext& tool, Arguments& args) {
  State state;
  if (auto name = args.Option("--server")) state.server.name = CheckedName(*name, 47, "server name");
  if (auto version = args.Option("--version")) ParseVersion(*version, state.server);
  if (auto tree = args.Option("--tree")) state.treeName = CheckedName(*tree, 32, "tree name");
  if (auto context = args.Option("--context")) {
    if (context->empty() || context->size() > kMaxDirectoryName) throw UsageError("bad context '" + *context + "'");
    state.dsContext = *context;
  }
  bool noVolume = args.Flag("--no-volume");
  args.Finish();
  if (!state.treeName.empty() && state.dsContext.empty()) state.dsContext = "O=" + state.treeName;
  BinderyObject supervisor{state.nextObjectId++, 1, "SUPERVISOR", "Supervisor", true};
  state.objects.push_back(supervisor);
  state.currentUser = supervisor.id;
  if (!noVolume) state.volumes.push_back(Volume{0, "SYS"});
  tool.server.Folder().Create(state);
  tool.out << "created server " << state.server.name << " in " << tool.server.Folder().Root().string() << "\n";
}

void AddServerCommand(ToolContext& tool, Arguments& args) {
  OtherServer other;
  if (auto version = args.Option("--version")) ParseVersion(*version, other.identity);
  other.directory = !args.Flag("--bindery-only");
  other.identity.name = CheckedName(args.Positional("server name"), 47, "server name");
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    if (EqualNoCase(other.identity.name, state.server.name)) throw std::runtime_error(other.identity.name + " exists");
    for (const OtherServer& known : state.otherServers)
      if (EqualNoCase(other.identity.name, known.identity.name))
        throw std::runtime_error(other.identity.name + " exists");
    if (other.directory && state.treeName.empty()) other.directory = false;
    // Each server numbers the workstation's connection its own way.
    other.identity.connectionNumber = static_cast<uint16_t>(state.server.connectionNumber + 4 + state.otherServers.size());
    state.otherServers.push_back(other);
    return true;
  });
}

void PrimaryCommand(ToolContext& tool, Arguments& args) {
  std::string name = UpperCase(args.Positional("server name"));
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    bool known = EqualNoCase(name, state.server.name);
    for (const OtherServer& other : state.otherServers) known = known || EqualNoCase(name, other.identity.name);
    if (!known) throw std::runtime_error("no server " + name);
    state.primaryServer = EqualNoCase(name, state.server.name) ? std::string() : name;
    return true;
  });
}

void AddVolumeCommand(ToolContext& tool, Arguments& args) {
  std::string name = CheckedName(args.Positional("volume name"), 15, "volume name");
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    if (state.FindVolume(name)) throw std::runtime_error("volume " + name + " exists");
    uint32_t number = 0;
    for (const Volume& v : state.volumes) number = std::max(number, v.number + 1);
    state.volumes.push_back(Volume{number, name});
    std::filesystem::create_directories(tool.server.Folder().VolumeFolder(name));
    return true;
  });
}

void AddUserCommand(ToolContext& tool, Arguments& args) {
  BinderyObject object;
  if (auto full = args.Option("--full-name")) {
    if (full->size() > 127) throw UsageError("full name longer than 127 characters");
    object.fullName = *full;
  }
  if (auto type = args.Option("--type")) object.type = static_cast<uint16_t>(ParseNumber(*type, "type", 0xFFFF));
  object.supervisor = args.Flag("--supervisor");
  object.consoleOperator = args.Flag("--console-operator");
  object.manager = args.Flag("--manager");
  object.directoryOnly = args.Flag("--directory-only");
  // The bindery takes 47 characters; a directory's common name 64.
  object.name = CheckedName(args.Positional("object name"), object.directoryOnly ? 64 : 47, "object name");
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    if (state.FindObject(object.name, object.type)) throw std::runtime_error(object.name + " exists");
    if (object.directoryOnly && state.treeName.empty())
      throw std::runtime_error("a directory-only object needs a server in a directory tree");
    if (!state.treeName.empty() && DirectoryName(state, object, true).size() > kMaxDirectoryName)
      throw std::runtime_error("the directory name of " + object.name + " would be longer than 256 characters");
    object.id = state.nextObjectId++;
    state.objects.push_back(object);
    return true;
  });
  tool.out << std::hex << object.id << std::dec << "\n";
}

void LoginCommand(ToolContext& tool, Arguments& args) {
  std::string name = args.Positional("user name");
  args.Finish();
  uint32_t id = ObjectIdOf(tool.server, name);
  tool.server.Folder().Update([&](State& state) {
    state.currentUser = id;
    return true;
  });
}

void MapCommand(ToolContext& tool, Arguments& args) {
  std::string letter = UpperCase(args.Positional("drive letter"));
  if (letter.size() == 2 && letter[1] == ':') letter.pop_back();
  if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') throw UsageError("bad drive letter '" + letter + "'");
  VolumePath target = ParseVolumePath(args.Positional("VOLUME:FOLDER"));
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    if (!state.FindVolume(target.volume)) throw std::runtime_error("no volume " + target.volume);
    std::erase_if(state.mappings, [&](const DriveMapping& m) { return m.letter == letter[0]; });
    state.mappings.push_back(DriveMapping{letter[0], target.volume, target.folder});
    return true;
  });
}

void FirstDriveCommand(ToolContext& tool, Arguments& args) {
  std::string letter = UpperCase(args.Positional("drive letter or none"));
  if (letter.size() == 2 && letter[1] == ':') letter.pop_back();
  const bool none = letter == "NONE";
  if (!none && (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z'))
    throw UsageError("bad drive letter '" + letter + "'");
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    state.firstNetworkDrive = none ? 0 : letter[0];
    return true;
  });
}

void RightsCommand(ToolContext& tool, Arguments& args) {
  VolumePath folder = ParseVolumePath(args.Positional("VOLUME:FOLDER"));
  uint16_t mask = static_cast<uint16_t>(ParseNumber(args.Positional("rights mask"), "rights mask", 0x1FF));
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    std::erase_if(state.rights, [&](const FolderRights& r) {
      return EqualNoCase(r.volume, folder.volume) && r.folder == folder.folder;
    });
    state.rights.push_back(FolderRights{folder.volume, folder.folder, mask});
    return true;
  });
}

void ClockCommand(ToolContext& tool, Arguments& args) {
  std::string kind = args.Positional("clock action (set, bytes, reset)");
  ServerClock clock;
  if (kind == "set") {
    const DateTimeParts when = ParseWhen(args.Positional("date"));
    clock.offsetSeconds = static_cast<int64_t>(LocalInstant(when)) - static_cast<int64_t>(std::time(nullptr));
  } else if (kind == "bytes") {
    std::array<uint8_t, 7> bytes{};
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(ParseNumber(args.Positional("byte"), "byte", 0xFF));
    clock.rawBytes = bytes;
  } else if (kind != "reset") {
    throw UsageError("unknown clock action '" + kind + "'");
  }
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    state.clock = clock;
    return true;
  });
}

void ShowCommand(ToolContext& tool, Arguments& args) {
  args.Finish();
  std::shared_ptr<const Snapshot> snapshot = tool.server.Current();
  const State& s = snapshot->state;
  tool.out << "server " << s.server.name << " " << int(s.server.major) << "." << int(s.server.minor) << "."
           << int(s.server.revision) << "\n";
  for (const OtherServer& o : s.otherServers)
    tool.out << "other server " << o.identity.name << " " << int(o.identity.major) << "." << int(o.identity.minor)
             << (o.directory ? "" : " bindery-only") << "\n";
  if (!s.primaryServer.empty()) tool.out << "primary " << s.primaryServer << "\n";
  for (const auto& [name, count] : s.connectionOpens) tool.out << "opened " << name << " " << count << "\n";
  if (!s.treeName.empty()) tool.out << "tree " << s.treeName << " context " << s.dsContext << "\n";
  for (const BinderyObject& o : s.objects)
    tool.out << "object " << std::hex << o.id << std::dec << " type " << o.type << " " << o.name
             << (o.supervisor ? " supervisor" : "") << (o.consoleOperator ? " console-operator" : "")
             << (o.manager ? " manager" : "") << (o.directoryOnly ? " directory-only" : "")
             << (o.id == s.currentUser ? " (logged in)" : "") << "\n";
  for (const Volume& v : s.volumes)
    tool.out << "volume " << v.number << " " << v.name << " " << tool.server.Folder().VolumeFolder(v.name).string()
             << "\n";
  for (const DriveMapping& m : s.mappings) tool.out << "map " << m.letter << ": " << m.volume << ":" << m.folder << "\n";
  size_t deleted = 0;
  for (const std::shared_ptr<const FolderEntries>& folder : tool.server.Folder().AllDeleted())
    deleted += folder->bySequence.size();
  tool.out << "deleted entries " << deleted << "\n";
}

}  // namespace nwsim
