#include "filesafety/CreatedDirectories.h"

#include <system_error>

namespace zelk {
namespace fs = std::filesystem;

fs::path HighestMissingDirectory(const fs::path& directory) {
  fs::path missing;
  std::error_code error;
  for (fs::path level = directory.lexically_normal(); !level.empty();
       level = level.parent_path()) {
    if (level.filename().empty() && level.has_parent_path() && level != level.parent_path()) {
      continue;  // "a/b/" names "a/b"
    }
    if (fs::exists(fs::symlink_status(level, error))) break;
    missing = level;
    if (level == level.parent_path()) break;
  }
  return missing;
}

void RemoveEmptyDirectories(const fs::path& deepest, const fs::path& highest) {
  if (highest.empty()) return;
  const fs::path top = highest.lexically_normal();
  std::error_code error;
  for (fs::path level = deepest.lexically_normal(); !level.empty(); level = level.parent_path()) {
    if (level.filename().empty() && level != level.parent_path()) continue;
    // fs::remove refuses a directory that is not empty: it stays.
    if (!fs::remove(level, error) || level == top) break;
    if (level == level.parent_path()) break;
  }
}

}  // namespace zelk
