#include "UPurge.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "Application.h"
#include "BusyScope.h"
#include "PurgeText.h"
#include "UMain.h"
#include "URecovery.h"

namespace retrove {

bool PurgeBusy = false;

namespace {

struct TPurgedFile {
  std::string Name;
  const TNWDeletedEntry* Entry;  // null when the row has no entry of its own
};

// Taken before the question: the files named there are the ones purged,
// whatever a failure box lets the user do to the selection meanwhile.
std::vector<TPurgedFile> FilesToPurge(bool allRows) {
  TCustomListView& list = *FMain->ListDel;
  std::unordered_set<const TNWDeletedEntry*> listed;
  if (const TNWDeletedFileList* entries = FMain->ListedEntries.get())
    for (int index = 0; index < entries->Count(); ++index) listed.insert(entries->Entry(index));
  std::vector<TPurgedFile> files;
  for (int row = 0, count = list.ItemCount(); row < count; ++row) {
    if (!allRows && !list.Selected(row)) continue;
    const auto* entry = reinterpret_cast<const TNWDeletedEntry*>(list.ItemData(row));
    files.push_back({list.ItemCaption(row), listed.count(entry) ? entry : nullptr});
  }
  return files;
}

class TPurgeScope {
public:
  TPurgeScope() { PurgeBusy = true; }
  ~TPurgeScope() { PurgeBusy = false; }
  TPurgeScope(const TPurgeScope&) = delete;
  TPurgeScope& operator=(const TPurgeScope&) = delete;
};

}  // namespace

void PurgeListedFiles(bool allRows) {
  if (ListingBusy || RecoveryBusy || PurgeBusy || !FMain->ListedEntries || !PurgeAvailable()) return;
  const std::vector<TPurgedFile> files = FilesToPurge(allRows);
  if (files.empty()) return;
  TPurgeScope busy;
  const int count = static_cast<int>(files.size());
  if (!Application.Confirm(PurgeQuestion(count, files.front().Name, allRows, FMain->ListedFolder))) return;
  TBusyScope hourglass;
  for (const TPurgedFile& file : files)
    if (!file.Entry || !PurgeDeletedEntry(*FMain->ListedEntries, *file.Entry))
      Application.ShowMessage("Unable to purge " + file.Name);
}

}  // namespace retrove
