#include "jobs/GroupedDirectoryJob.h"

#include <stdexcept>

#include "jobs/RunContext.h"

namespace zelk {
namespace {

// Where each job keeps its workbook and keep-directory flag, and the
// extension of its documents.
SettingId KeepDirKeyOf(JobId id) {
  switch (id) {
    case JobId::MergeFiles: return SettingId::Merge_KeepDir;
    case JobId::MergeFiles2PDF: return SettingId::PDF_KeepDir;
    case JobId::MergeFiles22PDF: return SettingId::TwoPDF_KeepDir;
    default: throw std::logic_error("the job has no grouping workbook");
  }
}

const char* ExtensionOf(JobId id) { return id == JobId::MergeFiles ? "tif" : "pdf"; }

const std::string& WorkbookOf(JobId id, const Settings& settings) {
  switch (id) {
    case JobId::MergeFiles: return settings.Merge.Grouping;
    case JobId::MergeFiles22PDF: return settings.TwoPDF.Grouping;
    default: return settings.PDF.Grouping;
  }
}

// `settings` is a Settings or a const Settings.
template <typename AnySettings>
auto& KeepDirOf(JobId id, AnySettings& settings) {
  switch (id) {
    case JobId::MergeFiles: return settings.Merge.KeepDir;
    case JobId::MergeFiles22PDF: return settings.TwoPDF.KeepDir;
    default: return settings.PDF.KeepDir;
  }
}

}  // namespace

GroupingRun& GroupedDirectoryJob::Grouping(const Settings& settings) {
  if (!grouping_) grouping_.emplace(KeepDirKeyOf(Id()), WorkbookOf(Id(), settings));
  return *grouping_;
}

bool GroupedDirectoryJob::KeepDir(const Settings& settings) const {
  return KeepDirOf(Id(), settings) != 0;
}

std::optional<UserMessage> GroupedDirectoryJob::CheckBeforeStart(const Settings& settings) {
  return Grouping(settings).Check();
}

ScanRequest GroupedDirectoryJob::DescribeScan(const Settings& settings) {
  return Grouping(settings).AdaptScan(DefaultScanRequest(Id(), settings), ExtensionOf(Id()));
}

void GroupedDirectoryJob::Prepare(RunContext& context) {
  Settings& settings = context.RunSettings();
  Grouping(settings).Prepare(context, KeepDirOf(Id(), settings));
}

}  // namespace zelk
