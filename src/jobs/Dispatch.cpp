#include "jobs/Dispatch.h"

#include "jobs/JobActions.h"
#include "jobs/JobCatalog.h"
#include "platform/Quoting.h"
#include "run/ScanRequest.h"

namespace zelk {

std::optional<JobId> JobForAction(int action, const Settings& settings) {
  const ActionJobs jobs = JobsOfAction(action);
  if (jobs.Chooses()) {
    const JobSection& section = *jobs.PerDirectory->Section;
    return section.ConvertType.Read(settings) == 1 ? jobs.PerDirectory->Id : jobs.PerFile->Id;
  }
  if (jobs.PerDirectory) return jobs.PerDirectory->Id;
  if (jobs.PerFile) return jobs.PerFile->Id;
  return std::nullopt;
}

std::string ActionCaption(int action) {
  return (action >= 1 && action <= static_cast<int>(kActionCount))
             ? kJobActions[action - 1].Caption
             : "";
}

UserMessage NotAvailableMessage(int action, JobId id) {
  std::string name = Quoted(ActionCaption(action));
  const JobDescriptor& job = DescriptorOf(id);
  if (JobsOfAction(job.Action).Chooses()) {
    name += job.Items == ScanRequest::Mode::Directories ? "（按目录）" : "（按文件）";
  }
  return UserMessage{UserMessage::Icon::Information,
                     name + "功能尚未提供，暂时无法使用。" + kTwoIdeographicSpaces};
}

namespace {

// The scan a run of the job would make.  A job that cannot describe it
// without what its run checks first (a grouping workbook that is missing
// or unreadable) is previewed with its standard scan: the preview only
// looks at the tree, and the run itself reports the workbook.
ScanRequest PreviewScan(JobId id, const Settings& settings, const JobRegistry& registry) {
  const std::unique_ptr<Job> job = registry.Create(id);
  if (job) {
    try {
      return job->DescribeScan(settings);
    } catch (const JobStartError&) {
    }
  }
  return DefaultScanRequest(id, settings);
}

}  // namespace

RunResult StartConversion(int action, const RunRequest& request, const JobRegistry& registry,
                          RunObserver& observer, RunControl& control) {
  observer.OnTotalCount(0);
  observer.OnDoneCount(0);
  const std::optional<JobId> id = JobForAction(action, request.RunSettings);
  if (!id) return EndWithoutRun(observer, control);
  const std::unique_ptr<Job> job = registry.Create(*id);
  if (!job) {
    observer.OnMessage(NotAvailableMessage(action, *id));
    return EndWithoutRun(observer, control);
  }
  return RunJob(*job, request, observer, control);
}

PreviewResult RunPreview(int action, const Settings& settings, const std::string& sourceDir,
                         const std::string& targetDir, const JobRegistry& registry,
                         RunObserver& observer, std::function<bool()> stopRequested) {
  PreviewResult result;
  if (sourceDir.empty()) {
    observer.OnMessage(ChooseDirectoryMessage(UserMessage::Focus::None));
    return result;
  }
  Settings scanSettings = settings;
  scanSettings.Common.ImageSrcDir = sourceDir;
  scanSettings.Common.ConvertDstDir = targetDir;
  result.SettingsChanges.Capture(scanSettings, SettingId::Common_ImageSrcDir);
  result.SettingsChanges.Capture(scanSettings, SettingId::Common_ConvertDstDir);
  result.Scanned = true;

  observer.OnWorkListCleared();
  observer.OnTotalCount(0);
  observer.OnDoneCount(0);
  observer.OnStatus("正在搜索待转换目录 . . . ");
  if (const std::optional<JobId> id = JobForAction(action, scanSettings)) {
    RunScan(PreviewScan(*id, scanSettings, registry), scanSettings,
            ScanPlace{sourceDir, targetDir, {}, stopRequested, {}, {}, {}, {}}, result.Rows,
            &observer);
  }
  observer.OnStatus(result.Rows.empty() ? "未找到需转换的内容" : "已准备");
  return result;
}

}  // namespace zelk
