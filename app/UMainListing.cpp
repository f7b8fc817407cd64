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
  for (int column = 0; column < 11; ++column) list.SetSubItem(row, column + 1, texts[column]);
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

}  // namespace

void ListDeletedFiles(std::string path) {
  path = TrimBlanks(path);
  if (!path.empty() && path.back() != '\\') path += '\\';
  if (ListingBusy || RecoveryBusy) return;
  TListingScope busy;
  TCustomListView& list = *FMain->ListDel;
  FMain->LRightView->SetCaption("Deleted Contents of '" + path + "'");
  list.Clear();
  FMain->ListedEntries = GetDeletedFileList(GetPrimaryConnHandle(), path);
  TNWDeletedFileList* entries = FMain->ListedEntries.get();
  AllDetailed = false;
  AllListed = false;
  TNWDeletedFileInfo info;
  const int count = entries->Count();
  for (int i = 0; i < count; ++i) {
    Application.ProcessMessages();
    if (StopRequested) break;
    const std::string& name = entries->Strings(i);
    const int row = list.AddItem(name, FMain->IconIndexOf(name), reinterpret_cast<LPARAM>(entries->Entry(i)));
    const bool last = i == count - 1;
    if (FMain->BDetails->Down()) {
      if (entries->Details(i, info)) AddDetails(list, row, info);
      if (last) AllDetailed = true;
    }
    if (last) AllListed = true;
  }
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
