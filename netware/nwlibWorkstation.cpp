// The workstation's side: its network drives and the client's error mode.
#include "nwlib.h"

namespace retrove {

namespace {

using TNWGetFirstDrive = NWCCODE(NWAPI*)(uint16_t* firstDrive);
using TNWGetDriveStatus = NWCCODE(NWAPI*)(uint16_t driveNumber, uint16_t pathFormat, uint16_t* status,
                                          NWCONN_HANDLE* conn, char* rootPath, char* relativePath, char* fullPath);
using TNWSetNetWareErrorMode = NWCCODE(NWAPI*)(uint8_t errorMode, uint8_t* previousMode);

TEntrySlot<TNWGetFirstDrive> GetFirstDriveSlot("NWGetFirstDrive");
TEntrySlot<TNWGetDriveStatus> GetDriveStatusSlot("NWGetDriveStatus");
TEntrySlot<TNWSetNetWareErrorMode> SetErrorModeSlot("NWSetNetWareErrorMode");

constexpr int kLastDrive = 26;
constexpr size_t kDrivePathBuffer = 256;

char DriveLetter(int driveNumber) {
  return static_cast<char>('A' - 1 + driveNumber);
}

}  // namespace

char GetFirstNetDrive() {
  const TNWGetFirstDrive getFirst = GetFirstDriveSlot.Resolve(CallsLibHandle);
  uint16_t drive = 0;
  if (!getFirst || getFirst(&drive) != 0 || drive < 1 || drive > kLastDrive) return '\0';
  return DriveLetter(drive);
}

char GetNextNetDrive() {
  const TNWGetDriveStatus getStatus = GetDriveStatusSlot.Resolve(CallsLibHandle);
  if (!getStatus) return '\0';
  const char first = GetFirstNetDrive();
  if (first == '\0') return '\0';
  for (int drive = first - 'A' + 1; drive <= kLastDrive; ++drive) {
    uint16_t status = 0;
    NWCONN_HANDLE connection = 0;
    char root[kDrivePathBuffer] = {};
    char relative[kDrivePathBuffer] = {};
    char full[kDrivePathBuffer] = {};
    if (getStatus(static_cast<uint16_t>(drive), 0, &status, &connection, root, relative, full) == 0 && status == 0)
      return DriveLetter(drive);
  }
  return '\0';
}

uint8_t SetErrorMode(uint8_t mode) {
  const TNWSetNetWareErrorMode setMode = SetErrorModeSlot.Resolve(CallsLibHandle);
  if (!setMode) return 0;
  uint8_t previous = 0;
  RecordNWLibResult(setMode(mode, &previous));
  return NWLibResult == 0 ? previous : 0;
}

}  // namespace retrove
