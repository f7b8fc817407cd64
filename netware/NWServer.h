#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "NwDeletedRecord.h"
#include "Strings.h"
#include "nwlib.h"

namespace retrove {

using NWDIR_HANDLE = uint8_t;

extern int32_t NWServerResult;
extern int32_t NWServerError;

class TNWServer : public TObject {
public:
  std::string ErrorText() const;
};

// Longest texts the client's fixed buffers take (without the NUL). Longer
// ones make an operation fail instead of being cut into another name.
inline constexpr size_t kMaxDirPath = 255;
inline constexpr size_t kMaxFileName = 127;

// One deleted entry found by a scan: what a recovery of exactly this entry
// needs, and the entry's own record.
class TNWDeletedEntry : public TObject {
public:
  uint32_t Reserved = 0;
  NWDIR_HANDLE DirHandle = 0;
  uint32_t IterHandle = 0;
  uint32_t VolNumber = 0;
  uint32_t DirBase = 0;
  char EntryName[kMaxFileName + 1] = {};
  TNWDeletedRecord Record;
};

// The deleted entries of one folder, in the server's order; each item's
// object is its TNWDeletedEntry. The list owns the entries and the
// temporary directory handle of its scan, and releases both when it goes.
class TNWDeletedFileList : public TStringList {
public:
  TNWDeletedFileList();
  ~TNWDeletedFileList() override;

  TNWDeletedEntry* Entry(int index) const;

  // The details of the item's own entry (not of the first entry of its
  // name). False when the item carries no entry.
  bool Details(int index, TNWDeletedFileInfo& info);

  NWCONN_HANDLE Connection() const { return FConnection; }
  void AdoptDirectoryHandle(NWCONN_HANDLE connection, NWDIR_HANDLE handle);

private:
  NWCONN_HANDLE FConnection = 0;
  NWDIR_HANDLE FDirHandle = 0;
  std::map<uint32_t, std::string> FObjectNames;
};

// Told of each entry as soon as it joins the list (with the list and the
// entry's index), so that a caller can show it and stay responsive while a
// long scan runs; returning false ends the scan there.
using TDeletedEntryFound = std::function<bool(TNWDeletedFileList& list, int index)>;

// The deleted entries of `folderPath` (normally ending in "\"); never null,
// empty when anything failed. A connection of 0 means the primary one.
std::unique_ptr<TNWDeletedFileList> GetDeletedFileList(NWCONN_HANDLE connection, const std::string& folderPath,
                                                       const TDeletedEntryFound& found = nullptr);

// The details of the first deleted entry named like the file part of
// `fullPath`; false (record untouched) when there is none.
bool GetDeletedFileInfo(const std::string& fullPath, TNWDeletedFileInfo& info);

// Brings back the first deleted entry named like the file part of
// `deletedPath`, under the file part of `newPath`.
bool RecoverDeletedFileAs(NWCONN_HANDLE connection, const std::string& deletedPath, const std::string& newPath);

// Brings back exactly this listed entry under `newName` (a bare name), on
// the connection and directory handle of the listing that found it.
bool RecoverDeletedEntryAs(const TNWDeletedFileList& list, const TNWDeletedEntry& entry, const std::string& newName);

// A packed date and time; 1 January 1980 when the date is impossible,
// midnight when the time is.
TDateTime UnpackNWDateTime(uint32_t packed);

// Decodes a record's fields; object names are looked up on `connection`
// through `names`, which keeps the names already found.
void FillDeletedFileInfo(const TNWDeletedRecord& record, NWCONN_HANDLE connection,
                         std::map<uint32_t, std::string>& names, TNWDeletedFileInfo& info);

}  // namespace retrove
