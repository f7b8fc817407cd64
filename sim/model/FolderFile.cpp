#include "FolderFile.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>

#include "StateText.h"
#include "Text.h"

namespace nwsim {

namespace {

constexpr std::string_view kMagic = "nwsim-deleted";
constexpr size_t kEntryFields = 18;  // "+" and the entry's 17

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

void AppendNumber(std::string& out, uint64_t value) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  out += '\t';
  out.append(digits, end);
}

template <class Number>
bool ReadNumber(std::string_view field, Number& value, int base = 10) {
  uint64_t wide = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), wide, base);
  if (ec != std::errc() || end != field.data() + field.size() || field.empty() ||
      wide > std::numeric_limits<Number>::max())
    return false;
  value = static_cast<Number>(wide);
  return true;
}

// Splits at tabs into at most `max` fields; gives the count, or max + 1
// when there are more.
size_t SplitLine(std::string_view line, std::string_view* fields, size_t max) {
  size_t count = 0;
  for (;;) {
    size_t tab = line.find('\t');
    if (count == max) return max + 1;
    fields[count++] = line.substr(0, tab);
    if (tab == std::string_view::npos) return count;
    line.remove_prefix(tab + 1);
  }
}

std::string Unescape(std::string_view field) {
  if (field.find('\\') == std::string_view::npos) return std::string(field);
  std::vector<std::string> parts = SplitFields(field);
  return parts.front();
}

[[noreturn]] void Damaged(const FolderEntries& entries, const std::string& why) {
  throw FormatError("deleted entries of " + FolderKey(entries.volume, entries.folder) + ": " + why);
}

DeletedEntry ParseEntry(const std::string_view* f, const FolderEntries& entries) {
  DeletedEntry e;
  e.volume = entries.volume;
  e.folder = entries.folder;
  e.name = Unescape(f[2]);
  bool ok = ReadNumber(f[1], e.sequence) && ReadNumber(f[3], e.nameSpace) && ReadNumber(f[4], e.flags) &&
            ReadNumber(f[5], e.attributes) && ReadNumber(f[6], e.size) && ReadNumber(f[7], e.created) &&
            ReadNumber(f[8], e.archived) && ReadNumber(f[9], e.updated) && ReadNumber(f[10], e.accessed) &&
            ReadNumber(f[11], e.deleted) && ReadNumber(f[12], e.owner) && ReadNumber(f[13], e.archiver) &&
            ReadNumber(f[14], e.updater) && ReadNumber(f[15], e.deleter) && ReadNumber(f[16], e.inheritedRights);
  uint8_t generated = 0;
  ok = ok && ReadNumber(f[17], generated) && generated <= 1;
  if (!ok || !IsValidEntryName(e.name) || e.sequence == 0 || e.sequence == 0xFFFFFFFF)
    Damaged(entries, "bad entry " + std::string(f[1]));
  e.generated = generated != 0;
  return e;
}

void ApplyRecord(std::string_view line, FolderEntries& entries) {
  std::string_view fields[kEntryFields];
  size_t count = SplitLine(line, fields, kEntryFields);
  if (fields[0] == "+" && count == kEntryFields) {
    DeletedEntry e = ParseEntry(fields, entries);
    if (!entries.bySequence.empty() && e.sequence <= entries.bySequence.rbegin()->first)
      Damaged(entries, "entry " + std::to_string(e.sequence) + " out of order");
    entries.bySequence.emplace_hint(entries.bySequence.end(), e.sequence, std::move(e));
  } else if (fields[0] == "-" && count == 2) {
    uint32_t sequence = 0;
    if (!ReadNumber(fields[1], sequence) || entries.bySequence.erase(sequence) != 1)
      Damaged(entries, "no entry " + std::string(fields[1]) + " to remove");
  } else {
    Damaged(entries, "bad line '" + std::string(line.substr(0, 40)) + "'");
  }
}

// ".\tLENGTH\tCRC" closing `body`.
bool IsCommitOf(std::string_view line, std::string_view body) {
  std::string_view fields[3];
  if (SplitLine(line, fields, 3) != 3 || fields[0] != ".") return false;
  uint64_t length = 0;
  uint32_t crc = 0;
  return ReadNumber(fields[1], length) && fields[2].size() == 8 && ReadNumber(fields[2], crc, 16) &&
         length == body.size() && crc == Crc32(body);
}

}  // namespace

uint32_t Crc32(std::string_view bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (char b : bytes) c = kCrcTable[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void TransactionText::Header(const FolderFileHeader& header) {
  char id[17];
  std::snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(header.fileId));
  FText += kMagic;
  AppendNumber(FText, kFolderFileFormat);
  FText += '\t';
  FText += id;
  FText += '\t';
  FText += EscapeField(header.volume);
  FText += '\t';
  FText += EscapeField(header.folder);
  FText += '\n';
}

void TransactionText::Add(const DeletedEntry& e) {
  FText += '+';
  AppendNumber(FText, e.sequence);
  FText += '\t';
  FText += EscapeField(e.name);
  for (uint64_t n : {uint64_t(e.nameSpace), uint64_t(e.flags), uint64_t(e.attributes), uint64_t(e.size),
                     uint64_t(e.created), uint64_t(e.archived), uint64_t(e.updated), uint64_t(e.accessed),
                     uint64_t(e.deleted), uint64_t(e.owner), uint64_t(e.archiver), uint64_t(e.updater),
                     uint64_t(e.deleter), uint64_t(e.inheritedRights), uint64_t(e.generated ? 1 : 0)})
    AppendNumber(FText, n);
  FText += '\n';
}

void TransactionText::Remove(uint32_t sequence) {
  FText += '-';
  AppendNumber(FText, sequence);
  FText += '\n';
}

void TransactionText::Commit() {
  const std::string_view body = std::string_view(FText).substr(FStart);
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(Crc32(body)));
  const uint64_t length = body.size();
  FText += '.';
  AppendNumber(FText, length);
  FText += '\t';
  FText += crc;
  FText += '\n';
  FStart = FText.size();
}

std::optional<FolderFileHeader> ParseFolderHeader(std::string_view line) {
  std::string_view fields[5];
  FolderFileHeader header;
  int format = 0;
  if (SplitLine(line, fields, 5) != 5 || fields[0] != kMagic || !ReadNumber(fields[1], format) ||
      format != kFolderFileFormat || fields[2].size() != 16 || !ReadNumber(fields[2], header.fileId, 16))
    return std::nullopt;
  header.volume = Unescape(fields[3]);
  header.folder = Unescape(fields[4]);
  if (header.volume.empty()) return std::nullopt;
  return header;
}

JournalRead ApplyTransactions(std::string_view text, uint64_t offset, FolderEntries& entries) {
  JournalRead read;
  read.end = offset;
  size_t start = 0;  // of the transaction being read
  size_t pos = 0;
  bool header = offset == 0;
  std::vector<std::string_view> pending;
  while (pos < text.size()) {
    const size_t newline = text.find('\n', pos);
    if (newline == std::string_view::npos) break;
    const std::string_view line = text.substr(pos, newline - pos);
    if (header) {
      std::optional<FolderFileHeader> h = ParseFolderHeader(line);
      if (!h) throw FormatError("not a deleted-entries file of format " + std::to_string(kFolderFileFormat));
      if (entries.volume.empty()) {
        entries.volume = h->volume;
        entries.folder = h->folder;
      } else if (h->volume != entries.volume || h->folder != entries.folder) {
        Damaged(entries, "the file is " + FolderKey(h->volume, h->folder) + "'s");
      }
      header = false;
    } else if (line.substr(0, 2) == ".\t") {
      if (!IsCommitOf(line, text.substr(start, pos - start))) break;
      for (std::string_view record : pending) ApplyRecord(record, entries);
      pending.clear();
      start = newline + 1;
      read.end = offset + start;
      if (offset == 0 && read.firstEnd == 0) read.firstEnd = read.end;
    } else {
      pending.push_back(line);
    }
    pos = newline + 1;
  }
  read.tornTail = offset + text.size() > read.end;
  return read;
}

}  // namespace nwsim
