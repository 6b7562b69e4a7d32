#pragma once
// The output directory of one work item: either one that holds the item's
// output files among others (ItemDirectory), or one that is the item's
// result itself (StagedItemDirectory).

#include <string>

namespace zelk {

// A directory the item's output files go into, created when missing and
// taken away again when the item does not succeed.  Other items' outputs
// may share it.
//
// Both kinds lie below a root, the destination, and are reached from it
// without following a link (filesafety/DirectoryBeneath.h): a link planted
// below the root fails the item with LinkInPathError.
class ItemDirectory {
 public:
  // Creates `path`, which lies in `root` or below it, with every missing
  // parent.
  ItemDirectory(const std::string& root, std::string path);
  // Unless Keep() was called: removes the levels the constructor created,
  // deepest first, as long as they are empty (another run may have put its
  // outputs there meanwhile; those stay).
  ~ItemDirectory();
  ItemDirectory(const ItemDirectory&) = delete;
  ItemDirectory& operator=(const ItemDirectory&) = delete;

  const std::string& Path() const { return path_; }

  // The item succeeded: the directory stays.
  void Keep() { created_.clear(); }

 private:
  std::string path_;
  std::string created_;  // the highest level that did not exist, or empty
};

// The output directory of an item whose result is the directory itself
// (the pages of a split file, a directory's renamed copies), which the
// scans take as the sign that the item is done.  It is built under a
// temporary name beside its final place and renamed into place whole by
// Commit(): a run killed before that leaves only the temporary directory,
// which names its dead owner and which a later run clears, and the item is
// offered again.  An item that does not commit leaves nothing.
class StagedItemDirectory {
 public:
  // What to do about a directory already at the final place.
  enum class Existing {
    Refuse,  // another run made it: Commit() fails rather than merge into it
    Extend,  // this run made it for an earlier item: the temporary
             // directory starts as a copy of it and Commit() replaces it
  };

  // Creates the missing parents of `finalPath` (below `root`) and a fresh
  // temporary directory beside it.  Throws LinkInPathError or
  // std::filesystem_error.
  StagedItemDirectory(const std::string& root, std::string finalPath,
                      Existing existing = Existing::Refuse);
  // Unless committed: removes the temporary directory, and the parents the
  // constructor made while they are empty.
  ~StagedItemDirectory();
  StagedItemDirectory(const StagedItemDirectory&) = delete;
  StagedItemDirectory& operator=(const StagedItemDirectory&) = delete;

  // Where the item writes: the temporary directory.
  const std::string& Path() const { return stage_; }

  // Flushes everything in the temporary directory to the disk and renames
  // it to the final path, never over a directory another run made there
  // (std::runtime_error names it then); flushes the parent.
  void Commit();

 private:
  void Discard();
  void ReplaceOwnEarlierResult();

  std::string final_;
  Existing existing_;
  std::string created_;  // the highest parent level that did not exist, or empty
  std::string stage_;
  bool committed_ = false;
};

}  // namespace zelk
