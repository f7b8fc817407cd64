#include <windows.h>

#include <cstdio>

#include "Application.h"
#include "BenchProgram.h"
#include "Meters.h"
#include "UMain.h"

namespace retrove::bench {

namespace {

struct TSortCase {
  int Column;
  const char* Name;
};

constexpr TSortCase kSortCases[] = {{0, "name"}, {1, "size"}, {2, "deleted"}};

void TimeSort(TCustomSortListView& list, const TSortCase& sort, bool ascending) {
  Application.ProcessMessages();
  TStallMeter stalls;
  const double start = Seconds();
  list.SortByColumn(sort.Column, ascending);
  const double seconds = Seconds() - start;
  stalls.CoverUntil(start + seconds);
  std::printf("case=sort column=%s order=%s entries=%d wall_s=%.3f longest_stall_ms=%.0f\n", sort.Name,
              ascending ? "ascending" : "descending", list.ItemCount(), seconds, stalls.LongestMs());
}

}  // namespace

int SortTimings(const std::string& folder) {
  CreateForms();
  ChooseView("details");
  if (!SelectInTree(folder)) return 1;
  ListDeletedFiles(folder);
  TCustomSortListView& list = *FMain->ListDel;
  if (list.ItemCount() == 0) {
    std::fprintf(stderr, "listing_bench: %s listed no rows to sort\n", folder.c_str());
    return 1;
  }
  for (const TSortCase& sort : kSortCases) {
    TimeSort(list, sort, true);
    TimeSort(list, sort, false);
  }
  Application.DestroyComponents();
  return 0;
}

}  // namespace retrove::bench
