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

// Stores a call's result in NWServerResult and, when it failed, in
// NWServerError.
void RecordNWServerResult(NWCCODE result);

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

// How a listing ended: the folder is not on a NetWare volume (the client
// does not take its path), the client failed, the caller stopped the scan,
// or the server had no more entries.
enum class TListingOutcome { NotNetWare, Failed, Stopped, Complete };

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

  TListingOutcome Outcome() const { return FOutcome; }
  void SetOutcome(TListingOutcome outcome) { FOutcome = outcome; }

private:
  TListingOutcome FOutcome = TListingOutcome::Failed;
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

// Purges exactly this listed entry for good, on the connection and
// directory handle of the listing that found it. False when the server
// refuses (0x8985 without the Erase right in the folder), the entry is
// gone, or the client has no purge call.
bool PurgeDeletedEntry(const TNWDeletedFileList& list, const TNWDeletedEntry& entry);
// Whether the loaded client can purge at all.
bool PurgeAvailable();

// What the server says about itself. Only the version text is shown; the
// extended values are copied as the server's environment record has them.
struct TNWServerInfo {
  std::string FileServerName;
  uint32_t Extended0 = 0;
  uint8_t Zero8 = 0;
  uint8_t Extended24 = 0;
  uint32_t Zero12 = 0;
  uint32_t Zero16 = 0;
  uint32_t Extended140 = 0;
  uint32_t Extended144 = 0;
  std::string VersionText;  // "4.11"
  uint16_t MaxConnections = 0;
  uint16_t ConnectionsInUse = 0;
  uint16_t PeakConnections = 0;
  uint16_t VolumeCount = 0;
  uint8_t SFTLevel = 0;
  uint8_t TTSLevel = 0;
};

// The last server information the component asked for.
extern TNWServerInfo ServerInfoCache;

// Fills `info` from the server (a connection of 0 means the primary one);
// false, `info` untouched, when the basic call fails, and false but filled
// when the extended one that servers above version 3 have fails.
bool GetServerInfo(NWCONN_HANDLE connection, TNWServerInfo& info);

// Sets the server's clock. Refused, with nothing sent, for a year the
// server's one-byte year cannot hold.
bool SetServerDateTime(NWCONN_HANDLE connection, TDateTime value);

// A connection to the named server (bindery name), opened by name or found
// among the open ones; 0 when there is none. It is never closed.
NWCONN_HANDLE OpenServerConnection(const std::string& serverName);

// A packed date and time; 1 January 1980 when the date is impossible,
// midnight when the time is.
TDateTime UnpackNWDateTime(uint32_t packed);

// Decodes a record's fields; object names are looked up on `connection`
// through `names`, which keeps the names already found.
void FillDeletedFileInfo(const TNWDeletedRecord& record, NWCONN_HANDLE connection,
                         std::map<uint32_t, std::string>& names, TNWDeletedFileInfo& info);

}  // namespace retrove
