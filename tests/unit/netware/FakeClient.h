#pragma once

#include <cstdint>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ClientModules.h"
#include "nwlib.h"
#include "NwDeletedRecord.h"

namespace fake {

// Modules by file name, each with the entry points a test gives it. Loads
// and look-ups are logged so tests can tell what the program asked for.
class TFakeModules : public retrove::IClientModules {
public:
  TFakeModules();
  ~TFakeModules() override;

  void AddModule(const std::string& fileName);
  void Add(const std::string& fileName, const std::string& entry, retrove::TEntryPoint function);
  void Remove(const std::string& fileName, const std::string& entry);
  // The standard calls, connection, directory and locale libraries, complete.
  void AddFullClient();

  retrove::TClientModuleHandle Load(const std::string& fileName) override;
  retrove::TEntryPoint Find(retrove::TClientModuleHandle module, const char* name) override;

  std::vector<std::string> Loads;
  std::vector<std::string> Lookups;

private:
  struct Module {
    retrove::TClientModuleHandle Handle;
    std::map<std::string, retrove::TEntryPoint> Entries;
  };
  std::map<std::string, Module> FModules;
};

template <class Fn>
retrove::TEntryPoint Entry(Fn function) {
  return reinterpret_cast<retrove::TEntryPoint>(function);
}

struct TFakeDeleted {
  std::string Name;
  uint32_t Sequence = 0;
  uint32_t OwnerID = 0;
  uint32_t DeleterID = 0;
  uint32_t DeletedPacked = 0;
  uint16_t LastAccessDate = 0;  // the date word; stored high byte first
  int32_t Size = 0;
  uint16_t Rights = 0;
};

// One directory-services context of the fake directory library.
struct TFakeContext {
  uint32_t Flags = 0;
  std::string NameContext = "[Root]";
};

// A directory attribute value.
struct TFakeAttribute {
  uint32_t Syntax = 3;  // case-ignore string
  std::string Value;
};

// A bindery object; its type code has the bindery type in the high byte.
struct TFakeObject {
  std::string Name;
  uint16_t TypeCode = 0x0100;
  uint32_t ID = 0;              // server byte order
  std::string Identification;  // the full name property, up to 128 bytes
};

// The server behind the fake calls library: one folder of deleted entries.
struct TFakeServer {
  std::string FolderPath = "F:/DATA/";  // the path the parse accepts
  std::vector<TFakeDeleted> Deleted;
  std::map<uint32_t, std::string> ObjectNames;
  uint32_t PrimaryConnection = 7;
  uint32_t CallsInitResult = 0;
  uint32_t PrimConnRefResult = 0;
  uint32_t RecoverResult = 0;
  uint32_t PurgeResult = 0;
  uint32_t ScanEndCode = 0x89FF;  // what the scan answers after the last entry

  // What the program did.
  std::vector<std::string> ParsedPaths;
  int ScanCalls = 0;
  int ObjectNameCalls = 0;
  int PrimaryLookups = 0;
  std::set<uint8_t> OpenHandles;
  int HandlesAllocated = 0;
  struct Recovery {
    uint32_t Iteration, Volume, DirBase;
    std::string DeletedName, NewName;
  };
  std::vector<Recovery> Recoveries;
  std::vector<Recovery> Purges;  // NewName stays empty
  int ContextsCreated = 0;
  int ContextsFreed = 0;
  std::pair<int32_t, int32_t> UnicodeTables{0, 0};
  int UnicodeTablesLoaded = 0;

  // Entry points told to fail, with the result each returns.
  std::map<std::string, uint32_t> Failing;

  // The directory: a server without a tree name is bindery-only.
  std::string TreeName;
  std::string DirectoryUser = "CN=ALICE.O=ACME";
  std::map<std::string, uint32_t> DirectoryIDs;  // directory name -> ID, server byte order
  std::map<std::string, std::map<std::string, TFakeAttribute>> Attributes;  // object -> name -> value
  uint32_t DefaultContextFlags = 0x17;  // the client's own, typeless names among them
  std::map<int32_t, TFakeContext> Contexts;
  int32_t NextContext = 42;
  int32_t CreateContextResult = 0;  // a negative value makes creation fail with it
  int NameContextSets = 0;
  uint32_t CanonicalizeFlags = 0;  // the flag set in force while canonicalising
  std::vector<std::string> ObjectsRead;
  int AttributeValueReads = 0;
  int BuffersOpen = 0;

  // Connections, the bindery and the server's own description.
  std::map<std::string, uint32_t> ServerConnections = {{"FS1", 7}, {"FS2", 8}};
  std::string ServerName = "FS1";
  uint16_t ConnectionNumber = 12;
  std::string ConnectionUser = "ALICE";
  std::vector<TFakeObject> Bindery;
  std::vector<uint16_t> ProbedTypes;
  bool Supervisor = false;
  std::array<uint8_t, 7> ServerClock = {126, 2, 28, 9, 30, 15, 6};
  std::vector<std::array<uint8_t, 6>> ClockSettings;
  uint8_t MajorVersion = 4;
  uint8_t MinorVersion = 11;
  int EnvironmentReads = 0;
  uint16_t WorkstationConnections = 8;
  uint32_t BroadcastState = 1;
  std::vector<std::pair<uint32_t, uint16_t>> BroadcastModes;  // connection, mode
  std::string PreferredServer;
  std::vector<std::string> OpenedByName;
  uint16_t FirstDrive = 6;
  std::set<uint16_t> MappedDrives = {6, 7, 9};
  std::vector<uint16_t> DrivesAsked;
  uint8_t ErrorMode = 0;
};

extern TFakeServer Server;
void ResetServer();

// The result an entry point was told to fail with, or 0.
uint32_t Failure(const std::string& entry);

// The directory and locale libraries' entry points, all present.
void AddDirectoryClient(TFakeModules& modules);
// The calls and connection libraries' entry points for connections, the
// bindery, the server and the workstation.
void AddConnectionClient(TFakeModules& modules);
// Present on newer clients only.
retrove::TEntryPoint DuplicateContextHandleEntry();

uint32_t PackDate(int year, int month, int day);
uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace fake
