#pragma once
// Outputs of one work item, written whole or not at all.
//
// A job asks the transaction for a temporary path beside each final output
// and writes there.  Commit() flushes every temporary file to the disk,
// renames it into place and flushes the directory, so a power cut never
// leaves a short file under a final name; a transaction destroyed without
// Commit() removes them, so a failed or interrupted item leaves no partial
// output and the next scan offers it again.  When the job appends to an
// output that already exists, the temporary file starts as a copy of it,
// so an interrupted append never damages the existing file.
//
// An item with several outputs commits its companions (a TIFF twin, a text
// file) before its result, the file the scan looks for: a run killed
// between two renames leaves the result missing, and the next run offers
// the item again.
//
// Temporary names are short and of fixed length, whatever the final name
// (".zelk-<owner token>-<n>.zelk-tmp", see ProcessOwner.h), so they stay
// within the file system's name limit, and they name the process that
// writes them: AbandonedFiles.h clears those whose process is gone and
// never touches those of a live run.  <n> is a counter followed by random
// digits, so nobody can plant a link under a temporary name before the
// writer creates its file there.
//
// Outputs lie below a root, the destination the operator chose.  Each
// output's directory is reached from the root without following a link
// (DirectoryBeneath.h) and held open: the copy an append starts from, the
// flush, the rename and the removal of temporary files all go through it,
// so a link planted below the root fails the item (LinkInPathError) and
// sends nothing elsewhere.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// What an output is to its item: the result the scans test for, or a
// companion written beside it.
enum class OutputKind { Result, Companion };

inline constexpr std::string_view kTemporaryOutputSuffix = ".zelk-tmp";

// True when the file name (or path) is one of the transaction's temporary
// files.
bool IsTemporaryOutput(std::string_view name);

// A fresh temporary name beside `finalPath` (in its directory) for a file
// or directory this process writes; the name ends in
// kTemporaryOutputSuffix.
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& finalPath);

// Creates a new file under such a name (O_CREAT | O_EXCL, close on exec,
// with `flags` and `mode`), trying another name while one is taken.
// Returns its descriptor and sets `path`, or -1 with errno telling why.
int CreateTemporaryBeside(const std::filesystem::path& finalPath, std::string& path, int flags,
                          unsigned mode);

class DirectoryBeneath;

class OutputTransaction {
 public:
  // Outputs go into `root` or below it.
  explicit OutputTransaction(std::filesystem::path root);
  ~OutputTransaction();  // discards what was not committed
  OutputTransaction(const OutputTransaction&) = delete;
  OutputTransaction& operator=(const OutputTransaction&) = delete;

  // The path to write instead of `finalPath`; the same path again for a
  // final path already added.  Creates the final path's directory when it
  // is missing.  With `appendToExisting` and a file at `finalPath`, the
  // temporary file starts as a copy of it.  Throws LinkInPathError for a
  // link between the root and the final path's directory, or at
  // `finalPath` when appending; std::filesystem_error when the directory
  // or the copy cannot be made.
  std::string Add(const std::string& finalPath, bool appendToExisting,
                  OutputKind kind = OutputKind::Result);

  // Flushes and renames every temporary file that was written into its
  // final place (replacing what is there), companions first; outputs never
  // written are skipped.  A temporary file found at its path but not in
  // the directory opened for it (that directory was swapped meanwhile)
  // fails the commit.  On a failure the remaining temporary files are
  // removed and std::filesystem_error is thrown; outputs renamed before it
  // stay.
  void Commit();

  // Removes every temporary file; nothing reaches the final names.
  void Discard();

 private:
  struct Output {
    std::filesystem::path finalPath;
    std::filesystem::path temporaryPath;
    OutputKind kind;
    std::shared_ptr<const DirectoryBeneath> directory;  // holds finalPath
  };
  // The open directory for `directory`, shared by the outputs in it.
  std::shared_ptr<const DirectoryBeneath> Opened(const std::filesystem::path& directory);
  bool Written(const Output& output) const;
  void CommitOne(const Output& output);

  std::filesystem::path root_;
  std::vector<Output> outputs_;
};

}  // namespace zelk
