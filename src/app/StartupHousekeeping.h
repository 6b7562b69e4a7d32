#pragma once
#include <string>

namespace zelk {

// The first step of start-up, before the settings are read: deletes a
// leftover "Logo.tif" from the program directory, creates the "Logs"
// directory the result lists go to, and renews the autostart entry for
// `executablePath`.  Every failure is ignored and leaves things as they were.
void StartupHousekeeping(const std::string& programDir, const std::string& executablePath);

// The running executable as it lies in `programDir`: the directory followed
// by the executable's own file name.
std::string ExecutablePathIn(const std::string& programDir);

}  // namespace zelk
