#include "URecovery.h"

#include <windows.h>

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

// The file's own entry when the listing left one, else the first deleted
// entry of its name.
bool Recover(const std::string& path, const TListedRow& file, const std::string& newName) {
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
  for (const TListedRow& file : ListedRows(true)) {
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
