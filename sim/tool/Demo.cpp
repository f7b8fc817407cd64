#include "Commands.h"

namespace nwsim {

namespace {

struct DemoUser {
  const char* name;
  const char* fullName;
  uint16_t type;
  bool supervisor;
};

const DemoUser kUsers[] = {
    {"ADMIN", "System Administrator", 1, true}, {"JSMITH", "John Smith", 1, false},
    {"MJONES", "Mary Jones", 1, false},         {"EVERYONE", "All users", 2, false},
    {"PSERVER1", "Print server, 2nd floor", 7, false},
};

struct DemoFile {
  const char* folder;
  const char* name;
  const char* contents;
  const char* deleter;  // nullptr: the file stays live
  const char* when;
};

// MEMO.TXT is deleted twice (two versions of one name); README.TXT is
// deleted and then written again, so its deleted name collides with a live
// file.
const DemoFile kFiles[] = {
    {"DOCS", "BUDGET.XLS", "quarter,amount\r\nQ1,1200\r\n", "JSMITH", "1997-03-10 09:15:20"},
    {"DOCS", "MEMO.TXT", "First memo.\r\n", "MJONES", "1997-04-01 16:40:00"},
    {"DOCS", "MEMO.TXT", "Second memo, revised.\r\n", "JSMITH", "1997-05-02 11:05:42"},
    {"DOCS", "README.TXT", "Old readme.\r\n", "ADMIN", "1997-02-14 08:00:00"},
    {"DOCS", "README.TXT", "Current readme.\r\n", nullptr, nullptr},
    {"DOCS", "PLAN.TXT", "The plan.\r\n", nullptr, nullptr},
    {"DOCS", "LETTER.DOC", "Dear customer,\r\n", "ADMIN", "1997-06-20 17:30:10"},
    {"DOCS/REPORTS", "Q1.TXT", "Q1 report\r\n", "MJONES", "1997-04-03 10:00:00"},
    {"DOCS/REPORTS", "Q2.TXT", "Q2 report\r\n", "JSMITH", "1997-07-04 12:12:12"},
    {"PUBLIC", "WELCOME.TXT", "Welcome.\r\n", nullptr, nullptr},
    {"PUBLIC", "NOTES.TXT", "Meeting notes\r\n", "MJONES", "1997-08-19 14:22:48"},
};

}  // namespace

void DemoCommand(ToolContext& tool, Arguments& args) {
  args.Finish();
  State state;
  state.server.name = "ACME_FS1";
  state.treeName = "ACME_TREE";
  state.dsContext = "O=ACME";
  for (const DemoUser& u : kUsers) state.objects.push_back({state.nextObjectId++, u.type, u.name, u.fullName, u.supervisor});
  state.currentUser = state.objects.front().id;
  state.volumes = {Volume{0, "SYS"}, Volume{1, "DATA"}};
  state.mappings = {DriveMapping{'F', "SYS", ""}, DriveMapping{'G', "DATA", ""}};
  tool.server.Folder().Create(state);
  for (const DemoFile& f : kFiles) {
    tool.server.PutFile("SYS", f.folder, f.name, f.contents);
    if (!f.deleter) continue;
    Deletion d;
    d.volume = "SYS";
    d.folder = f.folder;
    d.name = f.name;
    d.deleter = ObjectIdOf(tool.server, f.deleter);
    d.owner = ObjectIdOf(tool.server, "MJONES");
    d.when = ParseWhen(f.when);
    d.created = ParseWhen("1996-11-05 13:45:00");
    d.updated = ParseWhen("1997-01-20 09:30:00");
    d.accessed = ParseWhen("1997-01-31");
    tool.server.DeleteFile(d);
  }
  tool.server.PutFile("DATA", "PROJECTS", "INDEX.TXT", "Projects\r\n");
  tool.out << "demo server ACME_FS1 in " << tool.server.Folder().Root().string() << "; volume SYS is "
           << tool.server.Folder().VolumeFolder("SYS").string() << " (drive F:)\n";
}

}  // namespace nwsim
