#include <doctest/doctest.h>

#include <random>
#include <string>
#include <utility>

#include "DragFormats.h"
#include "TestLists.h"

using namespace retrove;
using namespace retrove::test;
using namespace std::string_literals;

namespace {

bool Inside(TByteView part, const TBytes& block) {
  return part.data() >= block.data() && part.data() + part.size() <= block.data() + block.size();
}

TBytes Of(TByteView view) {
  return TBytes(view.begin(), view.end());
}

void PutAt(TBytes& block, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TBytes FileDropHeader(std::uint32_t wide) {
  TBytes header{20, 0, 0, 0};
  header.resize(20, 0);
  PutAt(header, 16, wide);
  return header;
}

}  // namespace

TEST_CASE("an identifier-list block holds its count, the offsets and the lists one after another") {
  const TBytes parent = Items({2});
  const TBytes item = Items({1}, 9);
  CHECK(BuildIdListArray(parent, {item}) ==
        TBytes{1, 0, 0, 0, 12, 0, 0, 0, 18, 0, 0, 0, 4, 0, 1, 2, 0, 0, 3, 0, 9, 0, 0});

  // The Desktop as parent, and an item followed by bytes that are no part of it.
  TBytes tailed = Items({4, 1}, 20);
  tailed.push_back(0xEE);
  const TBytes first = Items({2}), empty = Items({});
  const TBytes block = BuildIdListArray({}, {first, empty, tailed});
  REQUIRE(block.size() == 20 + 2 + 6 + 2 + 11);
  CHECK(TBytes(block.begin(), block.begin() + 20) ==
        TBytes{3, 0, 0, 0, 20, 0, 0, 0, 22, 0, 0, 0, 28, 0, 0, 0, 30, 0, 0, 0});
  CHECK(block.back() == 0);

  const auto read = ReadIdListArray(block);
  REQUIRE(read);
  CHECK(Of(read->Parent) == empty);
  REQUIRE(read->Items.size() == 3);
  CHECK(Of(read->Items[0]) == first);
  CHECK(Of(read->Items[1]) == empty);
  CHECK(Of(read->Items[2]) == TBytes(tailed.begin(), tailed.end() - 1));
}

TEST_CASE("a malformed or missing list is not put in a block") {
  const TBytes sizeOne{1, 0, 0, 0};
  const std::uint8_t somewhere = 0;
  CHECK_THROWS_AS(BuildIdListArray(sizeOne, {Items({})}), EIdListError);
  CHECK_THROWS_AS(BuildIdListArray({}, {Items({}), sizeOne}), EIdListError);
  CHECK_THROWS_AS(BuildIdListArray({}, {TByteView(&somewhere, 0)}), EIdListError);
}

TEST_CASE("blocks whose count, offsets or lists do not fit are refused") {
  const TBytes good = BuildIdListArray(Items({2}), {Items({1}, 9)});
  REQUIRE(ReadIdListArray(good));
  auto patched = [&](std::size_t at, std::uint32_t value) {
    TBytes block = good;
    PutAt(block, at, value);
    return block;
  };
  TBytes itemRunsPast = good;
  itemRunsPast[18] = 6;
  TBytes itemSizeOne = good;
  itemSizeOne[18] = 1;
  const TBytes cases[] = {
      {},
      {1, 0, 0},
      patched(0, 0),
      patched(0, 0xFFFFFFFF),
      patched(0, 3),                  // list bytes read as offsets point past the end
      patched(0, 5),                  // the offsets alone are longer than the block
      patched(8, 23),                 // item offset at the end
      patched(4, 0xFFFFFFF0),
      patched(8, 22),                 // half a terminator left
      itemRunsPast,
      itemSizeOne,
      TBytes(good.begin(), good.begin() + 8),
      TBytes(good.begin(), good.end() - 1),
  };
  for (const TBytes& block : cases) {
    CAPTURE(block.size());
    CHECK_FALSE(ReadIdListArray(block));
  }
}

TEST_CASE("damaged blocks are read inside their bounds or refused") {
  const TBytes good = BuildIdListArray(Items({3, 5}), {Items({1}, 40), Items({}), Items({7, 2}, 60)});
  std::mt19937 random(1616);
  int accepted = 0;
  for (int round = 0; round < 4000; ++round) {
    TBytes damaged = good;
    const int changes = std::uniform_int_distribution<int>(1, 4)(random);
    for (int i = 0; i < changes; ++i)
      damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random() % 64);
    if (round % 3 == 0) damaged.resize(random() % damaged.size());
    // An exact-sized copy lets ASan see any read past the end.
    const TBytes block = damaged;
    const auto read = ReadIdListArray(block);
    if (!read) continue;
    ++accepted;
    CHECK(Inside(read->Parent, block));
    CHECK(IdListSize(read->Parent) == read->Parent.size());
    for (TByteView item : read->Items) {
      CHECK(Inside(item, block));
      CHECK(IdListSize(item) == item.size());
    }
  }
  CHECK(accepted > 0);
  CHECK(accepted < 4000);
}

TEST_CASE("file-drop and text blocks carry the name and their terminators") {
  TBytes drop = FileDropHeader(0);
  for (char c : "C:\\Temp\0"s) drop.push_back(static_cast<std::uint8_t>(c));
  drop.push_back(0);
  CHECK(BuildFileDropBlock({"C:\\Temp"}) == drop);
  CHECK(BuildTextBlock("C:\\Temp") == TBytes{'C', ':', '\\', 'T', 'e', 'm', 'p', '\r', '\n', 0});

  TBytes none = FileDropHeader(0);
  none.push_back(0);
  CHECK(BuildFileDropBlock({}) == none);
  CHECK(ReadFileDropBlock(none) == std::vector<std::string>{});

  const TBytes cut = BuildFileDropBlock({"a\0b"s, "", "cd"});
  CHECK(TBytes(cut.begin() + 20, cut.end()) == TBytes{'a', 0, 'c', 'd', 0, 0});
  CHECK(ReadFileDropBlock(cut) == std::vector<std::string>{"a", "cd"});
}

TEST_CASE("wide file-drop names are narrowed, and names that do not fit are refused") {
  TBytes wide = FileDropHeader(1);
  wide.insert(wide.end(), {'A', 0, 0xC4, 0, 0x00, 0x01, 0, 0, 'B', 0, 0, 0, 0, 0});
  CHECK(ReadFileDropBlock(wide) == std::vector<std::string>{"A\xC4?", "B"});
  CHECK_FALSE(ReadFileDropBlock(TBytes(wide.begin(), wide.end() - 1)));

  const TBytes good = BuildFileDropBlock({"x"});
  TBytes belowHeader = good, atEnd = good;
  PutAt(belowHeader, 0, 19);
  PutAt(atEnd, 0, static_cast<std::uint32_t>(good.size()));
  CHECK_FALSE(ReadFileDropBlock(TBytes(good.begin(), good.begin() + 19)));
  CHECK_FALSE(ReadFileDropBlock(TBytes(good.begin(), good.end() - 1)));
  CHECK_FALSE(ReadFileDropBlock(belowHeader));
  CHECK_FALSE(ReadFileDropBlock(atEnd));
}

TEST_CASE("a format cursor hands out no more entries than remain") {
  TFormatCursor cursor(3);
  CHECK(cursor.Next(5) == 3);
  CHECK(cursor.Next(1) == 0);
  cursor.Reset();
  CHECK(cursor.Skip(2));
  CHECK(cursor.Position() == 2);
  TFormatCursor clone(3, cursor.Position());
  CHECK(clone.Next(2) == 1);
  CHECK_FALSE(cursor.Skip(2));
  CHECK(cursor.Position() == 3);
  CHECK(TFormatCursor(3, 7).Position() == 3);
}

TEST_CASE("keys run their verbs only with exactly their modifiers") {
  const TKeyModifiers none, shift{true, false, false}, control{false, true, false}, controlAlt{false, true, true};
  CHECK(TreeKeyCommand(kKeyDelete, none) == TTreeKeyCommand::Delete);
  CHECK(TreeKeyCommand(kKeyDelete, shift) == TTreeKeyCommand::None);
  CHECK(TreeKeyCommand('X', control) == TTreeKeyCommand::Cut);
  CHECK(TreeKeyCommand('C', control) == TTreeKeyCommand::Copy);
  CHECK(TreeKeyCommand('V', control) == TTreeKeyCommand::Paste);
  CHECK(TreeKeyCommand('V', controlAlt) == TTreeKeyCommand::None);
  CHECK(TreeKeyCommand('V', none) == TTreeKeyCommand::None);
  CHECK(TreeKeyCommand(kKeyF2, none) == TTreeKeyCommand::Rename);
  CHECK(TreeKeyCommand(kKeyF5, control) == TTreeKeyCommand::None);
  CHECK(TreeKeyCommand(kKeyF5, none) == TTreeKeyCommand::Refresh);
  CHECK(TreeKeyCommand(kKeyApps, none) == TTreeKeyCommand::ContextMenu);
  CHECK(TreeKeyCommand(kKeyF10, shift) == TTreeKeyCommand::ContextMenu);
  CHECK(TreeKeyCommand(kKeyF10, none) == TTreeKeyCommand::None);
  CHECK(VerbOf(TTreeKeyCommand::Delete) == "delete");
  CHECK(VerbOf(TTreeKeyCommand::Cut) == "cut");
  CHECK(VerbOf(TTreeKeyCommand::Copy) == "copy");
  CHECK(VerbOf(TTreeKeyCommand::Paste) == "paste");
  CHECK(VerbOf(TTreeKeyCommand::Rename) == "");
}

TEST_CASE("pop-up results belong to the shell, to a present Send To entry or to nothing") {
  auto is = [](TMenuChoice choice, TMenuChoiceKind kind, unsigned index) {
    return choice.Kind == kind && (kind == TMenuChoiceKind::None || choice.Index == index);
  };
  CHECK(is(MenuChoiceOf(0, 5), TMenuChoiceKind::None, 0));
  CHECK(is(MenuChoiceOf(50, 5), TMenuChoiceKind::Shell, 0));
  CHECK(is(MenuChoiceOf(57, 0), TMenuChoiceKind::Shell, 7));
  CHECK(is(MenuChoiceOf(1, 3), TMenuChoiceKind::SendTo, 0));
  CHECK(is(MenuChoiceOf(3, 3), TMenuChoiceKind::SendTo, 2));
  CHECK(is(MenuChoiceOf(4, 3), TMenuChoiceKind::None, 0));
  CHECK(is(MenuChoiceOf(1, 0), TMenuChoiceKind::None, 0));
  CHECK(is(MenuChoiceOf(49, 100), TMenuChoiceKind::SendTo, 48));
}

TEST_CASE("a drag goes on while its button is held, drops when let go, and another button cancels") {
  const std::uint32_t left = DragButtonBit(0), right = DragButtonBit(1);
  CHECK(DragButtonBit(2) == kMiddleButtonBit);
  CHECK(DragButtonBit(7) == kLeftButtonBit);
  CHECK(NextDragStep(false, kLeftButtonBit, left) == TDragStep::Continue);
  CHECK(NextDragStep(false, 0, left) == TDragStep::Drop);
  CHECK(NextDragStep(false, kLeftButtonBit | kRightButtonBit, left) == TDragStep::Cancel);
  CHECK(NextDragStep(true, kLeftButtonBit, left) == TDragStep::Cancel);
  CHECK(NextDragStep(false, kRightButtonBit, right) == TDragStep::Continue);
  CHECK(NextDragStep(false, kRightButtonBit | kLeftButtonBit, right) == TDragStep::Cancel);
  CHECK(NextDragStep(false, kMiddleButtonBit, right) == TDragStep::Cancel);
  CHECK(NextDragStep(false, 0x4 | 0x8, right) == TDragStep::Drop);  // Shift and Ctrl are no buttons
}

TEST_CASE("a drag near an edge scrolls towards it, at most every 200 ms") {
  auto scroll = [](int x, int y, int width = 200, std::uint32_t now = 1200, std::uint32_t last = 1000) {
    const TScrollRequest request = AutoScrollRequest(x, y, width, 100, now, last);
    return std::pair(request.Horizontal, request.Vertical);
  };
  CHECK(scroll(100, 50) == std::pair(0, 0));
  CHECK(scroll(25, 19) == std::pair(-1, -1));
  CHECK(scroll(26, 20) == std::pair(0, 0));
  CHECK(scroll(173, 79) == std::pair(0, 0));
  CHECK(scroll(174, 80) == std::pair(1, 1));
  CHECK(scroll(-5, 150) == std::pair(-1, 1));
  CHECK(scroll(20, 50, 40) == std::pair(-1, 0));
  CHECK(scroll(30, 50, 40) == std::pair(1, 0));
  CHECK(scroll(0, 0, 200, 1199, 1000) == std::pair(0, 0));
  CHECK(scroll(0, 0, 200, 100, 0xFFFFFF00) == std::pair(-1, -1));
  CHECK(scroll(0, 0, 200, 50, 0xFFFFFFC0) == std::pair(0, 0));
  CHECK_FALSE(AutoScrollRequest(0, 0, 200, 100, 5, 5).Any());
  CHECK(AutoScrollRequest(0, 50, 200, 100, 205, 5).Any());
}
