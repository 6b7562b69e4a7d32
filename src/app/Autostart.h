#pragma once
// The program's autostart entry: an XDG autostart file named ZELK.desktop
// in $XDG_CONFIG_HOME/autostart (or ~/.config/autostart) that starts the
// executable when the user logs in.  The program renews it at every start
// unless the user turned autostart off.

#include <string>

namespace zelk {

inline constexpr const char* kAutostartEntryName = "ZELK";

// Full path of the entry file; empty when neither XDG_CONFIG_HOME (absolute)
// nor HOME is set.
std::string AutostartEntryPath();

// Text of the desktop entry that runs `executablePath`, with an Icon= line
// for `iconPath` when it is not empty.
std::string AutostartEntryText(const std::string& executablePath,
                               const std::string& iconPath = {});

// Writes the entry (creating the directories), replacing it whole so that a
// failed write never leaves half a file.  Returns false on any failure;
// start-up ignores the result.
bool RenewAutostartEntry(const std::string& executablePath, const std::string& iconPath = {});

// Deletes the entry.  True when it is gone (also when there was none).
bool RemoveAutostartEntry();

}  // namespace zelk
