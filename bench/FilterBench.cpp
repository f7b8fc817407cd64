#include <windows.h>

#include <cstdio>

#include "Application.h"
#include "BenchProgram.h"
#include "Meters.h"
#include "ScanCounter.h"
#include "UMain.h"

namespace retrove::bench {

int FilterTimings(const std::string& folder) {
  CreateForms();
  ChooseView("details");
  if (!SelectInTree(folder)) return 1;
  ListDeletedFiles(folder);
  const int listed = FMain->ListDel->ItemCount();
  if (listed == 0) {
    std::fprintf(stderr, "listing_bench: %s listed no rows to filter\n", folder.c_str());
    return 1;
  }
  for (const char* pattern : {"*1*", "*.NONE", "A*;*7?.*", ""}) {
    Application.ProcessMessages();
    const long callsBefore = TScanCountingModules::ScanCalls();
    const double start = Seconds();
    FMain->ListFilter->SetPattern(pattern);
    ShowFilteredRows();
    Application.ProcessMessages();
    const double seconds = Seconds() - start;
    std::printf("case=filter pattern=%s shown=%d of=%d wall_s=%.3f scan_calls=%ld\n", *pattern ? pattern : "(none)",
                FMain->ListDel->ItemCount(), listed, seconds, TScanCountingModules::ScanCalls() - callsBefore);
  }
  Application.DestroyComponents();
  return 0;
}

}  // namespace retrove::bench
