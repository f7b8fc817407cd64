#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "State.h"

namespace nwsim {

// One folder's deleted entries on disk ("deleted/<hash of the folder key>"):
// a journal of transactions, each a run of lines closed by a commit line
// that gives the run's length and CRC-32:
//
//   nwsim-deleted  1  FILE-ID  VOLUME  FOLDER      (the header, in the first transaction)
//   +  SEQUENCE  NAME  ...                          an entry added
//   -  SEQUENCE                                     an entry removed
//   .  LENGTH  CRC                                  the transaction before it is whole
//
// The first transaction is the file's base (every entry at the time the
// file was written); a writer appends a transaction per change and now and
// then writes the folder anew (a new FILE-ID) and renames it over. A
// transaction cut short, or one whose check fails, ends what a reader takes:
// bytes after the last whole transaction are a torn tail.
inline constexpr int kFolderFileFormat = 1;

struct FolderFileHeader {
  uint64_t fileId = 0;  // differs for every file written anew
  std::string volume;
  std::string folder;
};

// The transactions of a folder file as text.
class TransactionText {
public:
  // Only the first transaction of a file has one.
  void Header(const FolderFileHeader& header);
  void Add(const DeletedEntry& entry);
  void Remove(uint32_t sequence);
  void Reserve(size_t entries) { FText.reserve(FText.size() + 256 + entries * 96); }
  bool Empty() const { return FText.size() == FStart; }
  // Closes the transaction begun after the last commit.
  void Commit();
  const std::string& Text() const { return FText; }
  std::string Take() { return std::move(FText); }

private:
  std::string FText;
  size_t FStart = 0;
};

// What reading a folder file's transactions found.
struct JournalRead {
  uint64_t end = 0;        // file offset after the last whole transaction taken
  uint64_t firstEnd = 0;   // after the first transaction (the base); 0 unless it was read
  bool tornTail = false;   // bytes after `end` that are no whole transaction
};

// The header from the file's first line (without its newline); nothing when
// it is not one.
std::optional<FolderFileHeader> ParseFolderHeader(std::string_view line);

// Applies each whole transaction of `text` (the file's bytes from `offset`;
// at 0 the header comes first and names the folder of `entries`) to
// `entries`, one transaction at a time; stops at the first that is cut short
// or fails its check. Throws FormatError for a transaction that checks but
// does not fit the entries (a damaged file).
JournalRead ApplyTransactions(std::string_view text, uint64_t offset, FolderEntries& entries);

uint32_t Crc32(std::string_view bytes);

}  // namespace nwsim
