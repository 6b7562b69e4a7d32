#include "run/ErrorTree.h"

#include <cerrno>
#include <optional>
#include <system_error>

#include "filesafety/AbandonedFiles.h"
#include "filesafety/DirectoryBeneath.h"
#include "filesafety/DurableFiles.h"
#include "filesafety/OutputTransaction.h"
#include "filesafety/TreeCopy.h"
#include "run/FailureReason.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

// More numbered names than any Error tree holds: beyond it something other
// than taken names keeps the rename from succeeding.
constexpr int kLastNumber = 100000;

fs::filesystem_error NoFreeName(const fs::path& first) {
  return fs::filesystem_error("no free name in the Error tree", first,
                              std::make_error_code(std::errc::file_exists));
}

std::error_code ErrnoCode(int error) { return {error, std::generic_category()}; }

// The path of `file` in `directory`, the directory created when missing.
fs::path TargetOf(const std::string& root, const std::string& file, const std::string& directory) {
  DirectoryBeneath::Open(root, directory, true);
  return fs::path(directory) / fs::path(file).filename();
}

// The first name of the family of `first` that already holds what `source`
// holds; the search ends at the first free name.
std::optional<fs::path> EarlierCopyOf(const fs::path& source, const fs::path& first,
                                      bool directory) {
  for (int number = 1; number <= kLastNumber; ++number) {
    const fs::path candidate = NumberedErrorName(first, number, directory);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(candidate, error))) return std::nullopt;
    if (SameTree(source, candidate)) return candidate;
  }
  return std::nullopt;
}

// Renames the finished `temporary` to the first free name of the family of
// `first` and syncs the directory.  With `sameAs`, a name taken meanwhile
// (by another run) that holds the same content ends the search, and the
// temporary copy is dropped.
fs::path PlaceUnderFreeName(const fs::path& temporary, const fs::path& first, bool directory,
                            const fs::path* sameAs) {
  for (int number = 1; number <= kLastNumber; ++number) {
    const fs::path candidate = NumberedErrorName(first, number, directory);
    const int error = RenameWithoutReplacing(temporary.string(), candidate.string());
    if (error == 0) {
      SyncDirectory(candidate.parent_path());
      return candidate;
    }
    if (error != EEXIST) {
      throw fs::filesystem_error("cannot rename", temporary, candidate, ErrnoCode(error));
    }
    if (sameAs != nullptr && SameTree(*sameAs, candidate)) {
      fs::remove_all(temporary);
      return candidate;
    }
  }
  throw NoFreeName(first);
}

// Copies `source` whole under a temporary name beside `first`, syncs it and
// renames it to a free name of the family; a copy that cannot be finished
// is removed.
fs::path CopyThenPlace(const fs::path& source, const fs::path& first, bool directory,
                       const fs::path* sameAs) {
  SweepBeforeWriting(first.parent_path());
  const fs::path temporary = TemporaryPathBeside(first);
  try {
    CopyTree(source, temporary);
    if (directory) SyncTree(temporary);
    return PlaceUnderFreeName(temporary, first, directory, sameAs);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(temporary, ignored);
    throw;
  }
}

fs::path CopyUnlessKept(const fs::path& source, const fs::path& first, bool directory) {
  if (const std::optional<fs::path> earlier = EarlierCopyOf(source, first, directory)) {
    return *earlier;
  }
  return CopyThenPlace(source, first, directory, &source);
}

// A full disk or an exhausted quota: the target's, not the entry's.
bool DiskFull(const std::error_code& code) {
  const std::error_condition condition = code.default_error_condition();
  return condition == std::errc::no_space_on_device ||
         condition == std::error_condition(EDQUOT, std::generic_category());
}

}  // namespace

fs::path NumberedErrorName(const fs::path& path, int number, bool directory) {
  if (number <= 1) return path;
  const std::string name = path.filename().string();
  const std::string mark = " (" + std::to_string(number) + ")";
  const std::size_t dot = directory ? std::string::npos : name.rfind('.');
  // A name without an extension, or one that is all extension (".notes"),
  // takes the number at its end.
  if (dot == std::string::npos || dot == 0) return path.parent_path() / (name + mark);
  return path.parent_path() / (name.substr(0, dot) + mark + name.substr(dot));
}

fs::path CopyDirectoryInto(const std::string& root, const std::string& source,
                           const std::string& target) {
  if (!fs::is_directory(fs::symlink_status(source))) {
    throw fs::filesystem_error("not a directory", source,
                               std::make_error_code(std::errc::not_a_directory));
  }
  fs::path first(target);
  if (!first.has_filename()) first = first.parent_path();
  DirectoryBeneath::Open(root, first.parent_path(), true);
  return CopyUnlessKept(source, first, true);
}

fs::path CopyFileInto(const std::string& root, const std::string& file,
                      const std::string& directory) {
  return CopyUnlessKept(file, TargetOf(root, file, directory), false);
}

fs::path MoveFileInto(const std::string& root, const std::string& file,
                      const std::string& directory) {
  const fs::path first = TargetOf(root, file, directory);
  const fs::path source(file);
  for (int number = 1; number <= kLastNumber; ++number) {
    const fs::path candidate = NumberedErrorName(first, number, false);
    const int error = RenameWithoutReplacing(file, candidate.string());
    if (error == 0) {
      SyncDirectory(candidate.parent_path());
      SyncDirectory(source.parent_path());
      return candidate;
    }
    if (error == EXDEV) {
      // Another file system: the copy is in place before the source goes.
      const fs::path placed = CopyThenPlace(source, first, false, nullptr);
      fs::remove(source);
      SyncDirectory(source.parent_path());
      return placed;
    }
    if (error != EEXIST) {
      throw fs::filesystem_error("cannot move", source, candidate, ErrnoCode(error));
    }
  }
  throw NoFreeName(first);
}

std::string ErrorTreeFailureReason(const std::exception& error, const std::string& item) {
  const auto* fileError = dynamic_cast<const fs::filesystem_error*>(&error);
  if (fileError == nullptr) return FailureReasonOf(error).Text;
  // A full disk is the target's; for other errors the entry that failed
  // is named.
  const std::optional<std::string> known = SystemReasonText(fileError->code());
  if (known && DiskFull(fileError->code())) return *known;
  std::string reason = known ? *known : fileError->code().message();
  const fs::path& where = fileError->path1();
  if (!where.empty() && where != fs::path(item)) reason += "（" + where.string() + "）";
  return reason;
}

}  // namespace zelk
