#pragma once

#include <string>

namespace retrove::bench {

// The program's windows, made and shown as at start.
void CreateForms();

// The deleted-files list in Large Icons, List or Details view ("icons",
// "list", "details"), as a click on the tool bar's button puts it.
void ChooseView(const std::string& mode);

// Sorts the listed folder by Name, Size and Deleted, ascending then
// descending, and prints one line per sort: its time and the longest stall.
int SortTimings(const std::string& folder);

// Selects `folder` through the combo box and times fills of the combo box
// for it; prints one line.
int ComboRefills(const std::string& folder);

}  // namespace retrove::bench
