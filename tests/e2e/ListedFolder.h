#pragma once

#include <string>
#include <vector>

#include "Program.h"

namespace e2e {

// The program with F:\`folder` listed in Details view, and the rows and
// "Retrove 97" boxes a test works with there.
struct TListedFolder {
  explicit TListedFolder(const char* folder);

  void Select(int row);
  void Recover();
  // The text of each box, answered with OK, until the command has ended
  // (its re-listing shows the status text again).
  std::vector<std::string> AnswerBoxes();
  // Answers the one box now up with `button`; its text.
  std::string AnswerBox(int button = IDOK);

  TProgram Program;
};

}  // namespace e2e
