#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Application.h"
#include "BenchProgram.h"
#include "Meters.h"
#include "UMain.h"
#include "UNsShellUtils.h"

namespace retrove::bench {

// The tree selects `folder` (a folder ten levels deep, say) and the combo
// box follows; then the combo box is filled anew as often as a user would
// change folders in a minute, and the median and slowest fill are printed.
int ComboRefills(const std::string& folder) {
  CreateForms();
  TNsShellCombo& combo = *FMain->ShellCombo1;
  ShellIdList list;
  if (FAILED(PathToIdList(folder, list))) {
    std::fprintf(stderr, "listing_bench: no folder %s\n", folder.c_str());
    return 1;
  }
  const double selectStart = Seconds();
  combo.CurrentFolder().SetIdList(list.Get());
  const double select = Seconds() - selectStart;
  std::vector<double> fills;
  for (int fill = 0; fill < 30; ++fill) {
    const double start = Seconds();
    combo.FillCombo();
    fills.push_back(Seconds() - start);
  }
  std::sort(fills.begin(), fills.end());
  const int entries = combo.ComboItemCount();
  TNsImageComboItem* selected = combo.SelectedItem();
  const bool chainShown = selected && selected->IndentLevel() > 2;
  // The forms go while the client modules they use still exist.
  Application.DestroyComponents();
  std::printf("case=combo entries=%d select_ms=%.1f median_fill_ms=%.1f slowest_fill_ms=%.1f\n", entries,
              select * 1000, fills[fills.size() / 2] * 1000, fills.back() * 1000);
  if (!chainShown) std::fprintf(stderr, "listing_bench: the combo box does not show the folder\n");
  return chainShown ? 0 : 1;
}

}  // namespace retrove::bench
