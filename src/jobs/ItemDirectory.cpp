#include "jobs/ItemDirectory.h"

#include <filesystem>
#include <system_error>

#include "scan/PathHelpers.h"

namespace zelk {
namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The highest missing level of `path`, or empty when it exists.
std::string HighestMissingLevel(const std::string& path) {
  fs::path missing;
  for (fs::path level = fs::path(path).lexically_normal(); !level.empty() && !Exists(level);
       level = level.parent_path()) {
    missing = level;
    if (level == level.parent_path()) break;
  }
  return missing.string();
}

}  // namespace

ItemDirectory::ItemDirectory(std::string path)
    : path_(std::move(path)), created_(HighestMissingLevel(path_)) {
  try {
    MakeDirPath(path_);
  } catch (...) {
    Keep();  // what exists now was not necessarily made here
    throw;
  }
}

ItemDirectory::~ItemDirectory() {
  if (created_.empty()) return;
  std::error_code ignored;
  fs::remove_all(created_, ignored);
}

}  // namespace zelk
