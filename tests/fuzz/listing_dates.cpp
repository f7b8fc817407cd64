// Every date-time the listing shows must read back as the date-time it
// shows, and sort among the others as the times themselves do; the server
// can report any date from year 1 to 9999 at any millisecond.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include "CellText.h"
#include "FuzzCheck.h"
#include "FuzzSettings.h"
#include "Nwtools.h"
#include "SortKeys.h"

using namespace retrove;
using retrove::fuzz::AllSettings;
using retrove::fuzz::Require;

namespace {

constexpr std::size_t kMomentBytes = 10;

// Year, month, day, hour, minute, second, millisecond, then a signed nudge
// of up to a millisecond either way, so that values fall between the
// milliseconds and next to midnight as a computed time can.
TDateTime MomentFrom(const std::uint8_t* at) {
  const int year = 1 + (at[0] | at[1] << 8) % 9999;
  const int month = 1 + at[2] % 12;
  const int day = 1 + at[3] % DaysInAMonth(year, month);
  const TDateTime exact =
      EncodeDateTime({year, month, day}, {at[4] % 24, at[5] % 60, at[6] % 60, (at[7] | at[8] << 8) % 1000});
  const double nudge = static_cast<std::int8_t>(at[9]) * 1e-10;
  const TDateTime nudged = exact >= 0 ? exact + nudge : exact - nudge;
  // A nudge off the first or last day would leave the years there are.
  const double wholeDay = std::trunc(nudged);
  return wholeDay < EncodeDate(1, 1, 1) || wholeDay > EncodeDate(9999, 12, 31) ? exact : nudged;
}

using TShown = std::tuple<int, int, int, int, int>;

// What the listing's text says of a value: the date and the minute.
TShown Shown(TDateTime value) {
  const TDateParts date = DecodeDate(value);
  const TTimeParts time = DecodeTime(value);
  return {date.Year, date.Month, date.Day, time.Hour, time.Minute};
}

// A two-digit year reads back only inside its window.
bool ShowsReadableYear(const TFormatSettings& settings, TDateTime value) {
  const int year = DecodeDate(value).Year;
  return EffectiveLongDatePattern(settings).find("yyy") != std::string::npos || (year >= 1950 && year <= 2049);
}

// A two-digit year outside its window may read as another century's date
// of the same day name, so it has no key to check.
std::optional<TSortKey> CheckReadBack(const TSortKeyMaker& maker, const TFormatSettings& settings,
                                      TDateTime value) {
  if (!ShowsReadableYear(settings, value)) return std::nullopt;
  const std::string text = DateTimeText(value);
  const TSortKey key = maker.KeyOf(text);
  TDateTime read = 0;
  Require(TDateTextReader(settings).ReadListingDateTime(text, read), "the listing reads its own date-times");
  Require(Shown(read) == Shown(value), "a date-time reads back as the one shown");
  Require(DateTimeText(read) == text, "a date-time read back is shown the same");
  Require(key.Class == TCellClass::DateTime, "a shown date-time sorts as a date-time");
  return key;
}

}  // namespace

// One byte for the format settings, then two moments.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 + 2 * kMomentBytes) return 0;
  const TFormatSettings& settings = AllSettings()[data[0] % AllSettings().size()];
  SetFormatSettings(settings);
  const TSortKeyMaker maker(settings, BytewiseCollation);
  const TDateTime first = MomentFrom(data + 1);
  const TDateTime second = MomentFrom(data + 1 + kMomentBytes);
  const std::optional<TSortKey> firstKey = CheckReadBack(maker, settings, first);
  const std::optional<TSortKey> secondKey = CheckReadBack(maker, settings, second);
  if (firstKey && secondKey) {
    const int shownOrder = Shown(first) < Shown(second) ? -1 : Shown(second) < Shown(first) ? 1 : 0;
    Require(CompareSortKeys(*firstKey, *secondKey) == shownOrder, "date-times sort as the times they show");
  }
  return 0;
}
