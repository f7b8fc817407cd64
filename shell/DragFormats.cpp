#include "DragFormats.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "IdList.h"

namespace retrove {

namespace {

constexpr std::size_t kNumberSize = 4;
constexpr std::size_t kWideFlagAt = 4 * kNumberSize;
constexpr std::size_t kLargestBlock = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint8_t kEmptyList[kIdListTerminatorSize] = {0, 0};

constexpr unsigned kKeyC = 0x43;
constexpr unsigned kKeyV = 0x56;
constexpr unsigned kKeyX = 0x58;

void PutNumber(TBytes& out, std::uint32_t value) {
  for (std::size_t i = 0; i < kNumberSize; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The number at `at`; the caller has checked that it lies inside `block`.
std::uint32_t NumberAt(TByteView block, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < kNumberSize; ++i) value |= static_cast<std::uint32_t>(block[at + i]) << (8 * i);
  return value;
}

// A zero-length span is no list at all, which IdListBytes would let pass
// when its data pointer is null.
TByteView WholeList(TByteView list) {
  if (list.empty()) throw EIdListError("Missing item identifier list");
  return IdListBytes(list);
}

// Adds `size` to `total`, refusing a block that 32-bit offsets cannot span.
std::size_t Grow(std::size_t total, std::size_t size) {
  if (size > kLargestBlock - total) throw EIdListError("Item identifier lists too large for one block");
  return total + size;
}

std::optional<TByteView> ListAt(TByteView block, std::size_t offset) {
  if (offset >= block.size()) return std::nullopt;
  try {
    return IdListBytes(block.subspan(offset));
  } catch (const EIdListError&) {
    return std::nullopt;
  }
}

// One character of a name: the byte itself, or a wide character narrowed
// to 8 bits ('?' for those beyond, so that no name holds a NUL).
char CharAt(TByteView block, std::size_t at, bool wide) {
  if (!wide || block[at + 1] == 0) return static_cast<char>(block[at]);
  return '?';
}

bool IsNul(TByteView block, std::size_t at, bool wide) {
  return block[at] == 0 && (!wide || block[at + 1] == 0);
}

int ScrollDirection(int at, int extent, int margin) {
  if (at < margin) return -1;
  // 64 bits, so that no extent overflows when the margin is taken off.
  if (at >= std::int64_t{extent} - margin) return 1;
  return 0;
}

}  // namespace

TBytes BuildIdListArray(TByteView parent, const std::vector<TByteView>& items) {
  std::vector<TByteView> lists;
  lists.reserve(items.size() + 1);
  lists.push_back(parent.empty() ? TByteView(kEmptyList) : WholeList(parent));
  for (TByteView item : items) lists.push_back(WholeList(item));

  if (lists.size() >= kLargestBlock / kNumberSize) throw EIdListError("Too many items for one block");
  std::size_t total = kNumberSize * (lists.size() + 1);
  TBytes block;
  PutNumber(block, static_cast<std::uint32_t>(items.size()));
  for (TByteView list : lists) {
    PutNumber(block, static_cast<std::uint32_t>(total));
    total = Grow(total, list.size());
  }
  block.reserve(total);
  for (TByteView list : lists) block.insert(block.end(), list.begin(), list.end());
  return block;
}

std::optional<TIdListArrayView> ReadIdListArray(TByteView block) {
  if (block.size() < kNumberSize) return std::nullopt;
  const std::size_t count = NumberAt(block, 0);
  // Checked before multiplying, so that no count can overflow the header's size.
  if (count == 0 || count > block.size() / kNumberSize) return std::nullopt;
  if (kNumberSize * (count + 2) > block.size()) return std::nullopt;

  TIdListArrayView view;
  view.Items.reserve(count);
  for (std::size_t i = 0; i <= count; ++i) {
    const auto list = ListAt(block, NumberAt(block, kNumberSize * (i + 1)));
    if (!list) return std::nullopt;
    if (i == 0) view.Parent = *list;
    else view.Items.push_back(*list);
  }
  return view;
}

TBytes BuildFileDropBlock(const std::vector<std::string>& names) {
  TBytes block;
  PutNumber(block, kFileDropHeaderSize);
  // The drop point, the non-client flag and the wide flag, all zero.
  for (int field = 0; field < 4; ++field) PutNumber(block, 0);
  for (const std::string& name : names) {
    const std::string_view text(name.c_str());
    if (text.empty()) continue;
    block.insert(block.end(), text.begin(), text.end());
    block.push_back(0);
  }
  block.push_back(0);
  return block;
}

std::optional<std::vector<std::string>> ReadFileDropBlock(TByteView block) {
  if (block.size() < kFileDropHeaderSize) return std::nullopt;
  const std::size_t start = NumberAt(block, 0);
  if (start < kFileDropHeaderSize || start >= block.size()) return std::nullopt;
  const bool wide = NumberAt(block, kWideFlagAt) != 0;
  const std::size_t unit = wide ? 2 : 1;

  std::vector<std::string> names;
  std::string name;
  for (std::size_t at = start; block.size() - at >= unit; at += unit) {
    if (!IsNul(block, at, wide)) {
      name.push_back(CharAt(block, at, wide));
    } else if (name.empty()) {
      return names;
    } else {
      names.push_back(std::move(name));
      name.clear();
    }
  }
  return std::nullopt;
}

TBytes BuildTextBlock(const std::string& name) {
  TBytes block(name.begin(), name.end());
  block.insert(block.end(), {'\r', '\n', '\0'});
  return block;
}

TFormatCursor::TFormatCursor(std::size_t count, std::size_t position)
    : FCount(count), FPosition(std::min(position, count)) {}

std::size_t TFormatCursor::Next(std::size_t wanted) {
  const std::size_t taken = std::min(wanted, FCount - FPosition);
  FPosition += taken;
  return taken;
}

bool TFormatCursor::Skip(std::size_t count) {
  if (FCount - FPosition < count) {
    FPosition = FCount;
    return false;
  }
  FPosition += count;
  return true;
}

std::uint32_t DragButtonBit(int button) {
  switch (button) {
    case 1:
      return kRightButtonBit;
    case 2:
      return kMiddleButtonBit;
    default:
      return kLeftButtonBit;
  }
}

TDragStep NextDragStep(bool escapePressed, std::uint32_t keyState, std::uint32_t dragButton) {
  if (escapePressed || (keyState & kButtonBits & ~dragButton) != 0) return TDragStep::Cancel;
  return (keyState & dragButton) != 0 ? TDragStep::Continue : TDragStep::Drop;
}

TTreeKeyCommand TreeKeyCommand(unsigned key, TKeyModifiers modifiers) {
  const bool plain = !modifiers.Shift && !modifiers.Control && !modifiers.Alt;
  // Ctrl with Alt is AltGr on many keyboards: a character, not a command.
  const bool controlOnly = modifiers.Control && !modifiers.Shift && !modifiers.Alt;
  const bool shiftOnly = modifiers.Shift && !modifiers.Control && !modifiers.Alt;
  switch (key) {
    case kKeyDelete:
      return plain ? TTreeKeyCommand::Delete : TTreeKeyCommand::None;
    case kKeyX:
      return controlOnly ? TTreeKeyCommand::Cut : TTreeKeyCommand::None;
    case kKeyC:
      return controlOnly ? TTreeKeyCommand::Copy : TTreeKeyCommand::None;
    case kKeyV:
      return controlOnly ? TTreeKeyCommand::Paste : TTreeKeyCommand::None;
    case kKeyF2:
      return plain ? TTreeKeyCommand::Rename : TTreeKeyCommand::None;
    case kKeyF5:
      return plain ? TTreeKeyCommand::Refresh : TTreeKeyCommand::None;
    case kKeyApps:
      return plain ? TTreeKeyCommand::ContextMenu : TTreeKeyCommand::None;
    case kKeyF10:
      return shiftOnly ? TTreeKeyCommand::ContextMenu : TTreeKeyCommand::None;
    default:
      return TTreeKeyCommand::None;
  }
}

std::string VerbOf(TTreeKeyCommand command) {
  switch (command) {
    case TTreeKeyCommand::Delete:
      return "delete";
    case TTreeKeyCommand::Cut:
      return "cut";
    case TTreeKeyCommand::Copy:
      return "copy";
    case TTreeKeyCommand::Paste:
      return "paste";
    default:
      return "";
  }
}

TMenuChoice MenuChoiceOf(unsigned result, std::size_t sendToCount) {
  if (result >= kFirstShellCommandId) return {TMenuChoiceKind::Shell, result - kFirstShellCommandId};
  if (result < kFirstSendToId) return {};
  const unsigned index = result - kFirstSendToId;
  if (index >= std::min(sendToCount, kMaxSendToEntries)) return {};
  return {TMenuChoiceKind::SendTo, index};
}

TScrollRequest AutoScrollRequest(int x, int y, int width, int height, std::uint32_t now, std::uint32_t lastScroll) {
  // Unsigned subtraction keeps the interval right across the tick count's wrap.
  if (now - lastScroll < kScrollInterval) return {};
  return {ScrollDirection(x, width, kScrollMarginX), ScrollDirection(y, height, kScrollMarginY)};
}

}  // namespace retrove
