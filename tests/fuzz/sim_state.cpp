// The development server's state file is text anyone can edit. It either
// reads whole or is refused with a FormatError, and a state that reads
// writes out as a file that reads back to the same state.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "StateText.h"
#include "Text.h"

using namespace nwsim;
using retrove::fuzz::Require;

namespace {

bool Reads(std::string_view text, State& state) {
  try {
    state = ParseState(text);
    return true;
  } catch (const FormatError&) {
    return false;
  }
}

// A format-2 file's entries, which the server moves into folder files on
// its first write.
void CheckInlineEntries(const State& state) {
  uint32_t last = 0;
  for (const DeletedEntry& entry : state.inlineDeleted) {
    Require(IsValidEntryName(entry.name), "an inline entry has a name a folder can hold");
    Require(entry.sequence > last && entry.sequence < state.nextSequence,
            "inline entries are in deletion order, behind the counter");
    last = entry.sequence;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view firstLine = text.substr(0, text.find('\n'));
  const bool headerReads = ParseStateHeader(firstLine).has_value();
  State state;
  if (!Reads(text, state)) return 0;
  Require(headerReads, "a state that reads has a header that reads");
  Require(state.entriesInline || state.inlineDeleted.empty(), "only a format-2 file holds entries");
  CheckInlineEntries(state);
  state.entriesInline = false;
  state.inlineDeleted.clear();

  const std::string written = FormatState(state);
  State again;
  Require(Reads(written, again), "a state that reads writes out as a file that reads");
  Require(FormatState(again) == written, "a written state reads back the same");
  Require(again.generation == state.generation && again.nextSequence == state.nextSequence,
          "the counters survive a write");
  return 0;
}
