#pragma once

#include <cstdint>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace nwsim {

struct ServerIdentity {
  std::string name = "NWSIM";
  uint8_t major = 4;
  uint8_t minor = 11;
  uint8_t revision = 0;
  uint16_t maxConnections = 250;
  uint16_t connectionNumber = 1;
  uint16_t codePage = 437;
  uint16_t country = 1;
};

// Another server the workstation can reach, with a connection of its own.
// Its bindery, volumes and deleted files are the main server's: only what
// it says of itself differs.
struct OtherServer {
  ServerIdentity identity;
  bool directory = false;  // in the main server's tree
};

// Bindery types are the plain numbers (1 user, 2 group, 7 print server);
// the client shows them swapped, as they travel on the wire.
struct BinderyObject {
  uint32_t id = 0;
  uint16_t type = 1;
  std::string name;
  std::string fullName;
  bool supervisor = false;
  // Rights of their own, which supervisors have as well.
  bool consoleOperator = false;
  bool manager = false;
  // Known to directory services only: the bindery calls do not find it.
  bool directoryOnly = false;

  bool IsConsoleOperator() const { return supervisor || consoleOperator; }
  bool IsManager() const { return supervisor || manager; }
};

struct Volume {
  uint32_t number = 0;
  std::string name;
};

// Folders are upper case, "/"-separated, without leading separator; "" is
// the volume's root.
struct DriveMapping {
  char letter = 'F';
  std::string volume;
  std::string folder;
};

struct FolderRights {
  std::string volume;
  std::string folder;
  uint16_t mask = 0;
};

struct DeletedEntry {
  uint32_t sequence = 0;
  std::string volume;
  std::string folder;
  std::string name;
  uint8_t nameSpace = 0;
  uint8_t flags = 0;
  uint32_t attributes = 0;
  uint32_t size = 0;
  uint32_t created = 0;
  uint32_t archived = 0;
  uint32_t updated = 0;
  uint16_t accessed = 0;
  uint32_t deleted = 0;
  uint32_t owner = 0;
  uint32_t archiver = 0;
  uint32_t updater = 0;
  uint32_t deleter = 0;
  uint16_t inheritedRights = 0;
  // Made up by the tool in bulk: no contents were ever stored, and a
  // recovery brings back filler of the entry's size.
  bool generated = false;
};

// "VOLUME:FOLDER/SUB": the volume in upper case, the folder as given.
std::string FolderKey(std::string_view volume, std::string_view folder);
// FNV-1a of the folder key: the same for every process that asks.
uint32_t FolderHash(std::string_view volume, std::string_view folder);

// One folder's deleted entries, by sequence, which is deletion order.
struct FolderEntries {
  std::string volume;  // upper case
  std::string folder;
  std::map<uint32_t, DeletedEntry> bySequence;

  const DeletedEntry* Find(uint32_t sequence) const;
  // The first entry after the given sequence; with `fromStart`, the first.
  const DeletedEntry* After(uint32_t sequence, bool fromStart = false) const;
};

// The server's clock: the workstation's shifted by an offset, or, to try a
// program on what a broken server says, seven raw bytes (years since 1900,
// month, day, hour, minute, second, day of week) given out as they are.
struct ServerClock {
  int64_t offsetSeconds = 0;
  std::optional<std::array<uint8_t, 7>> rawBytes;
};

struct Faults {
  std::map<std::string, uint32_t> failingCalls;
  std::set<std::string> vanishingNames;
  uint32_t callDelayMs = 0;  // each scan and recover call waits this long
};

struct State {
  uint64_t generation = 0;
  ServerIdentity server;
  std::vector<OtherServer> otherServers;
  std::string primaryServer;  // "": the main server
  // Connections opened by name, per server name, so that tests see how
  // often a program opens one.
  std::map<std::string, uint32_t> connectionOpens;
  std::string treeName;
  std::string dsContext;
  uint32_t currentUser = 0;
  uint32_t nextSequence = 1;
  uint32_t nextObjectId = 0x01000001;
  std::vector<BinderyObject> objects;
  std::vector<Volume> volumes;
  std::vector<DriveMapping> mappings;
  // The workstation's first drive for network use; 0: the first mapped one.
  char firstNetworkDrive = 0;
  std::vector<FolderRights> rights;
  // Deleted entries live in a file per folder (ServerFolder). A state file
  // of format 2 held them itself, in deletion order: such a state reads
  // with entriesInline set, and its first write moves them out.
  bool entriesInline = false;
  std::vector<DeletedEntry> inlineDeleted;
  ServerClock clock;
  Faults faults;

  const Volume* FindVolume(std::string_view name) const;
  const Volume* FindVolume(uint32_t number) const;
  const BinderyObject* FindObject(uint32_t id) const;
  const BinderyObject* FindObject(std::string_view name, uint16_t type) const;
  const BinderyObject* FindObjectByName(std::string_view name) const;
  const DriveMapping* FindMapping(char letter) const;
  // The mask of the folder's nearest ancestor-or-self that has one; all
  // rights where none has.
  uint16_t EffectiveRights(std::string_view volume, std::string_view folder) const;
};

}  // namespace nwsim
