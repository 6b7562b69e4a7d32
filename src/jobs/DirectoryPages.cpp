#include "jobs/DirectoryPages.h"

#include <stdexcept>

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "jobs/SourceFile.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"
#include "scan/SourceNames.h"

namespace zelk {

std::vector<PageFile> ListPageFiles(const std::string& directory, const std::string& sourceRoot,
                                    PageFileKinds kinds) {
  std::vector<PageFile> files;
  for (const DirEntry& entry : ListDirectoryOrFail(directory, sourceRoot)) {
    if (entry.Hidden || IsTemporaryOutput(entry.Name) ||
        !IsPageFileName(entry.Name, kinds.Tif, kinds.Jpg)) {
      continue;
    }
    const std::string path = JoinPath(directory, entry.Name);
    if (entry.LeavesRoot()) throw std::runtime_error(kLinkLeavesSource + path);
    if (!entry.IsFile()) continue;
    files.push_back({path, entry.Name, PagesOfPageFile(GetPageCount, path)});
  }
  return files;
}

std::vector<PageSource> DirectoryPageList(const std::vector<PageFile>& files) {
  std::vector<PageSource> pages;
  for (const PageFile& file : files) {
    for (int page = 1; page <= file.Pages; ++page) pages.push_back({file.Path, page});
  }
  return pages;
}

void ShowPageList(RunContext& context, const std::vector<PageFile>& files) {
  context.ClearFileList();
  for (const PageFile& file : files) context.AddFileListEntry(file.Path, file.Name);
}

std::vector<PageSource> PagesInWritingOrder(const std::vector<PageSource>& pages,
                                            const std::vector<GroupPages>& plan) {
  std::vector<PageSource> sources;
  for (const GroupPages& group : plan) {
    for (int p = group.First; p <= group.Last; ++p) {
      sources.push_back(pages[static_cast<std::size_t>(p - 1)]);
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
