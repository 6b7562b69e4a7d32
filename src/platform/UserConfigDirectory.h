#pragma once
// The user's configuration directory of the XDG base directory rules:
// $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.  The
// autostart entry and the window's per-user preferences live below it.

#include <string>

namespace zelk {

// Empty when neither an absolute XDG_CONFIG_HOME nor HOME is set.
std::string UserConfigDirectory();

}  // namespace zelk
