// Stored integers and the four-number placement values come back from the
// registry, where anything may have been written by hand; what is read must
// be the number written, and never one that wrapped around 32 bits.

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "PlacementText.h"

using namespace retrove;
using retrove::fuzz::Require;

namespace {

using TFour = std::array<int32_t, 4>;

bool AllDecimal(std::string_view digits) {
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool AllHexadecimal(std::string_view digits) {
  return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); });
}

// The C library's reading, with its own overflow report, as a second
// opinion on the product's own digit loop.
std::optional<int32_t> ExpectedDecimal(std::string_view text) {
  const std::size_t signs = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (!AllDecimal(text.substr(signs))) return std::nullopt;
  const std::string copy(text);
  errno = 0;
  const long long value = std::strtoll(copy.c_str(), nullptr, 10);
  if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<int32_t> ExpectedHexadecimal(std::string_view digits) {
  if (digits.size() > 8 || !AllHexadecimal(digits)) return std::nullopt;
  const std::string copy(digits);
  return static_cast<int32_t>(static_cast<uint32_t>(std::strtoull(copy.c_str(), nullptr, 16)));
}

std::optional<int32_t> ExpectedInteger(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ExpectedHexadecimal(text.substr(2));
  return ExpectedDecimal(text);
}

void CheckInteger(std::string_view text) {
  const std::optional<int32_t> value = StoredInteger(text);
  Require(value == ExpectedInteger(text), "an integer reads as the C library reads it, within 32 bits");
  if (value) Require(StoredInteger(std::to_string(*value)) == value, "an integer written in decimal reads back");
}

// Words split one character at a time, as a second opinion on the product's
// scanning by positions.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words(1);
  for (char c : text) {
    if (c != ' ' && c != ',')
      words.back() += c;
    else if (!words.back().empty())
      words.emplace_back();
  }
  if (words.back().empty()) words.pop_back();
  return words;
}

TFour Complement(const TFour& values) {
  TFour complement{};
  std::transform(values.begin(), values.end(), complement.begin(), [](int32_t v) { return ~v; });
  return complement;
}

void CheckFourNumbers(std::string_view text) {
  const TFour fallback{10, -20, 0x7FFFFFFF, INT32_MIN};
  const TFour values = FourNumbers(text, fallback);
  const std::vector<std::string> words = Words(text);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::optional<int32_t> expected = i < words.size() ? ExpectedInteger(words[i]) : std::nullopt;
    Require(values[i] == expected.value_or(fallback[i]), "each word is its number, else its fallback");
  }
  // Any entry that fell back would show as its complement.
  Require(FourNumbers(FourNumberText(values), Complement(values)) == values, "four numbers written read back");
}

}  // namespace

// The whole input is one stored text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckInteger(text);
  CheckFourNumbers(text);
  return 0;
}
