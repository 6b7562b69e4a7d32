#include "scan/DirTraversal.h"

#include <algorithm>
#include <limits>

#include "scan/MirroredPath.h"
#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"
#include "scan/SourceNames.h"

namespace zelk {
namespace {

bool HasPlainDirectory(const std::vector<DirEntry>& entries) {
  return std::any_of(entries.begin(), entries.end(),
                     [](const DirEntry& entry) { return entry.IsPlainDirectory(); });
}

}  // namespace

bool LeafIsDone(const std::string& leaf, const ScanOptions& options) {
  const std::string mirrored = MirrorPath(leaf, options.SourceRoot, options.TargetRoot);
  if (options.ResultExists) return options.ResultExists(leaf, mirrored);
  return DirResultExists(mirrored, options);
}

bool DirResultExists(const std::string& mirrored, const ScanOptions& options) {
  if (options.TargetType.empty()) return PathExists(mirrored);
  const std::string suffix = "." + options.TargetType;
  if (options.KeepDir) return FileExists(JoinPath(mirrored, GetFileNamePart(mirrored) + suffix));
  return FileExists(mirrored + suffix);
}

int CountLeafPages(const std::string& leaf, const std::vector<DirEntry>& entries,
                   const ScanOptions& options) {
  long long count = 0;
  for (const DirEntry& entry : entries) {
    if (entry.Hidden || IsTemporaryName(options, entry.Name) ||
        !IsPageFileName(entry.Name, options.CountTif, options.CountJpg)) {
      continue;
    }
    if (entry.LeavesRoot()) return WorkRow::kUnknownPages;
    if (entry.IsFile()) count += PagesOfPageFile(options.PageCount, JoinPath(leaf, entry.Name));
  }
  return static_cast<int>(std::min<long long>(count, std::numeric_limits<int>::max()));
}

void DirTraversal(const std::string& directory, const ScanOptions& options, WorkList& rows,
                  ScanObserver* observer) {
  std::vector<std::string> subdirectories;
  std::vector<DirEntry> inside;
  for (const DirEntry& entry : ListDirectory(directory)) {
    if (ScanShouldStop(options)) return;
    if (!entry.IsPlainDirectory()) continue;
    const std::string path = JoinPath(directory, entry.Name);
    // A directory that cannot be listed is reported and passed over: most
    // are the system's (lost+found), and failing them would fail every run.
    // Page links that leave the source root are marked, never followed:
    // the row's page count is unknown and its job fails it.
    if (!ListDirectoryWithin(path, options.SourceRoot, inside)) {
      ReportUnreadable(options, path);
      continue;
    }
    if (HasPlainDirectory(inside)) {
      subdirectories.push_back(path);
      continue;
    }
    if (!Admitted(options, path) || LeafIsDone(path, options) || StillSettling(options, path)) {
      continue;
    }
    AppendRow(rows, path, CountLeafPages(path, inside, options), observer);
  }
  // Leaves need no visit of their own: nothing below them can be a row.
  for (const std::string& subdirectory : subdirectories) {
    if (ScanShouldStop(options)) return;
    DirTraversal(subdirectory, options, rows, observer);
  }
}

}  // namespace zelk
