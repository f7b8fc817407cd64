#pragma once

#include <functional>
#include <optional>
#include <string>

namespace retrove {

// The name a deleted file comes back under: its own when `exists` says no
// live file has it, otherwise the first free of base~1.ext, base~2.ext, ...
// where the base keeps 8 minus the digits of the number characters. None
// when every candidate up to 9,999,999 is taken, and none for a name that
// is not a plain file name (see IsPlainFileName), which is never asked of
// `exists`.
std::optional<std::string> RecoveryName(const std::string& name, const std::function<bool(const std::string&)>& exists);

// True for one file name in one folder. A separator, a drive colon, a
// wildcard, a control character or a name of "." or ".." would make the
// check for a live file in the way look at another path than the one the
// server recovers into.
bool IsPlainFileName(const std::string& name);

// Candidate k for `name` (k >= 1), e.g. REPORTER.TXT, 1 -> REPORTE~1.TXT.
std::string DerivedName(const std::string& name, int k);

}  // namespace retrove
