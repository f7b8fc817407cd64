#include "DetailText.h"

namespace retrove {

std::string FormatKilobytes(std::uint64_t size, char thousandSeparator) {
  const std::uint64_t kilobytes = size / 1024 + (size % 1024 != 0 ? 1 : 0);
  const std::string digits = std::to_string(kilobytes);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0 && thousandSeparator) text += thousandSeparator;
    text += digits[i];
  }
  return text + "KB";
}

}  // namespace retrove
