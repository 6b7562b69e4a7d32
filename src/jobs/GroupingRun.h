#pragma once
// What a per-directory run (merge, PDF and dual-layer PDF per directory)
// does with its section's grouping workbook: the start check, the table
// loaded once before the scan, a scan that leaves out the directories
// whose group outputs all exist, the keep-directory flag a loaded table
// forces, and each directory's groups.
//
// Without a workbook every directory is one group named after its mirrored
// path, and the scan is the job's standard one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jobs/GroupPlan.h"
#include "platform/UserMessage.h"
#include "run/ScanRequest.h"
#include "settings/SettingKeys.h"
#include "workbook/GroupingTable.h"

namespace zelk {

class RunContext;

// The message when the workbook named in the settings does not exist.
UserMessage MissingWorkbookMessage();

class GroupingRun {
 public:
  // `keepDirKey` is the KeepDir key of the job's settings section,
  // `workbook` its Grouping key (empty: no workbook).
  GroupingRun(SettingId keepDirKey, std::string workbook);

  bool Grouped() const { return !workbook_.empty(); }

  // The start check: the message for a workbook that is missing or cannot
  // be read (it names the file); nothing when the run may start.  Loads
  // the table.
  std::optional<UserMessage> Check();

  // `scan` as a grouped run needs it: a directory is left out when the
  // table assigns it groups and each group's file with each of `extensions` exists
  // inside its mirrored directory.  Loads the table when Check has not
  // (the preview), throwing JobStartError when it cannot.  Ungrouped: the
  // scan unchanged.
  ScanRequest AdaptScan(ScanRequest scan, const std::vector<std::string>& extensions);

  // Preparation of a grouped run: the status "正在装载分件数据 . . . " and
  // `keepDir` (the run's copy of the section's KeepDir) set to 1, a change
  // the window keeps in memory; every output of the run then lies inside
  // its mirrored directory.  Ungrouped: nothing.
  void Prepare(RunContext& context, int16_t& keepDir) const;

  // The groups of `sourceDir`: the table's rows for it, or the one group
  // named after `targetPath` (its mirrored path).  Loads the table when
  // nothing has yet.
  GroupList GroupsOf(const std::string& sourceDir, const std::string& targetPath);

 private:
  void Load();

  SettingId keepDirKey_;
  std::string workbook_;
  std::shared_ptr<const GroupingTable> table_;
};

}  // namespace zelk
