// Dragged items arrive as blocks written by any program; what is read from
// them must lie inside them, and what is read must build a block that reads
// back the same.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DragFormats.h"
#include "FuzzCheck.h"
#include "IdList.h"

using namespace retrove;
using retrove::fuzz::Require;

namespace {

bool Same(TByteView a, TByteView b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool Inside(TByteView part, TByteView block) {
  return part.data() >= block.data() && part.data() + part.size() <= block.data() + block.size();
}

bool WholeListIn(TByteView list, TByteView block) {
  return Inside(list, block) && IdListSize(list) == list.size();
}

bool SameLists(const TIdListArrayView& a, const TIdListArrayView& b) {
  return Same(a.Parent, b.Parent) &&
         std::equal(a.Items.begin(), a.Items.end(), b.Items.begin(), b.Items.end(), Same);
}

void CheckIdListArray(TByteView block) {
  const auto read = ReadIdListArray(block);
  if (!read) return;
  Require(!read->Items.empty(), "a block read has items");
  Require(WholeListIn(read->Parent, block), "the parent is a whole list inside the block");
  for (TByteView item : read->Items) Require(WholeListIn(item, block), "each item is a whole list inside the block");

  const TBytes rebuilt = BuildIdListArray(read->Parent, read->Items);
  const auto reread = ReadIdListArray(rebuilt);
  Require(reread.has_value(), "a block built from what was read reads");
  Require(SameLists(*read, *reread), "a block built from what was read has the same lists");
  Require(BuildIdListArray(reread->Parent, reread->Items) == rebuilt, "a built block builds again the same");
}

// The units the names and the final terminator take, 8-bit or wide.
std::size_t NameUnits(const std::vector<std::string>& names) {
  std::size_t units = 1;
  for (const std::string& name : names) units += name.size() + 1;
  return units;
}

void CheckFileDrop(TByteView block) {
  const auto names = ReadFileDropBlock(block);
  if (!names) return;
  const std::size_t start = block[0] | block[1] << 8 | block[2] << 16 | static_cast<std::size_t>(block[3]) << 24;
  const bool wide = std::any_of(block.begin() + 16, block.begin() + 20, [](std::uint8_t b) { return b != 0; });
  Require(start >= 20 && start < block.size(), "the names start after the header");
  Require(NameUnits(*names) * (wide ? 2 : 1) <= block.size() - start, "the names lie inside the block");
  for (const std::string& name : *names)
    Require(!name.empty() && name.find('\0') == std::string::npos, "a name read is neither empty nor holds a NUL");

  const TBytes rebuilt = BuildFileDropBlock(*names);
  if (!wide) {
    const TByteView read = block.subspan(start, rebuilt.size() - 20);
    Require(Same(read, TByteView(rebuilt).subspan(20)), "8-bit names are the block's own bytes");
  }
  Require(ReadFileDropBlock(rebuilt) == names, "names built into a block read back the same");
}

}  // namespace

// The same bytes as an identifier-list block and as a file-drop block.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TByteView block(data, size);
  CheckIdListArray(block);
  CheckFileDrop(block);
  return 0;
}
