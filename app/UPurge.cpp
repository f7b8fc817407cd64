#include "UPurge.h"

#include <vector>

#include "Application.h"
#include "BusyScope.h"
#include "PurgeText.h"
#include "UMain.h"
#include "URecovery.h"

namespace retrove {

bool PurgeBusy = false;

namespace {

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
  const std::vector<TListedRow> files = ListedRows(!allRows);
  if (files.empty()) return;
  TPurgeScope busy;
  const int count = static_cast<int>(files.size());
  if (!Application.Confirm(PurgeQuestion(count, files.front().Name, allRows, FMain->ListedFolder))) return;
  PurgeRows(files);
}

void PurgeRows(const std::vector<TListedRow>& rows) {
  TBusyScope hourglass;
  for (const TListedRow& row : rows)
    if (!row.Entry || !PurgeDeletedEntry(*FMain->ListedEntries, *row.Entry))
      Application.ShowMessage("Unable to purge " + row.Name);
}

}  // namespace retrove
