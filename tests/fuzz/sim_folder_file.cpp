// A folder file of the development server can be torn by a crash, damaged
// on disk or written by another build. Whatever it holds, reading it takes
// whole checked transactions only, and what it takes writes out as a file
// that reads back the same.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FolderFile.h"
#include "FuzzCheck.h"
#include "StateText.h"

using namespace nwsim;
using retrove::fuzz::Require;

namespace {

// The entries as one transaction, so that two sets compare as text; with
// the folder's header, a whole file.
std::string EntriesText(const FolderEntries& entries, bool withHeader = false) {
  TransactionText text;
  if (withHeader) text.Header({7, entries.volume, entries.folder});
  for (const auto& [sequence, entry] : entries.bySequence) text.Add(entry);
  text.Commit();
  return text.Take();
}

bool Reads(std::string_view text, uint64_t offset, FolderEntries& entries, JournalRead& read) {
  try {
    read = ApplyTransactions(text, offset, entries);
    return true;
  } catch (const FormatError&) {
    return false;
  }
}

void CheckWhatWasTaken(std::string_view text, const FolderEntries& entries, const JournalRead& read) {
  Require(read.end <= text.size() && read.firstEnd <= read.end, "a read ends inside the file");
  Require(read.tornTail == (read.end < text.size()), "only bytes past the last transaction are a torn tail");
  Require(read.end == 0 || text[read.end - 1] == '\n', "a read ends at the end of a line");
  for (const auto& [sequence, entry] : entries.bySequence)
    Require(sequence == entry.sequence && sequence != 0 && !entry.name.empty(), "an entry read is whole");

  FolderEntries again;
  JournalRead reread;
  Require(Reads(text.substr(0, read.end), 0, again, reread) && !reread.tornTail && reread.end == read.end,
          "the part taken reads alone the same, without a tail");
  Require(EntriesText(again) == EntriesText(entries), "the torn tail changes nothing");

  // A file cut before its header names no folder to write.
  if (entries.volume.empty()) return;
  const std::string written = EntriesText(entries, true);
  FolderEntries fromWritten;
  JournalRead writtenRead;
  Require(Reads(written, 0, fromWritten, writtenRead) && writtenRead.end == written.size(),
          "what was read writes out as a file that reads");
  Require(EntriesText(fromWritten, true) == written, "a written file reads back the same");
}

}  // namespace

// The input is a folder file from its first byte; its tail is read again
// as a writer's append after the base.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FolderEntries entries;
  JournalRead read;
  if (!Reads(text, 0, entries, read)) return 0;
  CheckWhatWasTaken(text, entries, read);
  if (read.firstEnd == 0) return 0;
  FolderEntries grown;
  JournalRead base;
  Require(Reads(text.substr(0, read.firstEnd), 0, grown, base), "the base reads alone");
  JournalRead tail;
  if (Reads(text.substr(read.firstEnd), read.firstEnd, grown, tail))
    Require(tail.end == read.end && EntriesText(grown) == EntriesText(entries),
            "reading the appended transactions later gives what one read gives");
  return 0;
}
