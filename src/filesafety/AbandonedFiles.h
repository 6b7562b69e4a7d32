#pragma once
// Clearing what killed runs left where a run writes: temporary outputs
// (files and directories) and item claims whose process is gone.  A run
// sweeps each directory just before its first write there (every
// temporary output, staged directory, claim, journal and Error copy is
// made beside its final name), so its cost follows the work, not the size
// of the destination tree, and nothing a dead run left survives where this
// run writes.
//
// Only files of a process on this host that no longer runs are removed,
// and those of a run on another host that were left alone too long: its
// claims unrefreshed for kRemoteClaimStaleAge (ClaimHeartbeat.h), its
// temporary outputs untouched for a day.  Those of a live run (a window
// and a zelk-batch on the same destination, or a run elsewhere) stay.

#include <filesystem>
#include <string>

namespace zelk {

// Removes the abandoned temporary outputs and claims directly in
// `directory` (not below it; links are not followed, what cannot be read
// is passed over); returns how many were removed.
int RemoveAbandonedIn(const std::filesystem::path& directory);

// RemoveAbandonedIn(`directory`), the first time this is asked for it since
// ForgetSweptDirectories().  Safe from several threads.
void SweepBeforeWriting(const std::filesystem::path& directory);

// A run begins: every directory is swept again before its first write.
void ForgetSweptDirectories();

// True when the temporary output `name` (a file name) belongs to a process
// of this host that is gone.
bool IsAbandonedTemporaryOutput(const std::string& name);

}  // namespace zelk
