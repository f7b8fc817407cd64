#include "ListFilter.h"

#include "PropertyTable.h"

namespace retrove {

const TClassInfo& TListFilter::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TListFilter>("TListFilter", TComponent::StaticClassInfo())
                                     .String("Pattern", &TListFilter::Pattern, &TListFilter::SetPattern)
                                     .Build();
  return info;
}

std::string ListHeader(const std::string& folder, const TNameFilter& filter) {
  std::string header = "Deleted Contents of '" + folder + "'";
  if (!filter.Empty()) header += " \x97 " + filter.Text();
  return header;
}

std::string ListCount(int shown, int listed, const TNameFilter& filter) {
  if (filter.Empty()) return std::to_string(shown) + " file(s)";
  return std::to_string(shown) + " of " + std::to_string(listed) + " file(s)";
}

}  // namespace retrove
