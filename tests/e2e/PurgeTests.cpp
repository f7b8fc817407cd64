#include <doctest/doctest.h>

#include <string>

#include "ListedFolder.h"
#include "Program.h"
#include "RemoteControls.h"

using namespace e2e;

namespace {

bool Says(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Once the purge's new listing has ended with `rows` rows.
void WaitForRows(TListedFolder& folder, int rows) {
  CHECK(WaitUntil([&] { return folder.Program.StatusText() == std::to_string(rows) + " file(s)"; }, 10000));
  folder.Program.WaitIdle();
  CHECK(folder.Program.RowCount() == rows);
}

}  // namespace

TEST_CASE("a purge takes the one version picked, for good; the other stays listed and comes back") {
  TListedFolder docs("DOCS");
  const int before = docs.Program.RowCount();
  docs.Select(docs.Program.FindRow("MEMO.TXT", "13"));
  ChooseMenuItem(docs.Program.Main, 'f', 'u');
  const std::string question = docs.AnswerBox(IDYES);
  CAPTURE(question);
  CHECK(Says(question, "Purge MEMO.TXT for good?"));
  CHECK(Says(question, "cannot be brought back"));
  WaitForRows(docs, before - 1);
  CHECK(docs.Program.FindRow("MEMO.TXT", "13") == -1);
  docs.Select(docs.Program.FindRow("MEMO.TXT", "23"));
  docs.Recover();
  CHECK(FileText("F:\\DOCS\\MEMO.TXT") == "Second memo, revised.\r\n");
}

TEST_CASE("without the Erase right nothing is purged, and the message names the file") {
  REQUIRE(Nwsim("rights SYS:PUBLIC 0x1EB"));
  TListedFolder publicFolder("PUBLIC");
  const int before = publicFolder.Program.RowCount();
  REQUIRE(before > 0);
  const std::string name = ListViewRows(publicFolder.Program.List, kColumns)[0][0];
  publicFolder.Select(0);
  ChooseMenuItem(publicFolder.Program.Main, 'f', 'u');
  publicFolder.AnswerBox(IDYES);
  CHECK(publicFolder.AnswerBox() == "Unable to purge " + name);
  WaitForRows(publicFolder, before);
  CHECK(publicFolder.Program.FindRow(name) >= 0);
  REQUIRE(Nwsim("rights SYS:PUBLIC 0x1FB"));
}

TEST_CASE("Purge All asks first: No keeps every file, Yes leaves the folder empty") {
  TListedFolder publicFolder("PUBLIC");
  const int before = publicFolder.Program.RowCount();
  REQUIRE(before > 0);
  ChooseMenuItem(publicFolder.Program.Main, 'f', 'a');
  const std::string question = publicFolder.AnswerBox(IDNO);
  CAPTURE(question);
  CHECK(Says(question, "Purge all " + std::to_string(before) + " deleted file(s) of 'F:\\PUBLIC\\' for good?"));
  WaitForRows(publicFolder, before);

  ChooseMenuItem(publicFolder.Program.Main, 'f', 'a');
  publicFolder.AnswerBox(IDYES);
  WaitForRows(publicFolder, 0);
}
