// Times one listing of a folder of deleted entries, as the program does it
// (rows and icons, and in Details view the eleven detail columns), or the
// bare scan loop that no listing can beat; or the recovery of every tenth
// entry of a folder, by the program or by a bare loop of recover calls; or
// sorts of the listed folder by a column; or the folder combo box's fills
// for a folder; or resyncs of the folder tree over a large folder. One case
// per process, so that the peak memory is the case's own.
//   listing_bench icons|list|details|bare|recover|recover-bare|purge|purge-bare|filter|sort|combo|tree FOLDER
// (a folder such as F:\BENCH10000). Prints lines of key=value pairs.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Application.h"
#include "BareClient.h"
#include "BenchProgram.h"
#include "NWServer.h"
#include "ScanCounter.h"
#include "Meters.h"
#include "UActionMessage.h"
#include "UMain.h"
#include "UNsShellUtils.h"

using namespace retrove;
using namespace retrove::bench;

namespace retrove::bench {

void CreateForms() {
  Application.Initialize();
  Application.SetTitle("Retrove 97");
  Application.CreateForm(FMain);
  Application.CreateForm(FActionMessage);
  FMain->Show();
  Application.ProcessMessages();
}

void ChooseView(const std::string& mode) {
  TToolButton& view = mode == "details" ? *FMain->BDetails : mode == "list" ? *FMain->BList : *FMain->BLargeIcons;
  view.SetDown(true);
  UpdateViewStyle();
  Application.ProcessMessages();
}

bool SelectInTree(const std::string& folder) {
  ShellIdList list;
  if (FAILED(PathToIdList(folder, list))) {
    std::fprintf(stderr, "listing_bench: no folder %s\n", folder.c_str());
    return false;
  }
  FMain->TreeDel->SelectIdList(list.Get());
  return true;
}

void PaintPending() {
  RedrawWindow(FMain->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace retrove::bench

namespace {

// `idleMb` is the working set before the case began.
void Report(const char* mode, long entries, double seconds, double stallMs, double idleMb) {
  std::printf("case=%s entries=%ld wall_s=%.3f scan_calls=%ld us_per_entry=%.1f peak_mb=%.1f idle_mb=%.1f "
              "longest_stall_ms=%.0f longest_scan_ms=%.0f\n",
              mode, entries, seconds, TScanCountingModules::ScanCalls(),
              entries ? seconds * 1e6 / double(entries) : 0.0, PeakMegabytes(), idleMb, stallMs,
              TScanCountingModules::LongestScanMs());
}

int BareScan(const std::string& folder) {
  const auto scan = BareEntryPoint<TScanForDeletedFiles>("NWScanForDeletedFiles");
  const double idleMb = WorkingSetMegabytes();
  const double start = Seconds();
  TBareFolder bare;
  if (!scan || !bare.Open(folder)) return 1;
  uint32_t iteration = 0xFFFFFFFF;
  uint32_t volume = 0;
  uint32_t dirBase = 0;
  TNWDeletedRecordBytes record{};
  long entries = 0;
  while (scan(bare.Connection(), bare.Handle(), &iteration, &volume, &dirBase, record.data()) == 0) ++entries;
  Report("bare", entries, Seconds() - start, 0, idleMb);
  return 0;
}

int ProgramListing(const std::string& folder, const std::string& mode) {
  CreateForms();
  ChooseView(mode);
  if (!SelectInTree(folder)) return 1;
  PaintPending();
  const double idleMb = WorkingSetMegabytes();

  const long callsBefore = TScanCountingModules::ScanCalls();
  TStallMeter stalls;
  const double start = Seconds();
  ListDeletedFiles(folder);
  const double seconds = Seconds() - start;
  // Until the window answers again, the rows in view painted.
  stalls.CoverUntil(start + seconds);
  const long rows = FMain->ListDel->ItemCount();
  Application.DestroyComponents();
  if (TScanCountingModules::ScanCalls() - callsBefore == 0) {
    std::fprintf(stderr, "listing_bench: the listing made no scan call\n");
    return 1;
  }
  Report(mode.c_str(), rows, seconds, stalls.LongestMs(), idleMb);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TScanCountingModules modules;
  SetClientModules(&modules);
  if (__argc != 3) {
    std::fprintf(stderr, "usage: listing_bench icons|list|details|bare|recover|recover-bare|purge|purge-bare|filter|sort|combo|tree FOLDER\n");
    return 2;
  }
  const std::string mode = __argv[1];
  const std::string folder = __argv[2];
  if (mode == "bare") return BareScan(folder);
  if (mode == "icons" || mode == "list" || mode == "details") return ProgramListing(folder, mode);
  if (mode == "recover") return ProgramSalvage(folder, TSalvage::Recover);
  if (mode == "recover-bare") return BareSalvage(folder, TSalvage::Recover);
  if (mode == "filter") return FilterTimings(folder);
  if (mode == "purge") return ProgramSalvage(folder, TSalvage::Purge);
  if (mode == "purge-bare") return BareSalvage(folder, TSalvage::Purge);
  if (mode == "tree") return TreeResync(folder);
  if (mode == "sort") return SortTimings(folder);
  if (mode == "combo") return ComboRefills(folder);
  std::fprintf(stderr, "listing_bench: unknown case %s\n", mode.c_str());
  return 2;
}
