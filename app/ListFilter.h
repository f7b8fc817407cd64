#pragma once

#include <string>

#include "Component.h"
#include "NameFilter.h"
#include "NWServer.h"

namespace retrove {

// The main window's filter of listed names, as a component so that its
// Pattern is kept with the window's other settings.
class TListFilter : public TComponent {
public:
  explicit TListFilter(TComponent* owner) : TComponent(owner) {}

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // The patterns as the filter understood them ("" when there are none).
  const std::string& Pattern() const { return FFilter.Text(); }
  void SetPattern(const std::string& text) { FFilter = TNameFilter(text); }
  const TNameFilter& Filter() const { return FFilter; }

private:
  TNameFilter FFilter;
};

// The line above the list: the folder listed and, when a filter is on, its
// pattern.
std::string ListHeader(const std::string& folder, const TNameFilter& filter);
// The status bar's count: "N file(s)", or "N of M file(s)" while a filter
// hides some of the M listed files from view.
std::string ListCount(int shown, int listed, const TNameFilter& filter);
// What the list says while it shows no rows: why, from how the listing of
// `entries` ended. Empty while rows show, and before any listing.
std::string EmptyListText(const TNWDeletedFileList* entries, int shown, const TNameFilter& filter);

}  // namespace retrove
