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

std::string EmptyListText(const TNWDeletedFileList* entries, int shown, const TNameFilter& filter) {
  if (!entries || shown > 0) return {};
  if (entries->Outcome() == TListingOutcome::NotNetWare) return "This folder is not on a NetWare volume.";
  if (entries->Count() > 0 && !filter.Empty()) return "No deleted files match the filter.";
  switch (entries->Outcome()) {
    case TListingOutcome::Stopped: return "Listing stopped.";
    case TListingOutcome::Complete: return "There are no deleted files in this folder.";
    default: return "The deleted files of this folder could not be listed.";
  }
}

}  // namespace retrove
