#pragma once

#include <string>

namespace retrove {

// True while selected files are being brought back; a listing that would
// start then (from a tree change while a failure box is open) is refused,
// because it would free the listed entries the recovery still works on.
extern bool RecoveryBusy;

// Brings the selected rows of the main window's list back into `path`, the
// folder they were listed from.
void RecoverSelectedFiles(std::string path);

}  // namespace retrove
