#pragma once
#include <string>

namespace zelk {

// The first step of start-up, before the settings are read: deletes a
// leftover "Logo.tif" from the program directory and creates the "Logs"
// directory the result lists go to.  Every failure is ignored and leaves
// things as they were.  The autostart entry is renewed later, only once the
// settings file has loaded (AutostartChoice.h): a program that cannot start
// must not be started at every login.
void StartupHousekeeping(const std::string& programDir);

// The running executable as it lies in `programDir`: the directory followed
// by the executable's own file name.
std::string ExecutablePathIn(const std::string& programDir);

}  // namespace zelk
