#include "Tool.h"

#include <exception>

#include "Commands.h"

namespace nwsim {

namespace {

struct Command {
  const char* name;
  void (*run)(ToolContext&, Arguments&);
  const char* usage;
};

const Command kCommands[] = {
    {"create", CreateCommand, "create [--server NAME] [--version 4.11] [--tree TREE [--context O=ORG]] [--no-volume]"},
    {"add-server", AddServerCommand,
     "add-server NAME [--version 3.12] [--bindery-only]   another server, with a connection of its own"},
    {"primary", PrimaryCommand, "primary NAME                     the workstation's primary server"},
    {"add-volume", AddVolumeCommand, "add-volume NAME"},
    {"add-user", AddUserCommand,
     "add-user NAME [--full-name TEXT] [--type N] [--supervisor] [--console-operator] [--manager]\n"
     "           [--directory-only]   (prints the ID; directory-only: unknown to the bindery, names up to 64)"},
    {"login", LoginCommand, "login NAME                       the client's current user"},
    {"map", MapCommand, "map LETTER VOLUME:FOLDER"},
    {"first-drive", FirstDriveCommand, "first-drive (LETTER | none)     the workstation's first network drive"},
    {"rights", RightsCommand, "rights VOLUME:FOLDER MASK        the current user's rights there (0x1FB all)"},
    {"clock", ClockCommand,
     "clock (set DATE | bytes YEARS-1900 MONTH DAY HOUR MINUTE SECOND WEEKDAY | reset)\n"
     "                                   the server's clock; bytes: given out as they are"},
    {"show", ShowCommand, "show"},
    {"put", PutCommand, "put VOLUME:PATH [--text TEXT | --from FILE]"},
    {"delete", DeleteCommand,
     "delete VOLUME:PATH [--by USER] [--at DATE] [--created DATE] [--updated DATE] [--accessed DATE] [--owner USER]"},
    {"list", ListCommand, "list VOLUME:FOLDER               sequence, name, size, deleted, deleter"},
    {"purge", PurgeCommand, "purge VOLUME:FOLDER (--name NAME | --sequence N | --all)"},
    {"generate", GenerateCommand, "generate VOLUME:FOLDER COUNT [--by USER] [--at DATE]"},
    {"fault", FaultCommand, "fault (fail ENTRYPOINT CODE | vanish NAME | slow MS | clear)   slow: each scan and recover call waits"},
    {"demo", DemoCommand, "demo                             a demo server in a new folder"},
};

void PrintHelp(std::ostream& out) {
  out << "usage: nwsim [--root DIR] COMMAND ...   (DIR defaults to $NWSIM_ROOT)\n"
         "DATE is YYYY-MM-DD[ HH:MM[:SS]]; folders are VOLUME:DIR/SUB.\n";
  for (const Command& c : kCommands) out << "  " << c.usage << "\n";
}

const Command* FindCommand(const std::string& name) {
  for (const Command& c : kCommands)
    if (name == c.name) return &c;
  return nullptr;
}

}  // namespace

int RunTool(std::vector<std::string> args, const char* rootFromEnvironment, std::ostream& out, std::ostream& err) {
  try {
    if (args.empty() || args.front() == "--help" || args.front() == "-h") {
      PrintHelp(args.empty() ? err : out);
      return args.empty() ? 2 : 0;
    }
    std::string root = rootFromEnvironment ? rootFromEnvironment : "";
    if (args.front() == "--root") {
      if (args.size() < 2) throw UsageError("--root needs a folder");
      root = args[1];
      args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) throw UsageError("missing command (see --help)");
    const Command* command = FindCommand(args.front());
    if (!command) throw UsageError("unknown command '" + args.front() + "' (see --help)");
    if (root.empty()) throw UsageError("no server folder: give --root DIR or set NWSIM_ROOT");
    args.erase(args.begin());
    Arguments commandArgs(std::move(args));
    Server server(root);
    ToolContext tool{server, out};
    command->run(tool, commandArgs);
    return 0;
  } catch (const UsageError& e) {
    err << "nwsim: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    err << "nwsim: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace nwsim
