#pragma once
// Giving the files of one directory new names in place, all or none.
//
// Every file first moves to a temporary name, then to its new name, so a
// new name that another file of the same set still holds never overwrites
// it.  No step replaces an existing file.  When a step fails, the files
// already moved go back to their old names and the reason is thrown.

#include <stdexcept>
#include <string>
#include <vector>

namespace zelk {

struct NameChange {
  std::string From;  // a file name in the directory
  std::string To;    // its new name
};

// A set of name changes that could not be carried out; what() is the
// reason for the operator (with a note when a file could not be put back).
class RenameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The temporary names end in this text (never the output writers' suffix,
// which the program deletes from output trees).
inline constexpr const char* kRenamingSuffix = ".zelk-renaming";

// Renames the files of `directory`.  Changes whose names are equal are
// passed over.  The caller makes sure that no two changes have the same new
// name.  Throws RenameError.
void RenameFilesInPlace(const std::string& directory, const std::vector<NameChange>& changes);

}  // namespace zelk
