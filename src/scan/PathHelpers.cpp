#include "scan/PathHelpers.h"

#include <filesystem>
#include <system_error>

namespace zelk {
namespace {

namespace fs = std::filesystem;

std::size_t AfterLastSeparator(std::string_view path) {
  const std::size_t pos = path.rfind(kPathSeparator);
  return pos == std::string_view::npos ? 0 : pos + 1;
}

// Makes sure `level` is a directory, creating it when nothing is there.
void EnsureDirectory(const std::string& level) {
  std::error_code error;
  const fs::file_status status = fs::status(level, error);
  if (fs::is_directory(status)) return;
  if (fs::exists(status)) {
    throw fs::filesystem_error("cannot create directory, a file is in the way", level,
                               std::make_error_code(std::errc::not_a_directory));
  }
  if (error && error != std::errc::no_such_file_or_directory) {
    throw fs::filesystem_error("cannot create directory", level, error);
  }
  if (!fs::create_directory(level, error) && error) {
    throw fs::filesystem_error("cannot create directory", level, error);
  }
}

}  // namespace

std::string GetParentPath(std::string_view path) {
  return std::string(path.substr(0, AfterLastSeparator(path)));
}

std::string GetFileNamePart(std::string_view path) {
  return std::string(path.substr(AfterLastSeparator(path)));
}

std::string GetBaseName(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::string GetExtName(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return std::string(dot == std::string_view::npos ? fileName : fileName.substr(dot + 1));
}

// Walks the path one part at a time: "a/b/c" looks at "a", "a/b" and
// "a/b/c".  With a leading separator the first, empty part is the root.
void MakeDirPath(const std::string& path) {
  if (path.empty()) {
    throw fs::filesystem_error("cannot create directory", path,
                               std::make_error_code(std::errc::invalid_argument));
  }
  std::string level;
  std::size_t start = 0;
  if (path.front() == kPathSeparator) {
    level = kPathSeparator;
    start = 1;
  }
  while (start <= path.size()) {
    std::size_t end = path.find(kPathSeparator, start);
    if (end == std::string::npos) end = path.size();
    if (!level.empty() && level.back() != kPathSeparator) level += kPathSeparator;
    level.append(path, start, end - start);
    if (!level.empty()) EnsureDirectory(level);
    start = end + 1;
  }
}

}  // namespace zelk
