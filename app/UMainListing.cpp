#include <windows.h>

#include <memory>

#include "Application.h"
#include "AttributeText.h"
#include "Nwtools.h"
#include "URecovery.h"
#include "UMain.h"

namespace retrove {

bool ListingBusy = false;
bool StopRequested = false;
bool AllListed = false;
bool AllDetailed = false;

namespace {

void AddDetails(TCustomListView& list, int row, const TNWDeletedFileInfo& info) {
  const std::string texts[] = {
      std::to_string(info.FileSize),     DateTimeText(info.DeletedDateTime), info.Deletor,
      info.Owner,                        DateTimeText(info.LastAccessDate), DateTimeText(info.CreationDateTime),
      AttributeString(info.Attributes),  DateTimeText(info.ArchiveDateTime), info.Archiver,
      DateTimeText(info.UpdateDateTime), info.Updater,
  };
  for (int column = 0; column < 11; ++column) list.SetSubItem(row, column, texts[column]);
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
    FMain->StatusBar->SetPanelText(0, std::to_string(FMain->ListDel->ItemCount()) + " file(s)");
    ListingBusy = false;
  }
  TListingScope(const TListingScope&) = delete;
  TListingScope& operator=(const TListingScope&) = delete;
};

// Repainting the list after every row costs far more than a scan call, so
// the rows are added with redrawing off, and a few dozen times a second the
// list is redrawn and the pending messages handled: the rows still appear as
// they come and Stop answers at once.
class TListingPump {
public:
  explicit TListingPump(TCustomListView& list) : FList(list) { FList.BeginUpdate(); }
  ~TListingPump() { FList.EndUpdate(); }
  TListingPump(const TListingPump&) = delete;
  TListingPump& operator=(const TListingPump&) = delete;

  void Pump() {
    if (GetTickCount() - FLast < kIntervalMs) return;
    FList.EndUpdate();
    Application.ProcessMessages();
    FList.BeginUpdate();
    FLast = GetTickCount();
  }

private:
  static constexpr DWORD kIntervalMs = 40;
  TCustomListView& FList;
  DWORD FLast = GetTickCount() - kIntervalMs;
};

}  // namespace

// Each entry is shown as soon as the scan finds it, and window messages are
// handled between scan calls, so that Stop works and the first rows appear
// at once even in a folder of a hundred thousand entries.
void ListDeletedFiles(std::string path) {
  path = TrimBlanks(path);
  if (!path.empty() && path.back() != '\\') path += '\\';
  if (ListingBusy || RecoveryBusy) return;
  TListingScope busy;
  TListViewEx& list = *FMain->ListDel;
  FMain->LRightView->SetCaption("Deleted Contents of '" + path + "'");
  list.Clear();
  FMain->ListedEntries.reset();
  FMain->ListedFolder = path;
  AllDetailed = false;
  AllListed = false;
  TNWDeletedFileInfo info;
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
    const int row = list.AddItem(name, FMain->IconIndexOf(name), reinterpret_cast<LPARAM>(entries.Entry(index)));
    detailed = FMain->BDetails->Down();
    if (detailed && entries.Details(index, info)) AddDetails(list, row, info);
    return true;
  };
  FMain->ListedEntries = GetDeletedFileList(GetPrimaryConnHandle(), path, showEntry);
  // A list the user sorted stays sorted the same way after a new listing.
  list.RepeatLastSort();
  if (stopped || FMain->ListedEntries->Count() == 0) return;
  AllListed = true;
  AllDetailed = detailed;
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
