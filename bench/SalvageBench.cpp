#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Application.h"
#include "BareClient.h"
#include "BenchProgram.h"
#include "Meters.h"
#include "NwDeletedRecord.h"
#include "ScanCounter.h"
#include "UMain.h"
#include "UPurge.h"
#include "URecovery.h"

namespace retrove::bench {

namespace {

constexpr int kEveryNth = 10;

// What a recover or purge call needs of an entry, as a scan gave it.
struct TScannedEntry {
  uint32_t Iteration;
  uint32_t Volume;
  uint32_t DirBase;
  std::string Name;
};

std::vector<TScannedEntry> EveryTenthEntry(const TBareFolder& bare) {
  const auto scan = BareEntryPoint<TScanForDeletedFiles>("NWScanForDeletedFiles");
  std::vector<TScannedEntry> entries;
  uint32_t iteration = 0xFFFFFFFF;
  uint32_t volume = 0;
  uint32_t dirBase = 0;
  TNWDeletedRecordBytes record{};
  for (long index = 0; scan(bare.Connection(), bare.Handle(), &iteration, &volume, &dirBase, record.data()) == 0;
       ++index)
    if (index % kEveryNth == 0)
      entries.push_back({iteration, volume, dirBase, ReturnedEntryName(DecodeDeletedRecord(record))});
  return entries;
}

const char* CaseName(TSalvage command) { return command == TSalvage::Recover ? "recover" : "purge"; }

// One call for the entry, under its own name.
bool BareCall(const TBareFolder& bare, const TScannedEntry& entry, TSalvage command) {
  static const auto recover = BareEntryPoint<TRecoverDeletedFile>("NWRecoverDeletedFile");
  static const auto purge = BareEntryPoint<TPurgeDeletedFile>("NWPurgeDeletedFile");
  std::vector<char> name(entry.Name.begin(), entry.Name.end());
  name.push_back('\0');
  if (command == TSalvage::Purge)
    return purge && purge(bare.Connection(), bare.Handle(), entry.Iteration, entry.Volume, entry.DirBase,
                          name.data()) == 0;
  return recover && recover(bare.Connection(), bare.Handle(), entry.Iteration, entry.Volume, entry.DirBase,
                            name.data(), name.data()) == 0;
}

}  // namespace

int BareSalvage(const std::string& folder, TSalvage command) {
  TBareFolder bare;
  if (!bare.Open(folder)) return 1;
  std::vector<TScannedEntry> entries = EveryTenthEntry(bare);
  int failed = 0;
  const double start = Seconds();
  for (const TScannedEntry& entry : entries)
    if (!BareCall(bare, entry, command)) ++failed;
  const double seconds = Seconds() - start;
  const size_t calls = entries.size();
  std::printf("case=%s_bare calls=%zu wall_s=%.3f ms_per_file=%.2f failed=%d\n", CaseName(command), calls, seconds,
              calls ? seconds * 1000.0 / double(calls) : 0.0, failed);
  return calls > 0 && failed == 0 ? 0 : 1;
}

// Recovers or purges every tenth row of the listed folder, as the user's
// selection, while another thread keeps asking the main window for an
// answer. A purge is timed from the user's Yes on.
int ProgramSalvage(const std::string& folder, TSalvage command) {
  CreateForms();
  if (!SelectInTree(folder)) return 1;
  ListDeletedFiles(folder);
  TCustomListView& list = *FMain->ListDel;
  const int rows = list.ItemCount();
  int selected = 0;
  for (int row = 0; row < rows; row += kEveryNth, ++selected) list.SetSelected(row, true);
  const long callsBefore = TScanCountingModules::ScanCalls();
  double seconds = 0;
  double longestWaitMs = 0;
  {
    TResponseMeter responses(FMain->Handle());
    const double start = Seconds();
    if (command == TSalvage::Recover)
      RecoverSelectedFiles(folder);
    else
      PurgeRows(ListedRows(true));
    seconds = Seconds() - start;
    longestWaitMs = responses.LongestMs();
  }
  const long scanCalls = TScanCountingModules::ScanCalls() - callsBefore;
  ListDeletedFiles(folder);
  const int left = list.ItemCount();
  Application.DestroyComponents();
  std::printf("case=%s selected=%d of=%d wall_s=%.3f scan_calls=%ld ms_per_file=%.2f rows_left=%d "
              "longest_wait_ms=%.0f\n",
              CaseName(command), selected, rows, seconds, scanCalls, selected ? seconds * 1000.0 / selected : 0.0,
              left, longestWaitMs);
  return left == rows - selected ? 0 : 1;
}

}  // namespace retrove::bench
