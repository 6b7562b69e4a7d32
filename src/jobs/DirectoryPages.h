#pragma once
// The pages of a leaf directory as the per-directory jobs take them, and
// where that directory's documents go.

#include <string>
#include <vector>

#include "jobs/GroupPlan.h"
#include "jobs/PageSequence.h"

namespace zelk {

class RunContext;

struct PageFile {
  std::string Path;  // the directory & separator & name
  std::string Name;  // the file name
  int Pages = 1;     // the pages the file holds
};

// Which page files a job takes: names containing ".tif", ".jpg", or both.
struct PageFileKinds {
  bool Tif = true;
  bool Jpg = true;
};

// The page files of `directory`: its visible regular files whose
// lower-cased name contains ".tif" or ".jpg" anywhere (IsPageFileName; so
// x.tiff and scan.jpg.bak count, a.jpeg does not), of the kinds asked for,
// in natural order of their names, each with its page count (one for a
// file whose pages cannot be counted: reading it fails the item with its
// own reason).  Temporary outputs are left out.  Throws std::runtime_error
// when the directory cannot be listed, so the item fails instead of
// counting as a directory without pages, and kLinkLeavesSource with the
// path for a page file that is a link out of `sourceRoot`: nothing is read
// through it, and the directory is not converted without it.
std::vector<PageFile> ListPageFiles(const std::string& directory, const std::string& sourceRoot,
                                    PageFileKinds kinds = {});

// Every page of the page files, file after file, each from its first page
// to its last: page p of the directory (as the groups count) is entry p - 1.
std::vector<PageSource> DirectoryPageList(const std::vector<PageFile>& files);

// Shows the page files in the window's list of the directory in progress,
// one entry per file however many pages it holds.
void ShowPageList(RunContext& context, const std::vector<PageFile>& files);

// The pages the groups take, in writing order: group after group, each
// from its first page to its last.
std::vector<PageSource> PagesInWritingOrder(const std::vector<PageSource>& pages,
                                            const std::vector<GroupPages>& plan);

// The directory that holds the documents of a source directory whose
// mirrored path is `targetPath`: the mirrored directory itself when the
// documents are kept inside it, else its parent (the document then lies
// beside it, named after it).
std::string DocumentDirectory(const std::string& targetPath, bool keepDir);

}  // namespace zelk
