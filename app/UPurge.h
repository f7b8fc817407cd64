#pragma once

#include <vector>

#include "UMain.h"

namespace retrove {

// True while listed files are being purged; a listing or a recovery that
// would start then is refused, because it would free or use the entries the
// purge works on.
extern bool PurgeBusy;

// Purges the listed rows' own entries for good, once the user has said Yes:
// the selected rows, or every row. A file the server will not purge is
// named in a message and the rest go on. Nothing happens while a listing or
// a recovery runs, or when the client cannot purge.
void PurgeListedFiles(bool allRows);

// The purge itself, without the question: each row's own entry, and a
// message naming a file the server will not purge.
void PurgeRows(const std::vector<TListedRow>& rows);

}  // namespace retrove
