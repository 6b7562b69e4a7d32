#include "jobs/Dispatch.h"

#include <array>

#include "jobs/ScanRequest.h"
#include "platform/Quoting.h"

namespace zelk {
namespace {

constexpr std::array<const char*, 6> kActionCaptions = {"单页合并", "多页拆分", "单层PDF",
                                                        "双层PDF",  "Word文档", "批量更名"};

JobId PerDirectoryOrFile(int16_t convertType, JobId perDirectory, JobId perFile) {
  return convertType == 1 ? perDirectory : perFile;
}

bool IsPerDirectoryChoice(JobId id) {
  return id == JobId::MergeFiles2PDF || id == JobId::MergeFiles22PDF ||
         id == JobId::MergeFiles2Word;
}

bool IsPerFileChoice(JobId id) {
  return id == JobId::ConvertFiles2PDF || id == JobId::ConvertFiles22PDF ||
         id == JobId::ConvertFiles2Word;
}

}  // namespace

std::optional<JobId> JobForAction(int action, const Settings& settings) {
  switch (action) {
    case 1: return JobId::MergeFiles;
    case 2: return JobId::SplitFiles;
    case 3:
      return PerDirectoryOrFile(settings.PDF.ConvertType, JobId::MergeFiles2PDF,
                                JobId::ConvertFiles2PDF);
    case 4:
      return PerDirectoryOrFile(settings.TwoPDF.ConvertType, JobId::MergeFiles22PDF,
                                JobId::ConvertFiles22PDF);
    case 5:
      return PerDirectoryOrFile(settings.OCR.ConvertType, JobId::MergeFiles2Word,
                                JobId::ConvertFiles2Word);
    case 6: return JobId::BatchRename;
    default: return std::nullopt;
  }
}

std::string ActionCaption(int action) {
  return (action >= 1 && action <= 6) ? kActionCaptions[action - 1] : "";
}

UserMessage NotAvailableMessage(int action, JobId id) {
  std::string name = Quoted(ActionCaption(action));
  if (IsPerDirectoryChoice(id)) name += "（按目录）";
  if (IsPerFileChoice(id)) name += "（按文件）";
  return UserMessage{UserMessage::Icon::Information,
                     name + "功能尚未提供，暂时无法使用。" + kTwoIdeographicSpaces};
}

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
    try {
      const std::unique_ptr<Job> job = registry.Create(*id);
      const ScanRequest request =
          job ? job->DescribeScan(scanSettings) : DefaultScanRequest(*id, scanSettings);
      RunScan(request, scanSettings, ScanPlace{sourceDir, targetDir, {}, stopRequested},
              result.Rows, &observer);
    } catch (const JobStartError& error) {
      observer.OnMessage(error.Message());
    }
  }
  observer.OnStatus(result.Rows.empty() ? "未找到需转换的内容" : "已准备");
  return result;
}

}  // namespace zelk
