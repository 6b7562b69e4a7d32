#include "platform/UserConfigDirectory.h"

#include <cstdlib>
#include <filesystem>

namespace zelk {

std::string UserConfigDirectory() {
  // A relative XDG_CONFIG_HOME is invalid under the XDG base directory rules and ignored.
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return (std::filesystem::path(home) / ".config").string();
}

}  // namespace zelk
