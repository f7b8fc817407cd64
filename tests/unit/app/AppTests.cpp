#include <doctest/doctest.h>

#include <set>
#include <string>
#include <vector>

#include "AboutText.h"
#include "AttributeText.h"
#include "DetailTexts.h"
#include "FormatSettings.h"
#include "Nwtools.h"
#include "PurgeText.h"
#include "RecoveryName.h"

using namespace retrove;

TEST_CASE("attribute text keeps its ten positions") {
  CHECK(AttributeString(0) == "          ");
  CHECK(AttributeString(0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x80) == "RoHSEoDSh ");
  CHECK(AttributeString(0x21) == "Ro        ");
  CHECK(AttributeString(0x1000) == "         T");
  CHECK(AttributeString(0x60) == "          ");
  CHECK(AttributeString(0xFFFFFFFF).size() == 10);
}

TEST_CASE("derived names keep nine characters before the extension") {
  CHECK(DerivedName("LETTERS.DOC", 1) == "LETTERS~1.DOC");
  CHECK(DerivedName("REPORTER.TXT", 1) == "REPORTE~1.TXT");
  CHECK(DerivedName("REPORT.TXT", 10) == "REPORT~10.TXT");
  CHECK(DerivedName("NOTES", 1) == "NOTES~1");
  CHECK(DerivedName("A.B.TXT", 1) == "A.B~1.TXT");
  CHECK(DerivedName(".PROFILE", 3) == "~3.PROFILE");
  CHECK(DerivedName("ABCDEFGHIJ", 12345678) == "~12345678");
}

TEST_CASE("the recovery name is the first one free") {
  std::set<std::string> live;
  const auto exists = [&](const std::string& n) { return live.count(n) > 0; };
  CHECK(RecoveryName("REPORT.TXT", exists) == "REPORT.TXT");
  live = {"REPORT.TXT", "REPORT~1.TXT"};
  CHECK(RecoveryName("REPORT.TXT", exists) == "REPORT~2.TXT");

  // Every candidate taken: the search ends instead of looping forever.
  int asked = 0;
  const auto allTaken = [&](const std::string&) {
    ++asked;
    return true;
  };
  CHECK_FALSE(RecoveryName("FULL.TXT", allTaken).has_value());
  CHECK(asked == 10'000'000);
}

TEST_CASE("a name the server gives that is not one plain file name comes back under no name") {
  std::vector<std::string> asked;
  const auto exists = [&](const std::string& n) {
    asked.push_back(n);
    return false;
  };
  const std::vector<std::string> refused = {"..\\WINDOWS\\WIN.INI", "SUB/FILE.TXT", "C:FILE.TXT", "*.*", "WHAT?.TXT",
                                            "", ".", "..", "TAB\tNAME", "A|B", "<A>", "\"QUOTED\""};
  for (const std::string& name : refused) CHECK_FALSE(RecoveryName(name, exists).has_value());
  CHECK(asked.empty());
  CHECK(RecoveryName("...", exists) == "...");
  CHECK(RecoveryName("SPACE NAME.DOC", exists) == "SPACE NAME.DOC");
  CHECK(RecoveryName("\xE9T\xE9.TXT", exists) == "\xE9T\xE9.TXT");
}

namespace {

// The texts as the listing wrote them one by one before they shared a buffer.
std::vector<std::string> TextsOneByOne(const TNWDeletedFileInfo& info) {
  return {std::to_string(static_cast<uint32_t>(info.FileSize)),
          DateTimeText(info.DeletedDateTime),
          info.Deletor,
          info.Owner,
          DateTimeText(info.LastAccessDate),
          DateTimeText(info.CreationDateTime),
          AttributeString(info.Attributes),
          DateTimeText(info.ArchiveDateTime),
          info.Archiver,
          DateTimeText(info.UpdateDateTime),
          info.Updater};
}

std::vector<std::string> Texts(TDetailTexts& writer, const TNWDeletedFileInfo& info) {
  const auto texts = writer.Of(info);
  return {texts.begin(), texts.end()};
}

}  // namespace

TEST_CASE("detail texts read as the one-by-one texts, row after row and whatever the day") {
  TNWDeletedFileInfo first;
  first.FileSize = -1;
  first.DeletedDateTime = 35512.9999999999;  // Sunday 23 March 1997, so near midnight that it reads as the 24th
  first.Deletor = "SUPERVISOR";
  first.Owner = "";
  first.LastAccessDate = 35512;
  first.CreationDateTime = 29221.5;
  first.Attributes = 0x01 | 0x1000;
  first.ArchiveDateTime = -1.25;  // before 30 December 1899
  first.Archiver = "A LONGER NAME THAN ANY SHORT STRING HOLDS";
  first.UpdateDateTime = 35513.75;
  first.Updater = "GUEST";
  TNWDeletedFileInfo second = first;
  second.FileSize = 2147483647;
  second.DeletedDateTime = 35512.25;  // the same Sunday, earlier
  second.LastAccessDate = 35513;      // the next day
  second.Owner = "ADMIN";

  SUBCASE("default settings") {
    TDetailTexts writer(FormatSettings());
    CHECK(Texts(writer, first) == TextsOneByOne(first));
    CHECK(Texts(writer, second) == TextsOneByOne(second));
    CHECK(Texts(writer, first) == TextsOneByOne(first));
  }
  SUBCASE("a long date with the day's name, and the defaults back afterwards") {
    const TFormatSettings saved = FormatSettings();
    TFormatSettings settings = saved;
    settings.LongDatePattern = "dddd, d. MMMM yyyy";
    SetFormatSettings(settings);
    TDetailTexts writer(FormatSettings());
    const std::vector<std::string> firstTexts = Texts(writer, first);
    const std::vector<std::string> secondTexts = Texts(writer, second);
    const std::vector<std::string> expectedFirst = TextsOneByOne(first);
    const std::vector<std::string> expectedSecond = TextsOneByOne(second);
    SetFormatSettings(saved);
    CHECK(firstTexts == expectedFirst);
    CHECK(secondTexts == expectedSecond);
    CHECK(secondTexts[1] == "Sunday, 23. March 1997 06:00 a");
  }
}

TEST_CASE("a deleted file of 2 GiB or more shows its size, not a negative number") {
  TDetailTexts writer(FormatSettings());
  TNWDeletedFileInfo info;
  info.FileSize = static_cast<int32_t>(3'000'000'000u);
  CHECK(writer.Of(info)[0] == "3000000000");
  info.FileSize = -1;
  CHECK(writer.Of(info)[0] == "4294967295");
  info.FileSize = 2147483647;
  CHECK(writer.Of(info)[0] == "2147483647");
}

TEST_CASE("the About box's connection line names server, version and user, or that none is connected") {
  CHECK(ConnectionLine(true, "ACME_FS1", "4.11", "CN=ADMIN.O=ACME") == "ACME_FS1 \x97 NetWare 4.11 \x97 CN=ADMIN.O=ACME");
  CHECK(ConnectionLine(true, "NW312", "3.12", "") == "NW312 \x97 NetWare 3.12");
  CHECK(ConnectionLine(false, "LOCAL", "0.0", "") == "No server is connected.");
}

TEST_CASE("the purge question names the file or how many, and always warns") {
  const std::string warning = "\r\n\r\nA purged file cannot be brought back.";
  CHECK(PurgeQuestion(1, "MEMO.TXT", false, "F:\\DOCS\\") == "Purge MEMO.TXT for good?" + warning);
  CHECK(PurgeQuestion(3, "MEMO.TXT", false, "F:\\DOCS\\") == "Purge 3 deleted files for good?" + warning);
  CHECK(PurgeQuestion(1, "MEMO.TXT", true, "F:\\DOCS\\") ==
        "Purge all 1 deleted file(s) of 'F:\\DOCS\\' for good?" + warning);
}
