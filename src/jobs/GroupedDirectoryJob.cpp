#include "jobs/GroupedDirectoryJob.h"

#include "jobs/DirectoryPages.h"
#include "jobs/GroupPlan.h"
#include "run/RunContext.h"
#include "scan/DirTraversal.h"

namespace zelk {

// A grouped job's section holds its workbook (Grouping) and keep-directory
// flag (KeepDir).
const JobSection& GroupedDirectoryJob::Section() const { return *Descriptor().Section; }

GroupingRun& GroupedDirectoryJob::Grouping(const Settings& settings) {
  if (!grouping_) {
    const JobSection& section = Section();
    grouping_.emplace(section.KeepDir.Id, section.Grouping.Read(settings));
  }
  return *grouping_;
}

bool GroupedDirectoryJob::KeepDir(const Settings& settings) const {
  return Section().KeepDir.Read(settings) != 0;
}

std::vector<PageSource> GroupedDirectoryJob::SourcesInWritingOrder(RunContext& context,
                                                                  std::size_t index) {
  const std::string& source = context.Row(index).Path;
  const std::vector<PageFile> pages = ListPageFiles(source, context.SourceRoot());
  const GroupList groups = Grouping(context.RunSettings()).GroupsOf(source, context.MirrorPath(source));
  return PagesInWritingOrder(pages, PlanGroupPages(groups, static_cast<int>(pages.size())));
}

std::optional<UserMessage> GroupedDirectoryJob::CheckBeforeStart(const Settings& settings) {
  return Grouping(settings).Check();
}

// Group documents carry the extension the standard scan looks for.
ScanRequest GroupedDirectoryJob::DescribeScan(const Settings& settings) {
  ScanRequest scan = Job::DescribeScan(settings);
  std::vector<std::string> types{scan.TargetType};
  const std::vector<std::string> companions = CompanionTypes(settings);
  types.insert(types.end(), companions.begin(), companions.end());
  if (Grouping(settings).Grouped()) return Grouping(settings).AdaptScan(std::move(scan), types);
  if (!companions.empty()) {
    scan.ResultExists = [types, keepDir = scan.KeepDir](const std::string&,
                                                        const std::string& mirrored) {
      ScanOptions options;
      options.KeepDir = keepDir;
      for (const std::string& type : types) {
        options.TargetType = type;
        if (!DirResultExists(mirrored, options)) return false;
      }
      return true;
    };
  }
  return scan;
}

void GroupedDirectoryJob::Prepare(RunContext& context) {
  Settings& settings = context.RunSettings();
  Grouping(settings).Prepare(context, Section().KeepDir.Write(settings));
}

}  // namespace zelk
