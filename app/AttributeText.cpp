#include "AttributeText.h"

namespace retrove {

namespace {

struct TAttributeMark {
  uint32_t Bit;
  const char* Set;
  const char* Clear;
};

constexpr TAttributeMark kMarks[] = {
    {0x01, "Ro", "  "}, {0x02, "H", " "}, {0x04, "S", " "},   {0x08, "Eo", "  "},
    {0x10, "D", " "},   {0x80, "Sh", "  "}, {0x1000, "T", " "},
};

}  // namespace

std::string AttributeString(uint32_t attributes) {
  std::string text;
  for (const TAttributeMark& mark : kMarks) text += (attributes & mark.Bit) ? mark.Set : mark.Clear;
  return text;
}

}  // namespace retrove
