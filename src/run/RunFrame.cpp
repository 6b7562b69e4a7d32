#include "run/RunFrame.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "filesafety/AbandonedFiles.h"
#include "filesafety/CommitFence.h"
#include "filesafety/DirectoryBeneath.h"
#include "filesafety/ProcessOwner.h"
#include "platform/ErrorKind.h"
#include "platform/Quoting.h"
#include "platform/SchedulerJob.h"
#include "run/ErrorTree.h"
#include "run/FailureReason.h"
#include "run/FutureTimeMemory.h"
#include "run/JobTexts.h"
#include "run/ProgressMeter.h"
#include "run/ResultLog.h"
#include "run/RootChecks.h"
#include "run/RowClaims.h"
#include "run/RunContext.h"
#include "run/ScanRequest.h"
#include "run/ShardRecord.h"
#include "run/SummaryLines.h"
#include "scan/DirectoryListing.h"
#include "scan/MirroredPath.h"
#include "scan/PathHelpers.h"
#include "settings/SettingsFile.h"

namespace zelk {
namespace {

const char* const kListNotWritten = "无法写入结果清单：";
const char* const kListNotWrittenNote = "（结果清单未能写入）";
const char* const kErrorCopyFailed = "无法放入Error目录：";
const char* const kUnknownError = "未知错误";
// The "状态" of an item a stop request cut short.
const char* const kCancelledCell = "已取消";

// Appended to the last status when `count` items were left for a later
// run: "（3" & `what` & "）", nothing for none.
std::string CountNote(std::size_t count, const std::string& what) {
  if (count == 0) return {};
  return "（" + std::to_string(count) + what + "）";
}

// The file's directory without a trailing separator ("/" for a file in "/").
std::string DirectoryOf(const std::string& file) {
  const std::string parent = GetParentPath(file);
  return parent.size() > 1 ? parent.substr(0, parent.size() - 1) : parent;
}

class Frame {
 public:
  Frame(Job& job, const RunRequest& request, RunObserver& observer, RunControl& control)
      : job_(job),
        request_(request),
        observer_(observer),
        control_(control),
        clock_(request.TimeSource != nullptr ? *request.TimeSource : systemClock_),
        settings_(request.RunSettings),
        texts_(job.Descriptor().Texts),
        context_(settings_, texts_, rows_, observer, control, result_.SettingsChanges) {}

  RunResult Run();

 private:
  bool DirectoriesGiven();
  template <typename Step>
  bool Attempt(Step step);
  bool PassesStartChecks();
  void StoreDirectoriesAndAction();
  void OpenResultLists();
  void RecordShardRun(const std::optional<RunEnd>& end);
  void RemoveAbandonedWork();
  void Scan();
  void ReportUnreadable(const std::string& path);
  bool FutureTimeSettled(FutureTimeMemory& future, const std::string& path,
                         const ItemStamp& stamp);
  bool Prepare();
  bool ProcessRows();
  enum class RowEnd { Done, Skipped, Failed, Cancelled };
  RowEnd ProcessRow(std::size_t index);
  RowEnd ProcessClaimedRow(std::size_t index);
  void RecordSuccess(std::size_t index);
  void RecordFailure(std::size_t index, const FailureReason& reason);
  void PutIntoErrorTree(const WorkRow& row);
  std::string FailureLineOf(const WorkRow& row) const;
  void CleanUp();
  void WriteSummary();
  // A result list and whether the operator was told it cannot be written.
  struct OpenList {
    ResultList List;
    bool Reported = false;
  };
  void Write(OpenList& list, const std::string& line);
  void ShowLastStatus(const std::string& text);
  RunResult End(RunEnd how);

  Job& job_;
  const RunRequest& request_;
  RunObserver& observer_;
  RunControl& control_;
  SystemClock systemClock_;
  const Clock& clock_;
  Settings settings_;
  const JobTexts& texts_;
  WorkList rows_;
  RunResult result_;
  RunContext context_;
  ScanRequest scan_;
  std::optional<RowClaims> claims_;
  OpenList successList_;
  OpenList failureList_;
  OpenList reasonList_;
  // The shard's record of its runs; only a run of one shard of several
  // keeps one, from the moment its lists are opened.
  OpenList shardRecord_;
  bool recordingShard_ = false;
  std::optional<ProgressMeter> meter_;
  TimePoint start_{};
  bool busy_ = false;
  bool scanCut_ = false;
  bool lastRowFailed_ = false;
};

RunResult Frame::Run() {
  if (!control_.IsActive()) control_.BeginRun();
  if (!DirectoriesGiven()) return End(RunEnd::NotStarted);
  settings_.Common.ImageSrcDir = NormalizeRoot(request_.SourceDir);
  settings_.Common.ConvertDstDir = NormalizeRoot(request_.TargetDir);
  if (!PassesStartChecks()) return End(RunEnd::NotStarted);

  busy_ = true;
  observer_.OnBusyChanged(true);
  StoreDirectoriesAndAction();
  OpenResultLists();
  RemoveAbandonedWork();
  job_.RecoverInterruptedWork(settings_);
  Scan();
  if (rows_.empty() && !scanCut_) {
    ShowLastStatus(texts_.NoneFound);
    return End(RunEnd::NothingFound);
  }
  if (!control_.KeepRunning()) {
    ShowLastStatus(texts_.CancelledInScan);
    return End(RunEnd::CancelledDuringScan);
  }
  const LocalDateTime startLocal = ToLocalDateTime(start_);
  Write(successList_, HeaderLine(startLocal, texts_.SuccessHeader));
  Write(failureList_, HeaderLine(startLocal, texts_.FailureHeader));
  if (!Prepare()) return End(RunEnd::PreparationFailed);
  const bool allRows = ProcessRows();
  CleanUp();
  WriteSummary();
  // A run cut short by a stop request says so instead of "finished".
  ShowLastStatus(std::string(allRows ? texts_.Finished : texts_.CancelledInScan) +
                 (result_.ResultListFailed ? kListNotWrittenNote : ""));
  return End(allRows ? RunEnd::Finished : RunEnd::Cancelled);
}

bool Frame::DirectoriesGiven() {
  if (request_.SourceDir.empty()) {
    observer_.OnMessage(ChooseDirectoryMessage(UserMessage::Focus::SourceDirButton));
    return false;
  }
  if (texts_.NeedsTargetDir && request_.TargetDir.empty()) {
    observer_.OnMessage(ChooseDirectoryMessage(UserMessage::Focus::TargetDirButton));
    return false;
  }
  return true;
}

// Runs one of the job's steps before its items; an error it raises is
// shown and ends the run.
template <typename Step>
bool Frame::Attempt(Step step) {
  try {
    return step();
  } catch (const JobStartError& error) {
    observer_.OnMessage(error.Message());
    if (!error.Status().empty()) observer_.OnStatus(error.Status());
  } catch (const std::exception& error) {
    observer_.OnMessage({UserMessage::Icon::Warning, std::string(error.what()) + "    "});
  }
  return false;
}

bool Frame::PassesStartChecks() {
  return Attempt([this] {
    std::optional<UserMessage> message =
        CheckRoots(settings_.Common.ImageSrcDir, settings_.Common.ConvertDstDir);
    if (!message) message = job_.CheckBeforeStart(settings_);
    if (message) {
      observer_.OnMessage(*message);
      return false;
    }
    scan_ = job_.DescribeScan(settings_);
    return true;
  });
}

// The boxes are stored as typed; the run itself uses the roots without
// trailing separators.
void Frame::StoreDirectoriesAndAction() {
  Settings stored = settings_;
  stored.Common.ImageSrcDir = request_.SourceDir;
  stored.Common.ConvertDstDir = request_.TargetDir;
  stored.Common.ConvertAction = static_cast<int16_t>(job_.Descriptor().Action);
  settings_.Common.ConvertAction = stored.Common.ConvertAction;
  for (const SettingId key : {SettingId::Common_ImageSrcDir, SettingId::Common_ConvertDstDir,
                              SettingId::Common_ConvertAction}) {
    WriteSettingKey(stored, key);
    result_.SettingsChanges.Capture(stored, key);
  }
}

// The lists of the day the run starts on; a shard's own lists and record
// when the run takes one shard of several.
void Frame::OpenResultLists() {
  start_ = clock_.Now();
  const LocalDateTime today = ToLocalDateTime(start_);
  const std::string& logs = request_.LogsDir;
  const Shard& shard = request_.WorkShard;
  successList_.List = ResultList(JoinPath(logs, ShardListName(SuccessListName(today), shard)));
  failureList_.List = ResultList(JoinPath(logs, ShardListName(FailureListName(today), shard)));
  reasonList_.List =
      ResultList(JoinPath(logs, ShardListName(FailureReasonListName(today), shard)));
  if (shard.Whole()) return;
  shardRecord_.List = ResultList(JoinPath(logs, ShardRecordName(today, shard)));
  recordingShard_ = true;
  RecordShardRun(std::nullopt);
}

// The start line of this run in the shard's record, or with `end` its end
// line with the counts.
void Frame::RecordShardRun(const std::optional<RunEnd>& end) {
  const ProcessOwner& self = ThisProcess();
  ShardRunLine line{EpochSeconds(start_), self.Host, self.Pid, SchedulerJobName(), {}};
  if (end) {
    ShardRunOutcome outcome = ShardRunOutcome::Finished;
    switch (*end) {
      case RunEnd::NotStarted:
      case RunEnd::PreparationFailed: outcome = ShardRunOutcome::NotPrepared; break;
      case RunEnd::NothingFound: outcome = ShardRunOutcome::NothingFound; break;
      case RunEnd::CancelledDuringScan:
      case RunEnd::Cancelled: outcome = ShardRunOutcome::Cancelled; break;
      case RunEnd::Finished: break;
    }
    line.End = ShardRunEnd{EpochSeconds(clock_.Now()), outcome,
                           static_cast<long long>(result_.Successes),
                           static_cast<long long>(result_.Failures), result_.Pages};
  }
  Write(shardRecord_, ShardRecordLine(line));
}

// Temporary outputs and claims that killed runs left are cleared in each
// directory this run writes to, just before its first write there
// (SweepBeforeWriting); a live run's stay.
void Frame::RemoveAbandonedWork() { ForgetSweptDirectories(); }

void Frame::Scan() {
  observer_.OnStatus(texts_.Searching);
  rows_.clear();
  observer_.OnWorkListCleared();
  // A cancel ends the scan early; what it found so far is then not the
  // whole answer, so the run ends as cancelled, not as "nothing found".
  FutureTimeMemory future(JoinPath(request_.LogsDir, FutureTimeMemoryName(request_.WorkShard)),
                          request_.SettleTime, clock_.Now());
  ScanPlace place{settings_.Common.ImageSrcDir, settings_.Common.ConvertDstDir,
                  request_.SettleTime,
                  [this] {
                    scanCut_ = scanCut_ || !control_.KeepRunning();
                    return scanCut_;
                  },
                  [this](const std::string&) { ++result_.HeldBack; },
                  request_.WorkShard,
                  [this](const std::string& path) { ReportUnreadable(path); },
                  [this, &future](const std::string& path, const ItemStamp& stamp) {
                    return FutureTimeSettled(future, path, stamp);
                  }};
  RunScan(scan_, settings_, place, rows_, &observer_);
  future.Save();
  claims_.emplace(scan_, ScanOptionsFor(scan_, settings_, place));
}

// A directory the scan cannot list is neither a failed item nor copied
// into the Error tree: it is listed with its reason and counted.
void Frame::ReportUnreadable(const std::string& path) {
  ++result_.Unreadable;
  const std::string reason = "无法读取目录" + Quoted(path) + "，已跳过";
  Write(reasonList_, FailureReasonLine(path, reason));
  observer_.OnDirectorySkipped(path, reason);
}

// An item dated in the future passes once scans the settle time apart saw
// it unchanged; the reasons list says so when it is first held back and
// when it passes.
bool Frame::FutureTimeSettled(FutureTimeMemory& future, const std::string& path,
                              const ItemStamp& stamp) {
  const FutureTimeMemory::Verdict verdict = future.Judge(path, stamp);
  const std::string dated = "修改时间（" +
                            LocalTimeText(std::chrono::time_point_cast<TimePoint::duration>(
                                stamp.Newest)) +
                            "）晚于本机时钟，";
  if (verdict == FutureTimeMemory::Verdict::FirstSeen) {
    Write(reasonList_, FailureReasonLine(path, dated + "留待下次扫描确认未再改动后转换"));
  } else if (verdict == FutureTimeMemory::Verdict::Settled) {
    Write(reasonList_, FailureReasonLine(path, dated + "两次扫描间未再改动，视为已稳定"));
  }
  return verdict == FutureTimeMemory::Verdict::Settled;
}

bool Frame::Prepare() {
  return Attempt([this] {
    job_.Prepare(context_);
    return true;
  });
}

// False when a stop request ended the loop before the last row, or cut
// the row in progress short.
bool Frame::ProcessRows() {
  meter_.emplace(clock_, start_, rows_, observer_);
  context_.AttachProgress(&*meter_);
  context_.AttachNotes([this](std::size_t index, const std::string& note) {
    Write(reasonList_, FailureReasonLine(rows_[index].Path, note));
  });
  meter_->BeginItems();
  for (std::size_t index = 0; index < rows_.size(); ++index) {
    const RowEnd end = ProcessRow(index);
    // Only the last row decides which summary head is written.
    lastRowFailed_ = end == RowEnd::Failed;
    if (end == RowEnd::Cancelled) return false;
    meter_->ItemEnded(index);
    // The cancel flag is tested after a successful item only.
    if (end == RowEnd::Done && !control_.KeepRunning()) return index + 1 == rows_.size();
  }
  return true;
}

// An item is claimed before it is converted, and the claim is released
// once its outputs are in place (or it failed): another run on the same
// destination passes it by meanwhile, and so does this one with an item
// another run holds.
Frame::RowEnd Frame::ProcessRow(std::size_t index) {
  observer_.OnRowSelected(index);
  // Per-directory jobs list the pages of each row in "文件名"; per-file
  // rows have no page list, so the previous row's must not stay.
  if (job_.Descriptor().Items == ScanRequest::Mode::Files) context_.ClearFileList();
  std::optional<ItemClaim> claim;
  try {
    switch (claims_->Claim(rows_[index].Path, claim)) {
      case RowClaims::Verdict::Claimed: break;
      case RowClaims::Verdict::HeldByAnotherRun:
        ++result_.HeldByOthers;
        context_.SetRowStatus(index, kHeldByAnotherRun);
        return RowEnd::Skipped;
      case RowClaims::Verdict::DoneByAnotherRun:
        context_.SetRowStatus(index, kDoneByAnotherRun);
        return RowEnd::Skipped;
    }
  } catch (const std::exception& error) {
    RecordFailure(index, FailureReasonOf(error));
    return RowEnd::Failed;
  }
  const CommitFence fence(*claim);
  const RowEnd end = ProcessClaimedRow(index);
  if (end == RowEnd::Done) claims_->MarkWritten(rows_[index].Path);
  return end;
}

Frame::RowEnd Frame::ProcessClaimedRow(std::size_t index) {
  context_.SetStatus(texts_.WorkingWord + rows_[index].Path);
  context_.SetRowStatus(index, texts_.WorkingCell);
  FailureReason reason;
  bool failed = false;
  ItemOutcome outcome = ItemOutcome::Skipped;
  try {
    outcome = job_.ProcessItem(context_, index);
  } catch (const LostClaimError&) {
    // Another host took the item over while this run was stalled and
    // converts it anew: this run's outputs were dropped, not committed.
    context_.SetRowStatus(index, kDoneByAnotherRun);
    return RowEnd::Skipped;
  } catch (const ItemCancelled& error) {
    // Its outputs are gone with their transactions; the next run takes it.
    if (!control_.KeepRunning()) {
      context_.SetRowStatus(index, kCancelledCell);
      return RowEnd::Cancelled;
    }
    failed = true;
    reason = FailureReasonOf(error);
  } catch (const std::exception& error) {
    failed = true;
    reason = FailureReasonOf(error);
  } catch (...) {
    failed = true;
    reason = {kUnknownError, ""};
  }
  if (failed) {
    RecordFailure(index, reason);
    return RowEnd::Failed;
  }
  if (outcome == ItemOutcome::Skipped) return RowEnd::Skipped;
  RecordSuccess(index);
  return RowEnd::Done;
}

void Frame::RecordSuccess(std::size_t index) {
  Write(successList_, ListItemText(rows_[index].Path));
  ++result_.Successes;
  result_.Pages += std::max(rows_[index].Pages, 0);
  observer_.OnDoneCount(result_.Successes);
  context_.SetRowStatus(index, texts_.DoneWord);
}

void Frame::RecordFailure(std::size_t index, const FailureReason& reason) {
  ++result_.Failures;
  Write(failureList_, ListItemText(FailureLineOf(rows_[index])));
  Write(reasonList_, FailureReasonLine(rows_[index].Path, ReasonListText(reason)));
  context_.SetRowStatus(index, texts_.FailedWord);
  observer_.OnItemFailed(index, reason.Text);
  PutIntoErrorTree(rows_[index]);
}

std::string Frame::FailureLineOf(const WorkRow& row) const {
  switch (texts_.FailureLineKind) {
    case FailureLine::ItemPath: return row.Path;
    case FailureLine::PathWithoutExtension:
      return GetParentPath(row.Path) + GetBaseName(GetFileNamePart(row.Path));
    case FailureLine::ParentDirectory: return GetParentPath(row.Path);
  }
  return row.Path;
}

void Frame::PutIntoErrorTree(const WorkRow& row) {
  // The Error tree lies in the destination: no link below its root is followed.
  const std::string& root = context_.TargetRoot();
  try {
    switch (texts_.ErrorCopyKind) {
      case ErrorCopy::None: return;
      case ErrorCopy::CopyDirectory:
        CopyDirectoryInto(root, row.Path, context_.ErrorTreePath(row.Path));
        return;
      case ErrorCopy::CopyFile:
        CopyFileInto(root, row.Path, context_.ErrorTreePath(DirectoryOf(row.Path)));
        return;
      case ErrorCopy::MoveFile:
        MoveFileInto(root, row.Path, context_.ErrorTreePath(DirectoryOf(row.Path)));
        return;
    }
  } catch (const std::exception& error) {
    // The run goes on; the operator learns of it, and why, from the status
    // line.
    ++result_.ErrorCopyFailures;
    observer_.OnStatus(kErrorCopyFailed + row.Path + "：" +
                       ErrorTreeFailureReason(error, row.Path));
  }
}

void Frame::CleanUp() {
  try {
    job_.CleanUp(context_);
  } catch (const std::exception& error) {
    observer_.OnStatus(error.what());
  }
}

void Frame::WriteSummary() {
  const std::string elapsed = FormatElapsed(start_, clock_.Now());
  for (const SummaryLine& line : SummaryLines(texts_, result_.Successes, result_.Failures,
                                              elapsed, lastRowFailed_)) {
    Write(line.ToFailureList ? failureList_ : successList_, line.Text);
  }
}

// A list that cannot be written does not stop the run: the status line
// says so once per list, and the finished status keeps a note of it.
void Frame::Write(OpenList& list, const std::string& line) {
  std::error_code ignored;
  std::filesystem::create_directories(GetParentPath(list.List.Path()), ignored);
  if (list.List.Append(line)) return;
  const int error = errno;
  result_.ResultListFailed = true;
  if (list.Reported) return;
  list.Reported = true;
  std::string status = kListNotWritten + list.List.Path();
  if (error == ELOOP) {
    status += "：";
    status += ErrorKindText(ErrorKind::LinkRefused);
    status += "：";
    status += list.List.Path();
  }
  observer_.OnStatus(status);
}

// The status a run ends with, and how many items the settle time left for
// the next run.
void Frame::ShowLastStatus(const std::string& text) {
  // The settle time's items, other processes' items and unreadable
  // directories all wait for a later run.
  observer_.OnStatus(
      text +
      CountNote(result_.HeldBack,
                "项在" + std::to_string(request_.SettleTime.count()) + "秒内有改动，留待下次转换") +
      CountNote(result_.HeldByOthers, "项由其他进程转换中") +
      CountNote(result_.Unreadable, "个目录无法读取，已跳过，见失败原因清单"));
}

RunResult Frame::End(RunEnd how) {
  if (recordingShard_) RecordShardRun(how);
  if (busy_) observer_.OnBusyChanged(false);
  EndWithoutRun(observer_, control_);
  result_.End = how;
  result_.Rows = std::move(rows_);
  return std::move(result_);
}

}  // namespace

UserMessage ChooseDirectoryMessage(UserMessage::Focus focus) {
  return UserMessage{UserMessage::Icon::Information,
                     std::string("请选择目录！") + kTwoIdeographicSpaces, focus};
}

RunResult EndWithoutRun(RunObserver& observer, RunControl& control) {
  control.EndRun();
  if (control.QuitRequested()) observer.OnCloseRequested();
  return RunResult{};
}

RunResult RunJob(Job& job, const RunRequest& request, RunObserver& observer, RunControl& control) {
  Frame frame(job, request, observer, control);
  return frame.Run();
}

}  // namespace zelk
