#include "ListedFolder.h"

#include <doctest/doctest.h>

#include "RemoteControls.h"

namespace e2e {

TListedFolder::TListedFolder(const char* folder) : Program("RETROVE_E2E_CLIENT") {
  Program.FindControls();
  Program.Click(kDetailsImage);
  Program.Open({"Desktop", "My Computer", "(F:)", folder});
}

void TListedFolder::Select(int row) {
  REQUIRE(row >= 0);
  ListViewSelect(Program.List, row, true);
  REQUIRE(WaitUntil([&] { return ToolButtonEnabled(Program.ToolBar, kRetroveImage); }, 5000));
}

void TListedFolder::Recover() {
  REQUIRE(PressToolButton(Program.ToolBar, kRetroveImage));
  Sleep(500);
  Program.WaitIdle();
}

std::vector<std::string> TListedFolder::AnswerBoxes() {
  std::vector<std::string> texts;
  for (;;) {
    if (!Program.WaitForMessageBox(5000)) break;
    texts.push_back(AnswerBox());
  }
  return texts;
}

std::string TListedFolder::AnswerBox(int button) {
  HWND box = Program.WaitForMessageBox(10000);
  REQUIRE(box != nullptr);
  std::string text;
  for (int i = 0; HWND label = FindDescendant(box, "Static", i); ++i) text += WindowText(label);
  PostMessageA(box, WM_COMMAND, button, 0);
  REQUIRE(WaitUntil([&] { return !IsWindow(box); }, 5000));
  return text;
}

}  // namespace e2e
