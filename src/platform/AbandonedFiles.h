#pragma once
// Clearing what killed runs left in a tree: temporary outputs (files and
// directories) and item claims whose process is gone.
//
// Only files of a process on this host that no longer runs are removed,
// and those of a run on another host that were left alone too long: its
// claims unrefreshed for kRemoteClaimStaleAge (ClaimHeartbeat.h), its
// temporary outputs untouched for a day.  Those of a live run (a window
// and a zelk-batch on the same destination, or a run elsewhere) stay.

#include <filesystem>
#include <string>

namespace zelk {

// Walks `root` (not following links, passing over what cannot be read)
// and removes the abandoned temporary outputs and claims; returns how many
// were removed.
int RemoveAbandonedFiles(const std::filesystem::path& root);

// True when the temporary output `name` (a file name) belongs to a process
// of this host that is gone.
bool IsAbandonedTemporaryOutput(const std::string& name);

}  // namespace zelk
