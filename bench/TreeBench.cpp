#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Application.h"
#include "BenchProgram.h"
#include "Meters.h"
#include "UMain.h"

namespace retrove::bench {

namespace {

constexpr int kResyncs = 5;

int ChildCount(TNsShellTree& tree, HTREEITEM node) {
  int count = 0;
  for (HTREEITEM child = tree.FirstChild(node); child; child = tree.NextSibling(child)) ++count;
  return count;
}

}  // namespace

// Resync is what the tree does on every change notification: with nothing
// changed it should cost little, however large the expanded folder.
int TreeResync(const std::string& folder) {
  CreateForms();
  TNsShellTree& tree = *FMain->TreeDel;
  if (!SelectInTree(folder)) return 1;
  HTREEITEM node = tree.Selected();
  const double expandStart = Seconds();
  tree.Expand(node);
  const double expand = Seconds() - expandStart;
  const int children = ChildCount(tree, node);
  std::vector<double> resyncs;
  for (int run = 0; run < kResyncs; ++run) {
    const double start = Seconds();
    tree.Resync();
    resyncs.push_back(Seconds() - start);
  }
  std::sort(resyncs.begin(), resyncs.end());
  const bool kept = tree.Selected() == node && ChildCount(tree, node) == children;
  Application.DestroyComponents();
  std::printf("case=tree subfolders=%d expand_ms=%.0f median_resync_ms=%.0f slowest_resync_ms=%.0f\n", children,
              expand * 1000, resyncs[resyncs.size() / 2] * 1000, resyncs.back() * 1000);
  if (!kept) std::fprintf(stderr, "listing_bench: the resync changed the tree\n");
  return kept && children > 0 ? 0 : 1;
}

}  // namespace retrove::bench
