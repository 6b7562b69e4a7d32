#pragma once
// Giving the files of one directory new names in place, all or none, even
// when the run is killed or the power fails midway.
//
// Every file first moves to a short temporary name, then to its new name,
// so a new name that another file of the same set still holds never
// overwrites it.  No step replaces an existing file.  Before the first
// step a journal with every file's names is put into the directory
// (RenameJournal.h), and each phase is recorded in it before it starts:
// when a step fails, the files already moved go back to their old names
// and the reason is thrown; when the run is killed, the next run reads the
// journal and either finishes the rename or undoes it, so that every file
// ends with its old name or its new one, extension and all.

#include <stdexcept>
#include <string>
#include <vector>

#include "jobs/RenameSteps.h"

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

// The temporary names are ".zelk-<owner token>-r<n>.zelk-renaming":
// hidden, of fixed length whatever the file's name, and never the output
// writers' suffix, which the program deletes from output trees.  Earlier
// versions named them "<old name>.zelk-renaming"; files still so named are
// never renamed again.
inline constexpr const char* kRenamingSuffix = ".zelk-renaming";

// Renames the files of `directory`.  Changes whose names are equal are
// passed over.  The caller makes sure that no two changes have the same new
// name.  `afterStep` (for tests) is called once the journal is in place
// and after every rename.  Throws RenameError.
void RenameFilesInPlace(const std::string& directory, const std::vector<NameChange>& changes,
                        const RenameStepObserver& afterStep = {});

// Settles a rename that an earlier run left unfinished in `directory`, for
// a caller that holds the directory's item claim: a journal whose owner is
// gone (or is this process) is rolled forward when it was moving files to
// their new names, otherwise back, and removed.  Does nothing without a
// journal.  Throws RenameError when a journal is there that another live
// process (or one on another host) owns, that cannot be read, or whose
// files can be put neither to their new names nor back (the reason names
// them, and the journal stays).
void FinishInterruptedRename(const std::string& directory,
                             const RenameStepObserver& afterStep = {});

// For a caller that only reads the directory's files (renamed copies):
// throws RenameError when `directory` holds an unfinished rename, whose
// files may lie under hidden temporary names.
void RefuseUnfinishedRename(const std::string& directory);

// Settles, before a run's scan, every unfinished rename below `root` whose
// owner is gone: each directory's claim is taken first, so two runs never
// settle one directory at once.  A journal of a live or remote owner, or
// one that cannot be settled, stays (the directory's item then fails with
// the reason).  Returns how many were settled; never throws.
int RecoverInterruptedRenames(const std::string& root);

}  // namespace zelk
