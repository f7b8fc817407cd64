#include "URecovery.h"

#include <windows.h>

#include <unordered_set>
#include <vector>

#include "Application.h"
#include "RecoveryName.h"
#include "UActionMessage.h"
#include "UMain.h"

namespace retrove {

bool RecoveryBusy = false;

namespace {

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A selected row as it was when the recovery started: its name and, when
// the listing left one, its own entry.
struct TSelectedFile {
  std::string Name;
  const TNWDeletedEntry* Entry;
};

// Taken once, before the first file: a failure box lets the user change the
// selection, and the files that come back must be the ones picked.
std::vector<TSelectedFile> SelectedFiles() {
  TCustomListView& list = *FMain->ListDel;
  std::unordered_set<const TNWDeletedEntry*> listed;
  if (const TNWDeletedFileList* entries = FMain->ListedEntries.get())
    for (int index = 0; index < entries->Count(); ++index) listed.insert(entries->Entry(index));
  std::vector<TSelectedFile> files;
  for (int row = 0, count = list.ItemCount(); row < count; ++row) {
    if (!list.Selected(row)) continue;
    const auto* entry = reinterpret_cast<const TNWDeletedEntry*>(list.ItemData(row));
    files.push_back({list.ItemCaption(row), listed.count(entry) ? entry : nullptr});
  }
  return files;
}

// The file's own entry when the listing left one, else the first deleted
// entry of its name.
bool Recover(const std::string& path, const TSelectedFile& file, const std::string& newName) {
  if (file.Entry) return RecoverDeletedEntryAs(*FMain->ListedEntries, *file.Entry, newName);
  return RecoverDeletedFileAs(GetPrimaryConnHandle(), path + file.Name, path + newName);
}

// Between files the windows repaint what needs it and messages sent by the
// system or other programs are answered, so a long recovery neither leaves
// stale paint nor looks hung. Input stays queued: the selection must not
// change while the recovery walks it.
void KeepWindowsAlive() {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_PAINT);
  RedrawWindow(FMain->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

class TRecoveryScope {
public:
  TRecoveryScope() { RecoveryBusy = true; }
  ~TRecoveryScope() {
    CloseActionMessage();
    RecoveryBusy = false;
  }
  TRecoveryScope(const TRecoveryScope&) = delete;
  TRecoveryScope& operator=(const TRecoveryScope&) = delete;
};

}  // namespace

void RecoverSelectedFiles(std::string path) {
  if (!path.empty() && path.back() != '\\') path += '\\';
  TRecoveryScope busy;
  for (const TSelectedFile& file : SelectedFiles()) {
    ShowActionMessage();
    const std::string& name = file.Name;
    const auto newName = RecoveryName(name, [&](const std::string& candidate) { return FileExists(path + candidate); });
    if (newName && Recover(path, file, *newName))
      SetActionMessage("Retroving " + name);
    else
      Application.ShowMessage("Unable to Retrove " + name);
    KeepWindowsAlive();
  }
}

}  // namespace retrove
