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
  std::string NameContext;
  std::pair<int32_t, int32_t> UnicodeTables{0, 0};
};

extern TFakeServer Server;
void ResetServer();

uint32_t PackDate(int year, int month, int day);
uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace fake
