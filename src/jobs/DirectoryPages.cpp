#include "jobs/DirectoryPages.h"

#include <stdexcept>

#include "jobs/SourceFile.h"
#include "platform/OutputTransaction.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"
#include "scan/SourceNames.h"

namespace zelk {

std::vector<PageFile> ListPageFiles(const std::string& directory, const std::string& sourceRoot,
                                    PageFileKinds kinds) {
  std::vector<PageFile> pages;
  for (const DirEntry& entry : ListDirectoryOrFail(directory, sourceRoot)) {
    if (entry.Hidden || IsTemporaryOutput(entry.Name) ||
        !IsPageFileName(entry.Name, kinds.Tif, kinds.Jpg)) {
      continue;
    }
    const std::string path = JoinPath(directory, entry.Name);
    if (entry.LeavesRoot()) throw std::runtime_error(kLinkLeavesSource + path);
    if (!entry.IsFile()) continue;
    pages.push_back({path, entry.Name});
  }
  return pages;
}

void ShowPageList(RunContext& context, const std::vector<PageFile>& pages) {
  context.ClearFileList();
  for (const PageFile& page : pages) context.AddFileListEntry(page.Path, page.Name);
}

std::vector<PageSource> PagesInWritingOrder(const std::vector<PageFile>& pages,
                                            const std::vector<GroupPages>& plan) {
  std::vector<PageSource> sources;
  for (const GroupPages& group : plan) {
    for (int p = group.First; p <= group.Last; ++p) {
      sources.push_back({pages[static_cast<std::size_t>(p - 1)].Path, 1});
    }
  }
  return sources;
}

std::string DocumentDirectory(const std::string& targetPath, bool keepDir) {
  if (keepDir) return targetPath;
  const std::string parent = GetParentPath(targetPath);
  // Without its trailing separator, except for the file-system root.
  return parent.size() > 1 ? parent.substr(0, parent.size() - 1) : parent;
}

}  // namespace zelk
