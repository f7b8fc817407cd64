#include <windows.h>

#include <memory>
#include <unordered_set>

#include "Application.h"
#include "DetailTexts.h"
#include "ListingPump.h"
#include "Nwtools.h"
#include "UPurge.h"
#include "URecovery.h"
#include "UMain.h"

namespace retrove {

bool ListingBusy = false;
bool StopRequested = false;
bool AllListed = false;
bool AllDetailed = false;

namespace {

const TNameFilter& Filter() { return FMain->ListFilter->Filter(); }

// The count in the status bar and, while no row shows, why.
void ShowListState() {
  const TNWDeletedFileList* entries = FMain->ListedEntries.get();
  const int shown = FMain->ListDel->ItemCount();
  FMain->StatusBar->SetPanelText(0, ListCount(shown, entries ? entries->Count() : 0, Filter()));
  FMain->ListDel->SetEmptyText(EmptyListText(entries, shown, Filter()));
}

// Clears the busy state however the listing ends.
class TListingScope {
public:
  TListingScope() {
    ListingBusy = true;
    StopRequested = false;
    FMain->BStop->SetEnabled(true);
  }
  ~TListingScope() {
    FMain->BStop->SetEnabled(false);
    ShowListState();
    ListingBusy = false;
    FMain->UpdatePurgeCommands();
    FMain->ListingEnded();
  }
  TListingScope(const TListingScope&) = delete;
  TListingScope& operator=(const TListingScope&) = delete;
};

}  // namespace

std::vector<TListedRow> ListedRows(bool selectedOnly) {
  TCustomListView& list = *FMain->ListDel;
  std::unordered_set<const TNWDeletedEntry*> listed;
  if (const TNWDeletedFileList* entries = FMain->ListedEntries.get())
    for (int index = 0; index < entries->Count(); ++index) listed.insert(entries->Entry(index));
  std::vector<TListedRow> rows;
  for (int row = 0, count = list.ItemCount(); row < count; ++row) {
    if (selectedOnly && !list.Selected(row)) continue;
    const auto* entry = reinterpret_cast<const TNWDeletedEntry*>(list.ItemData(row));
    rows.push_back({list.ItemCaption(row), listed.count(entry) ? entry : nullptr});
  }
  return rows;
}

std::string ListingPath(const std::string& path) {
  std::string trimmed = TrimBlanks(path);
  if (!trimmed.empty() && trimmed.back() != '\\') trimmed += '\\';
  return trimmed;
}

// Each entry is shown as soon as the scan finds it, and window messages are
// handled between scan calls, so that Stop works and the first rows appear
// at once even in a folder of a hundred thousand entries.
void ListDeletedFiles(std::string path) {
  path = ListingPath(path);
  if (ListingBusy || RecoveryBusy || PurgeBusy) return;
  TListingScope busy;
  TListViewEx& list = *FMain->ListDel;
  FMain->LRightView->SetCaption(ListHeader(path, Filter()));
  list.Clear();
  list.SetEmptyText({});
  FMain->ListedEntries.reset();
  FMain->ListedFolder = path;
  AllDetailed = false;
  AllListed = false;
  TNWDeletedFileInfo info;
  TDetailTexts details(FormatSettings());
  bool stopped = false;
  bool detailed = false;
  TListingPump messages(list);
  const auto showEntry = [&](TNWDeletedFileList& entries, int index) {
    messages.Pump();
    if (StopRequested || Application.Terminated()) {
      stopped = true;
      return false;
    }
    const std::string& name = entries.Strings(index);
    detailed = FMain->BDetails->Down();
    // A hidden row's details are read too: the names they need are then
    // known, and another pattern shows its rows without asking the server.
    const bool hasDetails = detailed && entries.Details(index, info);
    if (!Filter().Matches(name)) return true;
    const int row = list.AddItem(name, FMain->IconIndexOf(name), reinterpret_cast<LPARAM>(entries.Entry(index)));
    if (hasDetails) list.SetSubItems(row, details.Of(info));
    return true;
  };
  FMain->ListedEntries = GetDeletedFileList(GetPrimaryConnHandle(), path, showEntry);
  // A list the user sorted stays sorted the same way after a new listing.
  list.RepeatLastSort();
  if (stopped || FMain->ListedEntries->Count() == 0) return;
  AllListed = true;
  AllDetailed = detailed;
}

void ShowFilteredRows() {
  if (ListingBusy || RecoveryBusy || PurgeBusy) return;
  TFMain& form = *FMain;
  TListViewEx& list = *form.ListDel;
  form.LRightView->SetCaption(ListHeader(form.ListedFolder, Filter()));
  list.Clear();
  list.SetEmptyText({});
  if (TNWDeletedFileList* entries = form.ListedEntries.get()) {
    TNWDeletedFileInfo info;
    TDetailTexts details(FormatSettings());
    list.BeginAdding();
    for (int index = 0; index < entries->Count(); ++index) {
      const std::string& name = entries->Strings(index);
      if (!Filter().Matches(name)) continue;
      const int row = list.AddItem(name, form.IconIndexOf(name), reinterpret_cast<LPARAM>(entries->Entry(index)));
      if (AllDetailed && entries->Details(index, info)) list.SetSubItems(row, details.Of(info));
    }
    list.EndAdding();
    list.RepeatLastSort();
  }
  ShowListState();
  form.UpdatePurgeCommands();
}

void UpdateViewStyle() {
  TFMain& form = *FMain;
  if (!AllListed && !ListingBusy) ListDeletedFiles(form.TreeDel->SelectedPath());
  if (form.BLargeIcons->Down()) {
    form.ListDel->SetViewStyle(vsIcon);
    form.MLargeIcons->SetChecked(true);
  }
  if (form.BSmallIcons->Down()) {
    form.ListDel->SetViewStyle(vsSmallIcon);
    form.MSmallIcons->SetChecked(true);
  }
  if (form.BList->Down()) {
    form.ListDel->SetViewStyle(vsList);
    form.MList->SetChecked(true);
  }
  if (form.BDetails->Down()) {
    form.ListDel->SetViewStyle(vsReport);
    form.MDetails->SetChecked(true);
    if (!AllDetailed && !ListingBusy) ListDeletedFiles(form.TreeDel->SelectedPath());
  }
  InvalidateRect(form.ListDel->Handle(), nullptr, TRUE);
}

}  // namespace retrove
