#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "Commands.h"
#include "Text.h"

namespace nwsim {

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError("cannot read '" + path + "'");
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

std::string DateText(uint32_t packed) {
  DateTimeParts p = UnpackDateTime(packed);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                p.second);
  return text;
}

std::string ObjectName(const State& state, uint32_t id) {
  const BinderyObject* object = state.FindObject(id);
  return object ? object->name : "?";
}

}  // namespace

void PutCommand(ToolContext& tool, Arguments& args) {
  std::string contents = "contents\r\n";
  if (auto text = args.Option("--text")) contents = *text;
  if (auto from = args.Option("--from")) contents = ReadWholeFile(*from);
  std::string name;
  VolumePath place = ParseFilePath(args.Positional("VOLUME:PATH"), name);
  args.Finish();
  tool.server.PutFile(place.volume, place.folder, name, contents);
}

void DeleteCommand(ToolContext& tool, Arguments& args) {
  Deletion d;
  auto by = args.Option("--by");
  if (auto at = args.Option("--at")) d.when = ParseWhen(*at);
  if (auto created = args.Option("--created")) d.created = ParseWhen(*created);
  if (auto updated = args.Option("--updated")) d.updated = ParseWhen(*updated);
  if (auto accessed = args.Option("--accessed")) d.accessed = ParseWhen(*accessed);
  auto owner = args.Option("--owner");
  VolumePath place = ParseFilePath(args.Positional("VOLUME:PATH"), d.name);
  args.Finish();
  d.volume = place.volume;
  d.folder = place.folder;
  d.deleter = by ? ObjectIdOf(tool.server, *by) : tool.server.Current()->state.currentUser;
  if (owner) d.owner = ObjectIdOf(tool.server, *owner);
  DeletedEntry entry = tool.server.DeleteFile(d);
  tool.out << entry.sequence << "\n";
}

void ListCommand(ToolContext& tool, Arguments& args) {
  VolumePath folder = ParseVolumePath(args.Positional("VOLUME:FOLDER"));
  args.Finish();
  std::shared_ptr<const Snapshot> snapshot = tool.server.Current();
  std::shared_ptr<const FolderEntries> entries = tool.server.Folder().Deleted(*snapshot, folder.volume, folder.folder);
  for (const auto& [sequence, e] : entries->bySequence) {
    tool.out << e.sequence << "\t" << e.name << "\t" << e.size << "\t" << DateText(e.deleted) << "\t"
             << ObjectName(snapshot->state, e.deleter) << "\n";
  }
}

void PurgeCommand(ToolContext& tool, Arguments& args) {
  auto name = args.Option("--name");
  auto sequence = args.Option("--sequence");
  bool all = args.Flag("--all");
  VolumePath folder = ParseVolumePath(args.Positional("VOLUME:FOLDER"));
  args.Finish();
  if (int(bool(name)) + int(bool(sequence)) + int(all) != 1)
    throw UsageError("purge needs exactly one of --name, --sequence, --all");
  uint32_t wanted = sequence ? ParseNumber(*sequence, "sequence") : 0;
  std::vector<uint32_t> doomed;
  {
    std::shared_ptr<const FolderEntries> entries = tool.server.Folder().Deleted(folder.volume, folder.folder);
    for (const auto& [s, e] : entries->bySequence)
      if (all || (name && EqualNoCase(e.name, *name)) || (sequence && s == wanted)) doomed.push_back(s);
  }  // let go before the purge changes the folder, which then needs no copy
  if (doomed.empty()) throw std::runtime_error("no such deleted entry in " + folder.volume + ":" + folder.folder);
  uint32_t failed = 0;
  Code code = tool.server.Purge(folder.volume, folder.folder, doomed, &failed);
  if (code != kOk) {
    std::ostringstream message;
    message << "purge of entry " << failed << " failed with 0x" << std::hex << std::uppercase << code;
    throw std::runtime_error(message.str());
  }
  tool.out << doomed.size() << " purged\n";
}

void GenerateCommand(ToolContext& tool, Arguments& args) {
  auto by = args.Option("--by");
  DateTimeParts start = ParseWhen(args.Option("--at").value_or("1997-06-01 08:00"));
  VolumePath folder = ParseVolumePath(args.Positional("VOLUME:FOLDER"));
  uint32_t count = ParseNumber(args.Positional("count"), "count", 1000000);
  args.Finish();
  uint32_t deleter = by ? ObjectIdOf(tool.server, *by) : tool.server.Current()->state.currentUser;
  tool.server.Generate(folder.volume, folder.folder, count, deleter, start);
  tool.out << count << " generated\n";
}

void FaultCommand(ToolContext& tool, Arguments& args) {
  std::string kind = args.Positional("fault kind (fail, vanish, slow, clear)");
  std::function<void(Faults&)> change;
  if (kind == "fail") {
    std::string entryPoint = args.Positional("entry point");
    uint32_t code = ParseNumber(args.Positional("result code"), "result code");
    if (entryPoint.rfind("NW", 0) != 0 || entryPoint.size() > 64) throw UsageError("bad entry point '" + entryPoint + "'");
    change = [=](Faults& f) { f.failingCalls[entryPoint] = code; };
  } else if (kind == "vanish") {
    std::string name = args.Positional("entry name");
    if (!IsValidEntryName(name)) throw UsageError("bad entry name '" + name + "'");
    change = [=](Faults& f) { f.vanishingNames.insert(name); };
  } else if (kind == "slow") {
    uint32_t ms = ParseNumber(args.Positional("delay in milliseconds"), "delay", 60000);
    change = [=](Faults& f) { f.callDelayMs = ms; };
  } else if (kind == "clear") {
    change = [](Faults& f) { f = Faults(); };
  } else {
    throw UsageError("unknown fault '" + kind + "'");
  }
  args.Finish();
  tool.server.Folder().Update([&](State& state) {
    change(state.faults);
    return true;
  });
}

}  // namespace nwsim
