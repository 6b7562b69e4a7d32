#pragma once
// Descriptor rows of the run frame's tests' own, for the test job
// (support/TestJob.h): one for each shape of job the frame tells apart
// (per directory or per file, with or without a result type, with or
// without an output directory) and between them every summary order,
// failure-list line and Error-tree treatment.  Their texts are the tests'
// own words, so that a test shows which row's text the frame used; the
// frame adds the date, counts, paths and page numbers around them.  The
// ids are labels only: the frame goes by the row.

#include "run/JobDescriptor.h"
#include "run/JobId.h"
#include "run/JobTexts.h"
#include "run/ScanRequest.h"
#include "settings/SettingKeys.h"
#include "settings/Settings.h"

namespace zelk::test {

// [Merge] KeepDir, the one key a test row's scan reads.
inline constexpr JobSection kKeepDirSection = {
    SettingSection::Merge,
    {},
    {SettingId::Merge_KeepDir, [](const Settings& s) -> const int16_t& { return s.Merge.KeepDir; },
     [](Settings& s) -> int16_t& { return s.Merge.KeepDir; }},
    {}};

// Per directory: a .tif beside the mirrored directory, or inside it with
// [Merge] KeepDir 1; the success line first; a failed directory is listed
// by its path and copied whole into the Error tree.
inline constexpr JobDescriptor kDirectoryRow = {
    JobId::MergeFiles,
    "TestDirectoryJob",
    3,
    ScanRequest::Mode::Directories,
    &kKeepDirSection,
    [](const Settings& s) {
      return ScanRequest{ScanRequest::Mode::Directories, "tif", kKeepDirSection.KeepDir.Read(s) != 0,
                         {}};
    },
    nullptr,  // the tests make their test job themselves
    {.NeedsTargetDir = true,
     .Searching = "正在搜索待归档目录 . . . ",
     .NoneFound = "未找到需归档的目录",
     .CancelledInScan = "目录归档过程被取消！",
     .SuccessHeader = "分 -- 已归档清单",
     .FailureHeader = "分 -- 未归档清单",
     .SuccessHead = "本次总共归档了",
     .SecondSuccessHead = "",
     .Unit = "个目录",
     .FailureTail = "个目录没有归档成功。",
     .Finished = "本次归档完毕！    ",
     .WorkingWord = "正在归档",
     .PageWord = "正在读取",
     .PageOf = "页 共",
     .WorkingCell = "归档...",
     .DoneWord = "已归档",
     .FailedWord = "归档失败",
     .Order = SummaryOrder::SuccessFirst,
     .FailureLineKind = FailureLine::ItemPath,
     .ErrorCopyKind = ErrorCopy::CopyDirectory}};

// Per file: a .pdf for each file; after a failed last row the failure line
// comes first and the success line has its second head; a failed file is
// listed by its directory and moved into the Error tree.
inline constexpr JobDescriptor kFileRow = {
    JobId::ConvertFiles22PDF,
    "TestFileJob",
    4,
    ScanRequest::Mode::Files,
    nullptr,
    [](const Settings&) { return ScanRequest{ScanRequest::Mode::Files, "pdf", false, {}}; },
    nullptr,
    {.NeedsTargetDir = true,
     .Searching = "正在搜索待转存文件 . . . ",
     .NoneFound = "未找到需转存的文件",
     .CancelledInScan = "文件转存过程被取消！",
     .SuccessHeader = "分 -- 已转存清单",
     .FailureHeader = "分 -- 未转存清单",
     .SuccessHead = "本次总共转存了",
     .SecondSuccessHead = "本次执行总共转存了",
     .Unit = "个文件",
     .FailureTail = "个文件没有转存成功。",
     .Finished = "本次转存完毕！    ",
     .WorkingWord = "正在转存",
     .PageWord = "正在转存",
     .PageOf = "页  共",
     .WorkingCell = "转存...",
     .DoneWord = "已转存",
     .FailedWord = "转存失败",
     .Order = SummaryOrder::FailureFirstAfterFailedLast,
     .FailureLineKind = FailureLine::ParentDirectory,
     .ErrorCopyKind = ErrorCopy::MoveFile}};

// Per file, its outputs of no one type (nothing tells a file done); the
// failure line first; a failed file is listed without its extension and
// copied into the Error tree.
inline constexpr JobDescriptor kUntypedFileRow = {
    JobId::SplitFiles,
    "TestUntypedFileJob",
    2,
    ScanRequest::Mode::Files,
    nullptr,
    [](const Settings&) { return ScanRequest{ScanRequest::Mode::Files, "", false, {}}; },
    nullptr,
    {.NeedsTargetDir = true,
     .Searching = "正在搜索待切分文件 . . . ",
     .NoneFound = "未找到需切分的文件",
     .CancelledInScan = "文件切分过程被取消！",
     .SuccessHeader = "分 -- 已切分清单",
     .FailureHeader = "分 -- 未切分清单",
     .SuccessHead = "本次总共切分了",
     .SecondSuccessHead = "本次执行总共切分了",
     .Unit = "个文件",
     .FailureTail = "个文件没有切分成功。",
     .Finished = "本次切分完毕！    ",
     .WorkingWord = "正在切分",
     .PageWord = "正在切分",
     .PageOf = "页  共",
     .WorkingCell = "切分...",
     .DoneWord = "已切分",
     .FailedWord = "切分失败",
     .Order = SummaryOrder::FailureFirst,
     .FailureLineKind = FailureLine::PathWithoutExtension,
     .ErrorCopyKind = ErrorCopy::CopyFile}};

// Per directory in place: no output directory needed, nothing written
// elsewhere and nothing copied on failure.  No test reads its words, so it
// speaks the directory row's.
constexpr JobTexts InPlaceTexts() {
  JobTexts texts = kDirectoryRow.Texts;
  texts.NeedsTargetDir = false;
  texts.ErrorCopyKind = ErrorCopy::None;
  return texts;
}

inline constexpr JobDescriptor kInPlaceRow = {
    JobId::BatchRename,
    "TestInPlaceJob",
    6,
    ScanRequest::Mode::Directories,
    nullptr,
    [](const Settings&) { return ScanRequest{ScanRequest::Mode::Directories, "", false, {}}; },
    nullptr,
    InPlaceTexts()};

}  // namespace zelk::test
