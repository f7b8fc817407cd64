#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "FormatSettings.h"
#include "NwDeletedRecord.h"

namespace retrove {

// The texts of the Details view's columns after the name, for one deleted
// entry: size, deleted, deleted by, owner, last access, created,
// attributes, archived, archived by, updated, updated by. A listing writes
// them for row after row into one buffer, and the long date of a day is
// written once however many dates fall on it.
class TDetailTexts {
public:
  static constexpr size_t kCount = 11;

  explicit TDetailTexts(const TFormatSettings& settings);

  // Valid until the next call.
  std::span<const std::string_view, kCount> Of(const TNWDeletedFileInfo& info);

private:
  void AppendDateTime(TDateTime value);
  const std::string& LongDate(TDateTime value);

  TFormatSettings FSettings;
  std::vector<TDatePatternPart> FLongDate;
  std::unordered_map<int64_t, std::string> FDays;
  std::string FBuffer;
  std::array<std::string_view, kCount> FTexts;
};

}  // namespace retrove
