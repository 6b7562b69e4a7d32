#include "scan/FileTraversal.h"

#include <vector>

#include "scan/DirectoryListing.h"
#include "scan/MirroredPath.h"
#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"
#include "scan/SourceNames.h"

namespace zelk {
namespace {

int PageCountOrUnknown(const ScanOptions& options, const std::string& path) {
  if (!options.PageCount) return WorkRow::kUnknownPages;
  try {
    return options.PageCount(path);
  } catch (...) {
    // The job's own reading of the file decides its fate.
    return WorkRow::kUnknownPages;
  }
}

}  // namespace

std::string FileResultBase(const std::string& file, const ScanOptions& options) {
  const std::string directory = NormalizeRoot(GetParentPath(file));
  return JoinPath(MirrorPath(directory, options.SourceRoot, options.TargetRoot),
                  GetBaseName(GetFileNamePart(file)));
}

bool FileIsDone(const std::string& file, const ScanOptions& options) {
  const std::string base = FileResultBase(file, options);
  if (options.TargetType.empty()) return PathExists(base);
  return FileExists(base + "." + options.TargetType);
}

void FileTraversal(const std::string& directory, const ScanOptions& options, WorkList& rows,
                   ScanObserver* observer) {
  std::vector<std::string> subdirectories;
  std::vector<DirEntry> entries;
  if (!ListDirectory(directory, entries)) {
    ReportUnreadable(options, directory);
    return;
  }
  for (const DirEntry& entry : entries) {
    if (ScanShouldStop(options)) return;
    const std::string path = JoinPath(directory, entry.Name);
    if (entry.IsPlainDirectory()) {
      subdirectories.push_back(path);
      continue;
    }
    if (!entry.IsFile() || !IsAcceptedSourceName(entry.Name) ||
        IsTemporaryName(options, entry.Name)) {
      continue;
    }
    if (!Admitted(options, path) || FileIsDone(path, options) || StillSettling(options, path)) {
      continue;
    }
    // A link that leaves the source root is a row, for the run to fail with
    // its reason, but nothing is read through it.
    const bool leaves = LinkLeavesRoot(path, options.SourceRoot);
    AppendRow(rows, path, leaves ? WorkRow::kUnknownPages : PageCountOrUnknown(options, path),
              observer);
  }
  for (const std::string& subdirectory : subdirectories) {
    if (ScanShouldStop(options)) return;
    FileTraversal(subdirectory, options, rows, observer);
  }
}

}  // namespace zelk
