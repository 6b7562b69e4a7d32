#pragma once
// Outputs of one work item, written whole or not at all.
//
// A job asks the transaction for a temporary path beside each final output
// and writes there.  Commit() renames every temporary file into place; a
// transaction destroyed without Commit() removes them, so a failed or
// interrupted item leaves no partial output and the next scan offers it
// again.  When the job appends to an output that already exists, the
// temporary file starts as a copy of it, so an interrupted append never
// damages the existing file.
//
// Temporary files end in kTemporaryOutputSuffix; scans skip such names, and
// RemoveTemporaryOutputs() clears those a crashed run left behind.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

inline constexpr std::string_view kTemporaryOutputSuffix = ".zelk-tmp";

// True when the file name (or path) is one of the transaction's temporary
// files.
bool IsTemporaryOutput(std::string_view name);

class OutputTransaction {
 public:
  OutputTransaction() = default;
  ~OutputTransaction();  // discards what was not committed
  OutputTransaction(const OutputTransaction&) = delete;
  OutputTransaction& operator=(const OutputTransaction&) = delete;

  // The path to write instead of `finalPath`; the same path again for a
  // final path already added.  Creates the final path's directory when it
  // is missing.  With `appendToExisting` and a file at `finalPath`, the
  // temporary file starts as a copy of it.  Throws std::filesystem_error
  // when the directory or the copy cannot be made.
  std::string Add(const std::string& finalPath, bool appendToExisting);

  // Renames every temporary file that was written into its final place
  // (replacing what is there); outputs never written are skipped.  On a
  // failure the remaining temporary files are removed and
  // std::filesystem_error is thrown; outputs renamed before it stay.
  void Commit();

  // Removes every temporary file; nothing reaches the final names.
  void Discard();

 private:
  struct Output {
    std::filesystem::path finalPath;
    std::filesystem::path temporaryPath;
  };
  std::vector<Output> outputs_;
};

// Removes the temporary outputs below `root` (recursively, not following
// links) and returns how many were removed.  Unreadable directories and
// files that cannot be removed are passed over.
int RemoveTemporaryOutputs(const std::filesystem::path& root);

}  // namespace zelk
