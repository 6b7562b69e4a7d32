#pragma once
#include <string>

#include "platform/ProgramPlaces.h"

namespace zelk {

// The first step of start-up, before the settings are read: deletes a
// leftover "Logo.tif" beside a portable program (an installed one never
// writes beside its executable) and creates the directory the result lists
// go to, with its parents (the user's data directory may not exist yet).
// Every failure is ignored and leaves things as they were.  The autostart
// entry is renewed later, only once the settings file has loaded
// (AutostartChoice.h): a program that cannot start must not be started at
// every login.
void StartupHousekeeping(const ProgramPlaces& places);

// The running executable as it lies in `executableDir`: the directory
// followed by the executable's own file name.
std::string ExecutablePathIn(const std::string& executableDir);

}  // namespace zelk
