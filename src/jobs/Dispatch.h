#pragma once
// From the chosen action to a job: the "立即转换" entry (also used by the
// schedule) and the "转换预览" scan.
//
// Actions are numbered as [Common] ConvertAction stores them (JobActions.h);
// the jobs they run are in the job catalog (JobCatalog.h).

#include <functional>
#include <optional>
#include <string>

#include "run/JobId.h"
#include "run/JobRegistry.h"
#include "run/RunControl.h"
#include "run/RunFrame.h"
#include "run/RunObserver.h"
#include "scan/WorkList.h"
#include "settings/Settings.h"
#include "settings/SettingsChangeSet.h"

namespace zelk {

// The job of an action; an action with a job per directory and one per
// file chooses by their section's ConvertType (1: per directory, else per
// file).  None outside the actions.
std::optional<JobId> JobForAction(int action, const Settings& settings);

// The caption of an action's option ("单页合并" ...); empty outside the
// actions.
std::string ActionCaption(int action);

// The message for a job this build does not offer yet.
UserMessage NotAvailableMessage(int action, JobId id);

// "立即转换": both counters to 0, then the action's job runs on the calling
// thread.  Without a job for the action nothing else happens; a job not
// registered yet shows NotAvailableMessage.  As with RunJob, the caller
// calls control.BeginRun() first and the run ends it.
RunResult StartConversion(int action, const RunRequest& request, const JobRegistry& registry,
                          RunObserver& observer, RunControl& control);

struct PreviewResult {
  bool Scanned = false;  // false: the source box was empty
  WorkList Rows;
  // [Common] ImageSrcDir and ConvertDstDir, set in memory only.
  SettingsChangeSet SettingsChanges;
};

// "转换预览": the scan of the action's job only, into the work list.  No
// settings are written, no result lists, no busy state.  The status line
// ends as "已准备" or "未找到需转换的内容".
PreviewResult RunPreview(int action, const Settings& settings, const std::string& sourceDir,
                         const std::string& targetDir, const JobRegistry& registry,
                         RunObserver& observer, std::function<bool()> stopRequested = {});

}  // namespace zelk
