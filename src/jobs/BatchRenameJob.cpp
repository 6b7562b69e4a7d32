#include "jobs/BatchRenameJob.h"

#include <filesystem>
#include <set>

#include "filesafety/DirectoryBeneath.h"
#include "jobs/ItemDirectory.h"
#include "jobs/NumberedName.h"
#include "jobs/OutputName.h"
#include "jobs/RenameInPlace.h"
#include "platform/Quoting.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk {
namespace {

// The directory's files as they are before anything changes: visible
// regular files, in natural order.
std::vector<std::string> FilesOf(const std::string& directory) {
  std::vector<std::string> names;
  for (const DirEntry& entry : ListDirectoryOrFail(directory)) {
    if (entry.IsFile() && !entry.Hidden) names.push_back(entry.Name);
  }
  return names;
}

// The new name of every file; throws when a name is unusable or two files
// would get the same one (one would overwrite the other).
std::vector<NameChange> NewNames(const Settings::RenameSection& rename,
                                 const std::string& directory,
                                 const std::vector<std::string>& files) {
  const NumberedNamePattern pattern{
      rename.RFileNameAutoAdd == 1 ? GetFileNamePart(directory) : std::string(),
      rename.RFileNamePre,
      rename.RFileNameInit,
      rename.RFileNameLength,
      rename.RAddZero != 0,
      rename.RFileNamePos};
  std::vector<NameChange> changes;
  std::set<std::string> taken;
  for (std::size_t k = 0; k < files.size(); ++k) {
    const std::string name =
        NumberedName(pattern, static_cast<long long>(k)) + "." + GetExtName(files[k]);
    if (const std::string problem = OutputNameProblem(name); !problem.empty()) {
      throw UnsafeOutputName(problem);
    }
    if (!taken.insert(name).second) {
      throw UnsafeOutputName("两个文件的新名称同为" + Quoted(name) + "，其中一个会被覆盖");
    }
    changes.push_back({files[k], name});
  }
  return changes;
}

// The renamed copies in `target`, all or none.
void CopyRenamed(const std::string& root, const std::string& source, const std::string& target,
                 const std::vector<NameChange>& changes) {
  StagedItemDirectory directory(root, target);
  for (const NameChange& change : changes) {
    std::filesystem::copy_file(JoinPath(source, change.From),
                               JoinPath(directory.Path(), change.To));
  }
  directory.Commit();
}

}  // namespace

void BatchRenameJob::RecoverInterruptedWork(const Settings& settings) {
  if (settings.Common.ConvertDstDir.empty()) RecoverInterruptedRenames(settings.Common.ImageSrcDir);
}

ScanRequest BatchRenameJob::DescribeScan(const Settings& settings) {
  ScanRequest scan = Job::DescribeScan(settings);
  // Renaming in place has no output tree to look into: every leaf directory
  // is offered (its mirrored path would name an unrelated place).
  if (settings.Common.ConvertDstDir.empty()) {
    scan.ResultExists = [](const std::string&, const std::string&) { return false; };
  }
  return scan;
}

ItemOutcome BatchRenameJob::ProcessItem(RunContext& context, std::size_t index) {
  const std::string& source = context.Row(index).Path;
  const bool inPlace = context.TargetRoot().empty();
  // A rename a killed run left in this directory is settled before its
  // files are listed; copies are not made of a directory in that state.
  if (inPlace) {
    // The scan found a plain directory; one swapped for a link since would
    // have the journal and the renames land wherever the link points.
    DirectoryBeneath::Open(context.SourceRoot(), source, false);
    FinishInterruptedRename(source);
  } else {
    RefuseUnfinishedRename(source);
  }
  const std::vector<NameChange> changes =
      NewNames(context.RunSettings().Rename, source, FilesOf(source));
  if (inPlace) {
    RenameFilesInPlace(source, changes);
  } else {
    CopyRenamed(context.TargetRoot(), source, context.MirrorPath(source), changes);
  }
  return ItemOutcome::Done;
}

}  // namespace zelk
