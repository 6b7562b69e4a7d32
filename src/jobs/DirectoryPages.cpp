#include "jobs/DirectoryPages.h"

#include "imaging/OutputTransaction.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"
#include "scan/SourceNames.h"

namespace zelk {

std::vector<PageFile> ListPageFiles(const std::string& directory) {
  std::vector<PageFile> pages;
  for (const DirEntry& entry : ListDirectory(directory)) {
    if (!entry.IsFile() || entry.Hidden || IsTemporaryOutput(entry.Name)) continue;
    const std::string lower = LowerAscii(entry.Name);
    if (lower.find(".tif") == std::string::npos && lower.find(".jpg") == std::string::npos) {
      continue;
    }
    pages.push_back({JoinPath(directory, entry.Name), entry.Name});
  }
  return pages;
}

std::string DocumentDirectory(const std::string& targetPath, bool keepDir) {
  if (keepDir) return targetPath;
  const std::string parent = GetParentPath(targetPath);
  // Without its trailing separator, except for the file-system root.
  return parent.size() > 1 ? parent.substr(0, parent.size() - 1) : parent;
}

}  // namespace zelk
