#include "jobs/GroupedDirectoryJob.h"

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

std::optional<UserMessage> GroupedDirectoryJob::CheckBeforeStart(const Settings& settings) {
  return Grouping(settings).Check();
}

// Group documents carry the extension the standard scan looks for.
ScanRequest GroupedDirectoryJob::DescribeScan(const Settings& settings) {
  ScanRequest scan = Job::DescribeScan(settings);
  const std::string extension = scan.TargetType;
  return Grouping(settings).AdaptScan(std::move(scan), extension);
}

void GroupedDirectoryJob::Prepare(RunContext& context) {
  Settings& settings = context.RunSettings();
  Grouping(settings).Prepare(context, Section().KeepDir.Write(settings));
}

}  // namespace zelk
