#pragma once

#include <string>

namespace retrove::bench {

// The program's windows, made and shown as at start.
void CreateForms();

// The deleted-files list in Details (or List) view, as a click on the tool
// bar's button puts it.
void ChooseView(bool details);

// Sorts the listed folder by Name, Size and Deleted, ascending then
// descending, and prints one line per sort: its time and the longest stall.
int SortTimings(const std::string& folder);

}  // namespace retrove::bench
