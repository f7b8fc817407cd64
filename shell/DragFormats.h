#pragma once

// The blocks a dragged shell item travels in, and the small decisions of a
// drag and of the folder tree's commands that need no window: which verb a
// key asks for, which pop-up command id belongs to whom, when a drag goes
// on, drops or is cancelled, and when a drag over the tree scrolls it.
//
// A "Shell IDList Array" block is: a 32-bit item count n, then n + 1 32-bit
// byte offsets from the block's start (the parent folder's absolute list,
// then each item's relative list), then the lists themselves. All numbers
// are little-endian. A file-drop block is a 20-byte header (offset of the
// names, 20; drop point x and y; non-client flag; wide flag; each 32-bit)
// and the names as 8-bit text, each with a NUL, and one more NUL.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace retrove {

using TBytes = std::vector<std::uint8_t>;
using TByteView = std::span<const std::uint8_t>;

// A "Shell IDList Array" block for items of one parent folder. `parent` and
// each item are whole lists, terminator included; an empty parent stands
// for the empty list (the Desktop). Throws EIdListError for a malformed
// list.
TBytes BuildIdListArray(TByteView parent, const std::vector<TByteView>& items);

// The lists of a block read back: views into the block, each a whole,
// well-formed list.
struct TIdListArrayView {
  TByteView Parent;
  std::vector<TByteView> Items;
};
// Reads a block that may come from any program. Nothing is read outside
// `block`; a block with no items, a count or an offset that does not fit,
// or a list that is malformed or runs past the block's end gives nothing.
std::optional<TIdListArrayView> ReadIdListArray(TByteView block);

// A file-drop block of `names` (8-bit text; a name holding a NUL is cut
// there, and an empty name, which would end the list, is left out) with the
// drop point (0, 0) and the 8-bit flag. No names give the final NUL alone.
TBytes BuildFileDropBlock(const std::vector<std::string>& names);
// The names of a file-drop block of any program, 8-bit or wide (wide names
// are narrowed to 8 bits, a character beyond them read as '?'; used for
// checks only). The names end at the first empty one. Nothing for a block
// whose header or names do not fit in it.
std::optional<std::vector<std::string>> ReadFileDropBlock(TByteView block);

// The file-drop block's header: the platform's DROPFILES record.
inline constexpr std::size_t kFileDropHeaderSize = 20;

// The text block of a dragged item: its name, CR LF and a NUL.
TBytes BuildTextBlock(const std::string& name);

// Where a format enumerator stands in a list of `Count` formats.
class TFormatCursor {
public:
  explicit TFormatCursor(std::size_t count, std::size_t position = 0);

  std::size_t Position() const { return FPosition; }
  // How many of `wanted` entries can be copied from here on; moves past
  // them.
  std::size_t Next(std::size_t wanted);
  // Moves `count` on; false (and the position at the end) when fewer
  // remain.
  bool Skip(std::size_t count);
  void Reset() { FPosition = 0; }

private:
  std::size_t FCount;
  std::size_t FPosition;
};

// The mouse buttons as key-state bits.
inline constexpr std::uint32_t kLeftButtonBit = 0x1;
inline constexpr std::uint32_t kRightButtonBit = 0x2;
inline constexpr std::uint32_t kMiddleButtonBit = 0x10;
inline constexpr std::uint32_t kButtonBits = kLeftButtonBit | kRightButtonBit | kMiddleButtonBit;

// The key-state bit of the button a drag started with: 0 left, 1 right,
// 2 middle; any other value is taken as the left button.
std::uint32_t DragButtonBit(int button);

enum class TDragStep { Continue, Drop, Cancel };
// Escape or another button pressed cancels; the drag button let go drops.
TDragStep NextDragStep(bool escapePressed, std::uint32_t keyState, std::uint32_t dragButton);

// The shell verbs the tree's keys run on the selected folder.
enum class TTreeKeyCommand { None, Delete, Cut, Copy, Paste, Rename, Refresh, ContextMenu };
// Virtual-key codes as Windows numbers them.
inline constexpr unsigned kKeyDelete = 0x2E;
inline constexpr unsigned kKeyF2 = 0x71;
inline constexpr unsigned kKeyF5 = 0x74;
inline constexpr unsigned kKeyF10 = 0x79;
inline constexpr unsigned kKeyApps = 0x5D;
struct TKeyModifiers {
  bool Shift = false;
  bool Control = false;
  bool Alt = false;
};
// The command of a key with its modifiers; None leaves the key to the
// control.
TTreeKeyCommand TreeKeyCommand(unsigned key, TKeyModifiers modifiers);
// "delete", "cut", "copy" or "paste"; "" for the commands that are no verb.
std::string VerbOf(TTreeKeyCommand command);

// Ids of the tree's pop-up menu: the shell's commands from 50 on, the
// entries of the user's Send To folder in 1-49.
inline constexpr unsigned kFirstSendToId = 1;
inline constexpr unsigned kLastSendToId = 49;
inline constexpr unsigned kFirstShellCommandId = 50;
inline constexpr std::size_t kMaxSendToEntries = kLastSendToId - kFirstSendToId + 1;
enum class TMenuChoiceKind { None, SendTo, Shell };
struct TMenuChoice {
  TMenuChoiceKind Kind = TMenuChoiceKind::None;
  // The Send To entry's index, or the shell command's offset.
  unsigned Index = 0;
};
// What a pop-up result means when `sendToCount` Send To entries were added.
TMenuChoice MenuChoiceOf(unsigned result, std::size_t sendToCount);

// Whether a drag over a control scrolls it, and which way.
struct TScrollRequest {
  int Horizontal = 0;  // -1 left, 1 right
  int Vertical = 0;    // -1 up, 1 down
  bool Any() const { return Horizontal != 0 || Vertical != 0; }
};
inline constexpr int kScrollMarginX = 26;
inline constexpr int kScrollMarginY = 20;
inline constexpr std::uint32_t kScrollInterval = 200;
// `x`, `y` in client coordinates of a client area `width` × `height`;
// nothing when the last scroll was less than kScrollInterval ms ago (tick
// counts wrap around).
TScrollRequest AutoScrollRequest(int x, int y, int width, int height, std::uint32_t now, std::uint32_t lastScroll);

}  // namespace retrove
