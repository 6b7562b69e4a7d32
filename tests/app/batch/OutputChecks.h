#pragma once
// Checking what runs of zelk-batch left behind: whether each document is
// whole (every TIFF directory decodes, a PDF passes `qpdf --check`), how
// many pages it has, and whether any working file of a run remains.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zelk::batchtest {

// The page count of a TIFF whose every directory reads and decodes through
// libtiff without an error; -1 when it cannot be opened, its directory
// chain is cut short or any directory is damaged.
int WholeTiffPages(const std::string& path);

// The page count (`qpdf --show-npages`) of a PDF that passes `qpdf --check`
// with exit status 0; -1 otherwise.
int WholePdfPages(const std::string& path);

// The page count of a whole output of either kind, by its extension; -1
// for a damaged file or another kind.
int WholeDocumentPages(const std::string& path);

// Every regular file below `root` with its page count as a whole document
// (WholeDocumentPages), keyed by the path relative to `root`.  Working
// files and directories of a run are left out, with all they hold
// (LeftoverWorkingFiles reports them).
std::map<std::string, int> DocumentPages(const std::string& root);

// DocumentPages for a tree looked at again and again: a file is read once
// for as long as its size and modification time stay the same.
class DocumentReader {
 public:
  std::map<std::string, int> PagesBelow(const std::string& root);

 private:
  struct Seen {
    std::uintmax_t Size = 0;
    std::filesystem::file_time_type Modified;
    int Pages = -1;
  };
  std::map<std::string, Seen> seen_;
};

// Whether a file or directory name is one of a run's working files: a
// temporary output ("*.zelk-tmp"), a file being renamed ("*.zelk-renaming"),
// a spool, or a claim on an item; all carry ".zelk-" or "claim" in their
// names.
bool IsWorkingFileName(const std::string& name);

// The working files left below `root`: their paths relative to it, sorted,
// each small file with its contents (a claim names its owner).
std::vector<std::string> LeftoverWorkingFiles(const std::string& root);

// LeftoverWorkingFiles less the claims of processes that are gone.  A run
// killed after it committed an item but before it released the item's claim
// leaves the claim behind; it is harmless (a run that reaches the item takes
// it over) and is cleared when a later run writes in its directory, as runs
// no longer walk the whole destination for such files.
std::vector<std::string> LeftoverWorkingFilesButDeadClaims(const std::string& root);

// The files and directories below `root` as test::TreeOf lists them, less
// the working files of runs and everything inside working directories.
std::vector<std::string> TreeWithoutWorkingFiles(const std::string& root);

// The lines of `lines` that name an item of `items`, counted per item.
std::map<std::string, int> ItemLineCounts(const std::vector<std::string>& lines,
                                          const std::vector<std::string>& items);

}  // namespace zelk::batchtest
