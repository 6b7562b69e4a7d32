#pragma once
// The output directory of one work item, created when missing and taken
// away again when the item does not succeed.
//
// The scans take an existing output directory as the sign that an item is
// done (split and rename), so a directory left behind by a failed item
// would keep it from ever being offered again.

#include <string>

namespace zelk {

class ItemDirectory {
 public:
  // Creates `path` with every missing parent (MakeDirPath).
  explicit ItemDirectory(std::string path);
  // Unless Keep() was called: removes what the constructor created (the
  // highest level it made, with everything below it, all of which this
  // item wrote).
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

}  // namespace zelk
