#include "jobs/GroupingRun.h"

#include "run/Job.h"
#include "run/RunContext.h"
#include "scan/ScanSupport.h"

namespace zelk {
namespace {

constexpr const char* kLoadingStatus = "正在装载分件数据 . . . ";

}  // namespace

UserMessage MissingWorkbookMessage() {
  return {UserMessage::Icon::Information, "分件数据文件不存在，请设置！    "};
}

GroupingRun::GroupingRun(SettingId keepDirKey, std::string workbook)
    : keepDirKey_(keepDirKey), workbook_(std::move(workbook)) {}

void GroupingRun::Load() {
  if (!Grouped() || table_) return;
  if (!FileExists(workbook_)) throw JobStartError(MissingWorkbookMessage());
  try {
    table_ = std::make_shared<const GroupingTable>(LoadGroupingTable(workbook_));
  } catch (const GroupingTableError& error) {
    throw JobStartError(error.Message());
  }
}

std::optional<UserMessage> GroupingRun::Check() {
  try {
    Load();
  } catch (const JobStartError& error) {
    return error.Message();
  }
  return std::nullopt;
}

ScanRequest GroupingRun::AdaptScan(ScanRequest scan, const std::vector<std::string>& extensions) {
  if (!Grouped()) return scan;
  Load();
  scan.ResultExists = [table = table_, extensions](const std::string& leaf,
                                                   const std::string& mirrored) {
    return GroupOutputsExist(*table, leaf, mirrored, extensions);
  };
  return scan;
}

void GroupingRun::Prepare(RunContext& context, int16_t& keepDir) const {
  if (!Grouped()) return;
  context.SetStatus(kLoadingStatus);
  keepDir = 1;
  context.KeepSettingChange(keepDirKey_);
}

GroupList GroupingRun::GroupsOf(const std::string& sourceDir, const std::string& targetPath) {
  Load();
  if (table_) return GroupListOf(*table_, sourceDir);
  return UngroupedList(sourceDir, targetPath);
}

}  // namespace zelk
