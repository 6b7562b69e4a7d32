#pragma once
// The files of one directory on their way between their old, temporary and
// new names, moved phase by phase under the directory's rename journal
// (RenameJournal.h): each phase is recorded before its first step and the
// directory is synced after its last, so that the journal always tells
// where every file is.  Every step is a rename that never replaces a file.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "jobs/RenameJournal.h"

namespace zelk {

// Called once the journal is in place and after every rename step.
using RenameStepObserver = std::function<void()>;

class RenameSteps {
 public:
  enum class At { Old, Temporary, New };

  // A rename about to start: every file at its old name.
  RenameSteps(std::string directory, std::vector<RenameEntry> entries,
              RenameStepObserver afterStep);

  // A rename found in its journal: each file is at its temporary name when
  // that is there, otherwise where the recorded phase says.
  static RenameSteps Resume(std::string directory, const RenameJournal& journal,
                            RenameStepObserver afterStep);

  // Writes the journal; false when the directory already holds one.
  // Throws std::filesystem_error.
  bool Begin();

  struct Refusal {
    std::size_t Entry;
    int Error;  // errno of the refused rename
  };

  // The forward phase ToTemporary or ToNew: recorded (unless it is the
  // phase the journal is in), then every file moved on, stopping at the
  // first refused step.  Throws std::filesystem_error when the journal or
  // the directory cannot be synced.
  std::optional<Refusal> Forward(RenamePhase phase);

  // Every file is at its new name: removes the journal.  Throws
  // std::filesystem_error.
  void Finish();

  // Puts every file back at its old name, new names through the temporary
  // ones (so that a file never needs a name another file still holds), and
  // removes the journal.  Returns the files that could not be put back;
  // the journal then stays, for a later run to try again.
  std::vector<std::size_t> RollBack();

  const RenameEntry& Entry(std::size_t k) const { return entries_[k]; }
  // The path of file `k` at its present name.
  std::string CurrentPath(std::size_t k) const;
  std::string PathOf(std::size_t k, At at) const;

 private:
  // Appends `phase` to the journal unless it is the last one recorded.
  void Record(RenamePhase phase);
  // Moves the files at `from` to `to` and syncs the directory; returns the
  // refused steps.
  std::vector<Refusal> Move(At from, At to, bool stopAtRefusal);
  std::vector<std::size_t> NotAtOld() const;

  std::string directory_;
  std::vector<RenameEntry> entries_;
  std::vector<At> where_;
  std::optional<RenamePhase> recorded_;  // the journal's last phase
  RenameStepObserver afterStep_;
};

}  // namespace zelk
