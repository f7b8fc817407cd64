// Times one listing of a folder of deleted entries, as the program does it
// (rows and icons, and in Details view the eleven detail columns), or the
// bare scan loop that no listing can beat; or the recovery of every tenth
// row of a listed folder; or sorts of the listed folder by a column; or the
// folder combo box's fills for a folder. One case per process, so that the
// peak memory is the case's own.
//   listing_bench icons|list|details|bare|recover|sort|combo FOLDER     (a folder such as F:\BENCH10K)
// Prints one line of key=value pairs (one per sort).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Application.h"
#include "BenchProgram.h"
#include "NWServer.h"
#include "ScanCounter.h"
#include "Meters.h"
#include "UActionMessage.h"
#include "URecovery.h"
#include "UMain.h"

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

}  // namespace retrove::bench

namespace {

using TParseNetWarePath = NWCCODE(NWAPI*)(const char*, NWCONN_HANDLE*, NWDIR_HANDLE*, char*);
using TAllocTemporaryDirectoryHandle = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, const char*, NWDIR_HANDLE*,
                                                       uint8_t*);
using TScanForDeletedFiles = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE, uint32_t*, uint32_t*, uint32_t*, void*);
using TDeallocateDirectoryHandle = NWCCODE(NWAPI*)(NWCONN_HANDLE, NWDIR_HANDLE);

// `idleMb` is the working set before the case began.
void Report(const char* mode, long entries, double seconds, double stallMs, double idleMb) {
  std::printf("case=%s entries=%ld wall_s=%.3f scan_calls=%ld us_per_entry=%.1f peak_mb=%.1f idle_mb=%.1f "
              "longest_stall_ms=%.0f\n",
              mode, entries, seconds, TScanCountingModules::ScanCalls(),
              entries ? seconds * 1e6 / double(entries) : 0.0, PeakMegabytes(), idleMb, stallMs);
}

int BareScan(const std::string& folder) {
  const TClientModuleHandle calls = LoadClientModule("CALWIN32.DLL");
  const auto parse = reinterpret_cast<TParseNetWarePath>(FindClientEntryPoint(calls, "NWParseNetWarePath"));
  const auto alloc = reinterpret_cast<TAllocTemporaryDirectoryHandle>(
      FindClientEntryPoint(calls, "NWAllocTemporaryDirectoryHandle"));
  const auto scan = reinterpret_cast<TScanForDeletedFiles>(FindClientEntryPoint(calls, "NWScanForDeletedFiles"));
  const auto dealloc = reinterpret_cast<TDeallocateDirectoryHandle>(
      FindClientEntryPoint(calls, "NWDeallocateDirectoryHandle"));
  if (!parse || !alloc || !scan || !dealloc) {
    std::fprintf(stderr, "listing_bench: the client modules are not on the path\n");
    return 1;
  }
  std::string path = folder;
  for (char& c : path) c = c == '\\' ? '/' : c;
  const double idleMb = WorkingSetMegabytes();
  const double start = Seconds();
  NWCONN_HANDLE connection = 0;
  NWDIR_HANDLE parsed = 0;
  char serverPath[256] = {};
  NWDIR_HANDLE handle = 0;
  uint8_t rights = 0;
  if (parse(path.c_str(), &connection, &parsed, serverPath) != 0 ||
      alloc(connection, 0, serverPath, &handle, &rights) != 0) {
    std::fprintf(stderr, "listing_bench: %s is not a folder on the server\n", folder.c_str());
    return 1;
  }
  uint32_t iteration = 0xFFFFFFFF;
  uint32_t volume = 0;
  uint32_t dirBase = 0;
  TNWDeletedRecordBytes record{};
  long entries = 0;
  while (scan(connection, handle, &iteration, &volume, &dirBase, record.data()) == 0) ++entries;
  dealloc(connection, handle);
  Report("bare", entries, Seconds() - start, 0, idleMb);
  return 0;
}

int ProgramListing(const std::string& folder, const std::string& mode) {
  CreateForms();
  ChooseView(mode);
  const double idleMb = WorkingSetMegabytes();

  const long callsBefore = TScanCountingModules::ScanCalls();
  TStallMeter stalls;
  const double start = Seconds();
  ListDeletedFiles(folder);
  const double seconds = Seconds() - start;
  const long rows = FMain->ListDel->ItemCount();
  Application.DestroyComponents();
  if (TScanCountingModules::ScanCalls() - callsBefore == 0) {
    std::fprintf(stderr, "listing_bench: the listing made no scan call\n");
    return 1;
  }
  Report(mode.c_str(), rows, seconds, stalls.LongestMs(), idleMb);
  return 0;
}

// Recovers every tenth row of the listed folder, as the user's selection.
int Recovery(const std::string& folder) {
  CreateForms();
  ListDeletedFiles(folder);
  TCustomListView& list = *FMain->ListDel;
  const int rows = list.ItemCount();
  int selected = 0;
  for (int row = 0; row < rows; row += 10, ++selected) list.SetSelected(row, true);
  const long callsBefore = TScanCountingModules::ScanCalls();
  const double start = Seconds();
  RecoverSelectedFiles(folder);
  const double seconds = Seconds() - start;
  const long recoveryCalls = TScanCountingModules::ScanCalls() - callsBefore;
  ListDeletedFiles(folder);
  const int left = list.ItemCount();
  Application.DestroyComponents();
  std::printf("case=recover selected=%d of=%d wall_s=%.3f scan_calls=%ld ms_per_file=%.2f rows_left=%d\n", selected,
              rows, seconds, recoveryCalls, selected ? seconds * 1000.0 / selected : 0.0, left);
  return left == rows - selected ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TScanCountingModules modules;
  SetClientModules(&modules);
  if (__argc != 3) {
    std::fprintf(stderr, "usage: listing_bench icons|list|details|bare|recover|sort|combo FOLDER\n");
    return 2;
  }
  const std::string mode = __argv[1];
  const std::string folder = __argv[2];
  if (mode == "bare") return BareScan(folder);
  if (mode == "icons" || mode == "list" || mode == "details") return ProgramListing(folder, mode);
  if (mode == "recover") return Recovery(folder);
  if (mode == "sort") return SortTimings(folder);
  if (mode == "combo") return ComboRefills(folder);
  std::fprintf(stderr, "listing_bench: unknown case %s\n", mode.c_str());
  return 2;
}
