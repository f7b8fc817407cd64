#include "DetailTexts.h"

#include "AttributeText.h"
#include "Nwtools.h"

namespace retrove {

namespace {

// A listing's dates fall on far fewer days than this; a long scan of dates
// all different must not keep every one.
constexpr size_t kMostDaysKept = 4096;

// What a long date's text depends on: the date and the day of the week.
int64_t DayKey(TDateTime value) {
  const TDateParts date = DecodeDate(value);
  return ((int64_t{date.Year} * 13 + date.Month) * 32 + date.Day) * 7 + DayOfWeekIndex(value);
}

}  // namespace

TDetailTexts::TDetailTexts(const TFormatSettings& settings)
    : FSettings(settings), FLongDate(SplitDatePattern(EffectiveLongDatePattern(settings))) {}

const std::string& TDetailTexts::LongDate(TDateTime value) {
  const int64_t key = DayKey(value);
  const auto known = FDays.find(key);
  if (known != FDays.end()) return known->second;
  if (FDays.size() >= kMostDaysKept) FDays.clear();
  return FDays.emplace(key, FormatDate(FLongDate, value, FSettings)).first->second;
}

void TDetailTexts::AppendDateTime(TDateTime value) {
  FBuffer.append(LongDate(value)).append(" ").append(ShortTimeText(value));
}

std::span<const std::string_view, TDetailTexts::kCount> TDetailTexts::Of(const TNWDeletedFileInfo& info) {
  FBuffer.clear();
  std::array<size_t, kCount + 1> ends{};
  size_t next = 0;
  const auto text = [&](std::string_view part) {
    FBuffer.append(part);
    ends[++next] = FBuffer.size();
  };
  const auto dateTime = [&](TDateTime value) {
    AppendDateTime(value);
    ends[++next] = FBuffer.size();
  };
  // The server counts a file's bytes in 32 bits without a sign: a file of
  // 2 GiB or more is large, not negative.
  text(std::to_string(static_cast<uint32_t>(info.FileSize)));
  dateTime(info.DeletedDateTime);
  text(info.Deletor);
  text(info.Owner);
  dateTime(info.LastAccessDate);
  dateTime(info.CreationDateTime);
  text(AttributeString(info.Attributes));
  dateTime(info.ArchiveDateTime);
  text(info.Archiver);
  dateTime(info.UpdateDateTime);
  text(info.Updater);
  const std::string_view all(FBuffer);
  for (size_t i = 0; i < kCount; ++i) FTexts[i] = all.substr(ends[i], ends[i + 1] - ends[i]);
  return FTexts;
}

}  // namespace retrove
