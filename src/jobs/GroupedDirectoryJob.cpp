#include "jobs/GroupedDirectoryJob.h"

#include "jobs/DirectoryPages.h"
#include "jobs/GroupPlan.h"
#include "run/RunContext.h"

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
  const std::vector<PageSource> pages =
      DirectoryPageList(ListPageFiles(source, context.SourceRoot()));
  const GroupList groups = Grouping(context.RunSettings()).GroupsOf(source, context.MirrorPath(source));
  return PagesInWritingOrder(pages, PlanGroupPages(groups, static_cast<int>(pages.size())));
}

std::optional<UserMessage> GroupedDirectoryJob::CheckBeforeStart(const Settings& settings) {
  return Grouping(settings).Check();
}

// Group documents carry the extension the standard scan looks for.  The
// document alone says the directory is done: its companions (a TIFF twin, a
// text file) are committed before it, so a document that is there was
// complete with them, and one the user removed or moved later is no reason
// to write the document again.
ScanRequest GroupedDirectoryJob::DescribeScan(const Settings& settings) {
  ScanRequest scan = Job::DescribeScan(settings);
  return Grouping(settings).AdaptScan(std::move(scan), {scan.TargetType});
}

void GroupedDirectoryJob::Prepare(RunContext& context) {
  Settings& settings = context.RunSettings();
  Grouping(settings).Prepare(context, Section().KeepDir.Write(settings));
}

}  // namespace zelk
