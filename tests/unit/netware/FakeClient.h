#pragma once

#include <cstdint>
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

// The server behind the fake calls library: one folder of deleted entries.
struct TFakeServer {
  std::string FolderPath = "F:/DATA/";  // the path the parse accepts
  std::vector<TFakeDeleted> Deleted;
  std::map<uint32_t, std::string> ObjectNames;
  uint32_t PrimaryConnection = 7;
  uint32_t CallsInitResult = 0;
  uint32_t PrimConnRefResult = 0;
  uint32_t RecoverResult = 0;

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
};

extern TFakeServer Server;
void ResetServer();

// The result an entry point was told to fail with, or 0.
uint32_t Failure(const std::string& entry);

// The directory and locale libraries' entry points, all present.
void AddDirectoryClient(TFakeModules& modules);
// Present on newer clients only.
retrove::TEntryPoint DuplicateContextHandleEntry();

uint32_t PackDate(int year, int month, int day);
uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace fake
