#pragma once

namespace retrove {

// Names of the resources in Retrove.rc.
inline constexpr char kProgramIcon[] = "MAINICON";
inline constexpr char kToolBarImages[] = "EXPIMAGE";

}  // namespace retrove
