#include "run/ErrorTree.h"

#include <filesystem>
#include <system_error>

#include "scan/PathHelpers.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

fs::path TargetOf(const std::string& file, const std::string& directory) {
  MakeDirPath(directory);
  return fs::path(directory) / fs::path(file).filename();
}

}  // namespace

void CopyDirectoryInto(const std::string& source, const std::string& target) {
  if (!fs::is_directory(fs::symlink_status(source))) {
    throw fs::filesystem_error("not a directory", source,
                               std::make_error_code(std::errc::not_a_directory));
  }
  MakeDirPath(target);
  fs::copy(source, target,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing |
               fs::copy_options::copy_symlinks);
}

void CopyFileInto(const std::string& file, const std::string& directory) {
  const fs::path target = TargetOf(file, directory);
  fs::copy_file(file, target, fs::copy_options::overwrite_existing);
}

void MoveFileInto(const std::string& file, const std::string& directory) {
  const fs::path target = TargetOf(file, directory);
  std::error_code error;
  fs::rename(file, target, error);
  if (!error) return;
  if (error != std::errc::cross_device_link) throw fs::filesystem_error("cannot move", file, target, error);
  // Another file system: a complete copy under a passing name, put in place
  // by a rename, and only then is the source removed.
  fs::path passing = target;
  passing += ".moving";
  try {
    fs::copy_file(file, passing, fs::copy_options::overwrite_existing);
    fs::rename(passing, target);
  } catch (...) {
    fs::remove(passing, error);
    throw;
  }
  fs::remove(file);
}

}  // namespace zelk
