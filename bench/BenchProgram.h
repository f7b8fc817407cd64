#pragma once

#include <string>

namespace retrove::bench {

// The program's windows, made and shown as at start.
void CreateForms();

// The deleted-files list in Large Icons, List or Details view ("icons",
// "list", "details"), as a click on the tool bar's button puts it.
void ChooseView(const std::string& mode);

// Selects `folder` in the folder tree, as the user does: the program lists
// the tree's folder, and stops a listing of any other when the tree
// refreshes itself. False, with a message, when there is no such folder.
bool SelectInTree(const std::string& folder);

// Paints what the steps before a case left to paint, as the window has done
// by the time the user clicks; the listing a selection posts stays queued.
void PaintPending();

// Sorts the listed folder by Name, Size and Deleted, ascending then
// descending, and prints one line per sort: its time and the longest stall.
int SortTimings(const std::string& folder);

// Lists the folder in Details and filters its rows by several patterns
// and none; prints one line per filter: its time and the scan calls made.
int FilterTimings(const std::string& folder);

// Selects `folder` through the combo box and times fills of the combo box
// for it; prints one line.
int ComboRefills(const std::string& folder);

// Recovers or purges every tenth entry of `folder` through the program,
// with the rows selected in the listed folder, or in a bare loop of client
// calls; prints one line.
enum class TSalvage { Recover, Purge };
int ProgramSalvage(const std::string& folder, TSalvage command);
int BareSalvage(const std::string& folder, TSalvage command);

// Expands `folder`, a folder of many subfolders, in the main window's tree
// and times resyncs of the unchanged tree; prints one line.
int TreeResync(const std::string& folder);

}  // namespace retrove::bench
