#include "filesafety/OutputTransaction.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <set>

#include "filesafety/AbandonedFiles.h"
#include "filesafety/CommitFence.h"
#include "filesafety/DirectoryBeneath.h"
#include "filesafety/DurableFiles.h"
#include "filesafety/ProcessOwner.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// Twelve random hexadecimal digits.  The writers create their temporary
// files by name, following a link there: a name nobody can guess before
// the run makes it leaves no one the chance to plant a link under it.
std::string UnguessableDigits() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, 0) != static_cast<ssize_t>(sizeof bits)) {
    bits = (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
  }
  char digits[13];
  std::snprintf(digits, sizeof digits, "%012llx",
                static_cast<unsigned long long>(bits & 0xffffffffffffULL));
  return digits;
}

bool ExistsIn(const DirectoryBeneath& directory, const fs::path& name) {
  struct stat info {};
  return ::fstatat(directory.Fd(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// Starts the temporary file as a copy of the output it appends to, read
// without following a link there (whose target may be anything the run
// can read).  A missing output, or a directory by its name, gives no copy.
void StartFromCopy(const DirectoryBeneath& directory, const fs::path& finalPath,
                   const fs::path& temporaryPath) {
  const int in = ::openat(directory.Fd(), finalPath.filename().c_str(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (in < 0) {
    if (errno == ENOENT) return;
    if (errno == ELOOP) throw LinkInPathError(finalPath);
    throw fs::filesystem_error("cannot copy", finalPath, temporaryPath, LastError());
  }
  struct stat info {};
  std::error_code error;
  if (::fstat(in, &info) != 0) {
    error = LastError();
  } else if (S_ISREG(info.st_mode)) {
    const int out =
        ::openat(directory.Fd(), temporaryPath.filename().c_str(),
                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, info.st_mode & 0777);
    if (out < 0) {
      error = LastError();
    } else {
      error = CopyDataSynced(in, out);
      if (::close(out) != 0 && !error) error = LastError();
      if (error) ::unlinkat(directory.Fd(), temporaryPath.filename().c_str(), 0);
    }
  }
  ::close(in);
  if (error) throw fs::filesystem_error("cannot copy", finalPath, temporaryPath, error);
}

void SyncFileIn(const DirectoryBeneath& directory, const fs::path& name, const fs::path& path) {
  const int fd = ::openat(directory.Fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) throw fs::filesystem_error("cannot flush the file", path, LastError());
  const bool synced = ::fsync(fd) == 0;
  const std::error_code error = LastError();
  ::close(fd);
  if (!synced) throw fs::filesystem_error("cannot flush the file", path, error);
}

}  // namespace

bool IsTemporaryOutput(std::string_view name) {
  return name.size() > kTemporaryOutputSuffix.size() && name.ends_with(kTemporaryOutputSuffix);
}

fs::path TemporaryPathBeside(const fs::path& finalPath) {
  static std::atomic<unsigned long> counter{0};
  char number[17];
  const auto end = std::to_chars(number, number + sizeof number, ++counter, 16).ptr;
  std::string name = ".zelk-" + OwnerToken(ThisProcess()) + "-" + std::string(number, end);
  name += UnguessableDigits();
  name += kTemporaryOutputSuffix;
  return finalPath.parent_path() / name;
}

int CreateTemporaryBeside(const fs::path& finalPath, std::string& path, int flags, unsigned mode) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = TemporaryPathBeside(finalPath).string();
    const int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

OutputTransaction::OutputTransaction(fs::path root) : root_(std::move(root)) {}

OutputTransaction::~OutputTransaction() { Discard(); }

std::shared_ptr<const DirectoryBeneath> OutputTransaction::Opened(const fs::path& directory) {
  for (const Output& output : outputs_) {
    if (output.finalPath.parent_path() == directory) return output.directory;
  }
  return std::make_shared<const DirectoryBeneath>(DirectoryBeneath::Open(root_, directory, true));
}

std::string OutputTransaction::Add(const std::string& finalPath, bool appendToExisting,
                                   OutputKind kind) {
  const fs::path target(finalPath);
  for (const Output& output : outputs_) {
    if (output.finalPath == target) return output.temporaryPath.string();
  }
  Output output{target, TemporaryPathBeside(target), kind, Opened(target.parent_path())};
  SweepBeforeWriting(target.has_parent_path() ? target.parent_path() : fs::path("."));
  if (appendToExisting) StartFromCopy(*output.directory, target, output.temporaryPath);
  outputs_.push_back(output);
  return output.temporaryPath.string();
}

// Whether the job wrote the output's temporary file.  One written through
// the path while the directory held open was swapped for another (a link
// planted meanwhile) is not where the rename looks: that is a failure, not
// an output never written.
bool OutputTransaction::Written(const Output& output) const {
  if (ExistsIn(*output.directory, output.temporaryPath.filename())) return true;
  std::error_code error;
  if (fs::exists(fs::symlink_status(output.temporaryPath, error))) {
    throw fs::filesystem_error(
        "cannot rename: the output's directory was replaced while it was written",
        output.temporaryPath, std::make_error_code(std::errc::not_a_directory));
  }
  return false;
}

void OutputTransaction::CommitOne(const Output& output) {
  const DirectoryBeneath& directory = *output.directory;
  const fs::path temporary = output.temporaryPath.filename();
  SyncFileIn(directory, temporary, output.temporaryPath);
  if (::renameat(directory.Fd(), temporary.c_str(), directory.Fd(),
                 output.finalPath.filename().c_str()) != 0) {
    throw fs::filesystem_error("cannot rename", output.temporaryPath, output.finalPath,
                               LastError());
  }
}

void OutputTransaction::Commit() {
  std::stable_partition(outputs_.begin(), outputs_.end(),
                        [](const Output& output) { return output.kind == OutputKind::Companion; });
  std::set<std::shared_ptr<const DirectoryBeneath>> directories;
  for (size_t i = 0; i < outputs_.size(); ++i) {
    const Output& output = outputs_[i];
    try {
      if (!Written(output)) continue;
      CheckCommitFence();
      CommitOne(output);
    } catch (const std::exception&) {
      outputs_.erase(outputs_.begin(), outputs_.begin() + static_cast<long>(i));
      Discard();
      throw;
    }
    directories.insert(output.directory);
  }
  outputs_.clear();
  for (const auto& directory : directories) directory->Sync();
}

void OutputTransaction::Discard() {
  for (const Output& output : outputs_) {
    ::unlinkat(output.directory->Fd(), output.temporaryPath.filename().c_str(), 0);
  }
  outputs_.clear();
}

}  // namespace zelk
