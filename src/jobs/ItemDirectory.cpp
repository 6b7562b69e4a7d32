#include "jobs/ItemDirectory.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "filesafety/AbandonedFiles.h"
#include "filesafety/CommitFence.h"
#include "filesafety/CreatedDirectories.h"
#include "filesafety/DirectoryBeneath.h"
#include "filesafety/DurableFiles.h"
#include "filesafety/OutputTransaction.h"
#include "platform/Quoting.h"

namespace zelk {
namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}


// The directory path without "." or ".." parts or a trailing separator.
std::string Normalized(const std::string& path) {
  std::string normal = fs::path(path).lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::string ParentOf(const std::string& path) { return fs::path(path).parent_path().string(); }

[[noreturn]] void ThrowRenameError(int error, const std::string& from, const std::string& to) {
  throw fs::filesystem_error("cannot move the output directory into place", from, to,
                             std::error_code(error, std::generic_category()));
}

}  // namespace

ItemDirectory::ItemDirectory(const std::string& root, std::string path)
    : path_(std::move(path)), created_(HighestMissingDirectory(path_)) {
  try {
    DirectoryBeneath::Open(root, path_, true);
  } catch (...) {
    Keep();  // what exists now was not necessarily made here
    throw;
  }
}

ItemDirectory::~ItemDirectory() { RemoveEmptyDirectories(path_, created_); }

StagedItemDirectory::StagedItemDirectory(const std::string& root, std::string finalPath,
                                         Existing existing)
    : final_(Normalized(finalPath)),
      existing_(existing),
      created_(HighestMissingDirectory(ParentOf(final_))),
      stage_(TemporaryPathBeside(final_).string()) {
  try {
    const DirectoryBeneath parent = DirectoryBeneath::Open(root, ParentOf(final_), true);
    SweepBeforeWriting(ParentOf(final_));
    const std::string stageName = fs::path(stage_).filename().string();
    if (::mkdirat(parent.Fd(), stageName.c_str(), 0777) != 0) {
      throw fs::filesystem_error("cannot create directory", stage_,
                                 std::error_code(errno, std::generic_category()));
    }
    if (existing_ == Existing::Extend && fs::is_directory(fs::symlink_status(final_))) {
      fs::copy(final_, stage_, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
  } catch (...) {
    Discard();
    throw;
  }
}

StagedItemDirectory::~StagedItemDirectory() {
  if (!committed_) Discard();
}

void StagedItemDirectory::Discard() {
  std::error_code ignored;
  fs::remove_all(stage_, ignored);
  // The parents this item made, unless another item has put something there.
  RemoveEmptyDirectories(ParentOf(final_), created_);
}

void StagedItemDirectory::Commit() {
  SyncTree(stage_);
  CheckCommitFence();
  if (existing_ == Existing::Extend && Exists(final_)) {
    ReplaceOwnEarlierResult();
  } else if (const int error = RenameWithoutReplacing(stage_, final_)) {
    if (error != EEXIST) ThrowRenameError(error, stage_, final_);
    throw std::runtime_error("输出目录" + Quoted(final_) +
                             "已存在，可能是另一进程刚刚生成的；本次未向其中写入");
  }
  committed_ = true;
  SyncDirectory(ParentOf(final_));
}

// The earlier result moves aside, the new one takes its place, and the
// earlier one goes.  A run killed in between leaves no result, and the
// next run offers every item of this result again.
void StagedItemDirectory::ReplaceOwnEarlierResult() {
  const std::string aside = TemporaryPathBeside(final_).string();
  if (const int error = RenameWithoutReplacing(final_, aside)) {
    ThrowRenameError(error, final_, aside);
  }
  if (const int error = RenameWithoutReplacing(stage_, final_)) {
    RenameWithoutReplacing(aside, final_);
    ThrowRenameError(error, stage_, final_);
  }
  std::error_code ignored;
  fs::remove_all(aside, ignored);
}

}  // namespace zelk
