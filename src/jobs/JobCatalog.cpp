#include "jobs/JobCatalog.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <type_traits>

#include "jobs/BatchRenameJob.h"
#include "jobs/ConvertFiles22PdfJob.h"
#include "jobs/ConvertFiles2PdfJob.h"
#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/JobActions.h"
#include "jobs/MergeFiles22PdfJob.h"
#include "jobs/MergeFiles2PdfJob.h"
#include "jobs/MergeFiles2WordJob.h"
#include "jobs/MergeFilesJob.h"
#include "jobs/SplitFilesJob.h"

namespace zelk {
namespace {

using enum ScanRequest::Mode;
using enum SummaryOrder;
using enum FailureLine;
using enum ErrorCopy;

// The key `key` of the record's section member `section`, by its handle
// and its field, both named from the same two words.
#define ZELK_SECTION_KEY(section, key)                                      \
  SectionKey<std::remove_cvref_t<decltype(Settings::section.key)>> {        \
    SettingId::section##_##key,                                             \
        [](const Settings& s) -> const auto& { return s.section.key; },     \
        [](Settings& s) -> auto& { return s.section.key; }                  \
  }

constexpr JobSection kMerge = {SettingSection::Merge, {}, ZELK_SECTION_KEY(Merge, KeepDir),
                               ZELK_SECTION_KEY(Merge, Grouping)};
constexpr JobSection kSplit = {SettingSection::Split, {}, {}, {}};
constexpr JobSection kRename = {SettingSection::Rename, {}, {}, {}};
constexpr JobSection kPdf = {SettingSection::PDF, ZELK_SECTION_KEY(PDF, ConvertType),
                             ZELK_SECTION_KEY(PDF, KeepDir), ZELK_SECTION_KEY(PDF, Grouping)};
constexpr JobSection kTwoPdf = {SettingSection::TwoPDF, ZELK_SECTION_KEY(TwoPDF, ConvertType),
                                ZELK_SECTION_KEY(TwoPDF, KeepDir),
                                ZELK_SECTION_KEY(TwoPDF, Grouping)};
constexpr JobSection kOcr = {SettingSection::OCR, ZELK_SECTION_KEY(OCR, ConvertType), {}, {}};

#undef ZELK_SECTION_KEY

ScanRequest DirectoryScan(std::string targetType, bool keepDir) {
  return ScanRequest{Directories, std::move(targetType), keepDir, {}};
}

ScanRequest FileScan(std::string targetType) {
  return ScanRequest{Files, std::move(targetType), false, {}};
}

template <typename SomeJob>
std::unique_ptr<Job> Make() {
  return std::make_unique<SomeJob>();
}

// Rows in JobId order.  The standard scans: directories with the job's
// document extension and its section's KeepDir, or files with the
// extension; splitting and renaming look for no outputs, and a Word
// document per directory lies beside the mirrored directory (keep-directory
// 0) whatever an earlier merge used.
constexpr std::array kJobs = std::to_array<JobDescriptor>({
    {JobId::MergeFiles, "MergeFiles", 1, Directories, &kMerge,
     [](const Settings& s) { return DirectoryScan("tif", s.Merge.KeepDir != 0); },
     Make<MergeFilesJob>,
     {true,
      "正在搜索待合并图像目录 . . . ", "未找到需合并的图像目录", "图像目录合并过程被取消！",
      "分 -- 已合并清单", "分 -- 未合并清单", "本次总共合并了", "", "个图像目录",
      "个图像目录没有合并成功。", "本次合并完毕！    ",
      "正在合并", "正在合并", "页 共", "合并...", "已合并", "合并失败",
      SuccessFirst, ItemPath, CopyDirectory}},
    {JobId::SplitFiles, "SplitFiles", 2, Files, &kSplit,
     [](const Settings&) { return FileScan(""); },
     Make<SplitFilesJob>,
     {true,
      "正在搜索待分拆图像文件 . . . ", "未找到需分拆的图像文件", "文档图像拆分过程被取消！",
      "分 -- 已分拆清单", "分 -- 未分拆清单", "本次总共分拆了", "本次执行总共分拆了", "个图像文件",
      "个图像文件没有分拆成功。", "本次分拆完毕！    ",
      "正在分拆", "正在分拆", "页  共", "分拆...", "已分拆", "分拆失败",
      FailureFirst, PathWithoutExtension, CopyFile}},
    {JobId::BatchRename, "BatchRename", 6, Directories, &kRename,
     [](const Settings&) { return DirectoryScan("", false); },
     Make<BatchRenameJob>,
     {false,
      "正在搜索待更名图像目录 . . . ", "未找到需更名的图像目录", "图像文件批量更名过程被取消！",
      "分 -- 已更名清单", "分 -- 未更名清单", "本次总共更名了", "", "个图像目录",
      "个图像目录没有更名成功。", "本次更名完毕！    ",
      "正在更名", "正在更名", "页 共", "更名...", "已更名", "更名失败",
      SuccessFirst, ItemPath, None}},
    {JobId::MergeFiles2PDF, "MergeFiles2PDF", 3, Directories, &kPdf,
     [](const Settings& s) { return DirectoryScan("pdf", s.PDF.KeepDir != 0); },
     Make<MergeFiles2PdfJob>,
     {true,
      "正在搜索待转换图像目录 . . . ", "未找到需转换的图像目录", "PDF转换过程被取消！",
      "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "", "个图像目录",
      "个图像目录没有转换成功。", "本次转换完毕！    ",
      "正在合并转换", "正在合并", "页 共", "转换...", "已转换", "转换失败",
      SuccessFirst, ItemPath, CopyDirectory}},
    {JobId::ConvertFiles2PDF, "ConvertFiles2PDF", 3, Files, &kPdf,
     [](const Settings&) { return FileScan("pdf"); },
     Make<ConvertFiles2PdfJob>,
     {true,
      "正在搜索待转换图像文件 . . . ", "未找到需转换的图像文件", "文档图像转换过程被取消！",
      "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "本次执行总共转换了", "个图像文件",
      "个图像文件没有转换成功。", "本次转换完毕！    ",
      "正在转换", "正在转换", "页  共", "转换...", "已转换", "转换失败",
      FailureFirstAfterFailedLast, ItemPath, CopyFile}},
    {JobId::MergeFiles22PDF, "MergeFiles22PDF", 4, Directories, &kTwoPdf,
     [](const Settings& s) { return DirectoryScan("pdf", s.TwoPDF.KeepDir != 0); },
     Make<MergeFiles22PdfJob>,
     {true,
      "正在搜索待转换图像目录 . . . ", "未找到需转换的图像目录", "图像目录转换过程被取消！",
      "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "", "个图像目录",
      "个图像目录没有转换成功。", "本次转换完毕！    ",
      "正在合并", "正在合并", "页 共", "合并...", "已转换", "转换失败",
      FailureFirstAfterFailedLast, ItemPath, CopyDirectory}},
    {JobId::ConvertFiles22PDF, "ConvertFiles22PDF", 4, Files, &kTwoPdf,
     [](const Settings&) { return FileScan("pdf"); },
     Make<ConvertFiles22PdfJob>,
     {true,
      "正在搜索待转换图像文件 . . . ", "未找到需转换的图像文件", "文档图像转换过程被取消！",
      "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "本次执行总共转换了", "个图像文件",
      "个图像文件没有转换成功。", "本次转换完毕！    ",
      "正在转换", "正在转换", "页  共", "转换...", "已转换", "转换失败",
      FailureFirstAfterFailedLast, ParentDirectory, MoveFile}},
    {JobId::MergeFiles2Word, "MergeFiles2Word", 5, Directories, &kOcr,
     [](const Settings& s) { return DirectoryScan(OcrExtension(s), false); },
     Make<MergeFiles2WordJob>,
     {true,
      "正在搜索待识别图像目录 . . . ", "未找到需识别的图像目录", "图像目录识别过程被取消！",
      "分 -- 已转换清单", "分 -- 未转换清单", "本次总共识别了", "", "个图像目录",
      "个图像目录没有识别成功。", "本次OCR文本识别完毕！    ",
      "正在合并", "正在合并", "页 共", "合并...", "已识别", "识别失败",
      FailureFirstAfterFailedLast, ItemPath, CopyDirectory}},
    {JobId::ConvertFiles2Word, "ConvertFiles2Word", 5, Files, &kOcr,
     [](const Settings& s) { return FileScan(OcrExtension(s)); },
     Make<ConvertFiles2WordJob>,
     {true,
      "正在搜索待识别图像文件 . . . ", "未找到需识别的图像文件", "文档图像识别过程被取消！",
      "分 -- 已识别清单", "分 -- 未识别清单", "本次总共识别了", "本次执行总共识别了", "个图像文件",
      "个图像文件没有识别成功。", "本次OCR文本识别完毕！    ",
      "正在识别", "正在识别", "页  共", "识别...", "已识别", "识别失败",
      FailureFirstAfterFailedLast, ParentDirectory, CopyFile}},
});

constexpr bool RowsInIdOrder() {
  for (std::size_t i = 0; i < kJobs.size(); ++i) {
    if (static_cast<std::size_t>(kJobs[i].Id) != i) return false;
  }
  return true;
}
static_assert(RowsInIdOrder(), "one row per job, in JobId order");

// Every action runs one job, or one per directory and one per file whose
// shared section has a ConvertType to choose between them.
constexpr bool EveryActionRunsItsJobs() {
  for (const JobDescriptor& job : kJobs) {
    if (job.Action < 1 || job.Action > static_cast<int>(kActionCount)) return false;
  }
  for (const JobAction& action : kJobActions) {
    const JobDescriptor* perDirectory = nullptr;
    const JobDescriptor* perFile = nullptr;
    for (const JobDescriptor& job : kJobs) {
      if (job.Action != action.Number) continue;
      const JobDescriptor*& slot = job.Items == Directories ? perDirectory : perFile;
      if (slot != nullptr) return false;
      slot = &job;
    }
    if (perDirectory == nullptr && perFile == nullptr) return false;
    if (perDirectory != nullptr && perFile != nullptr &&
        (perDirectory->Section == nullptr || perDirectory->Section != perFile->Section ||
         perDirectory->Section->ConvertType.Read == nullptr)) {
      return false;
    }
    // The settings icon of the window opens the dialog of the jobs' section.
    const JobDescriptor* any = perDirectory != nullptr ? perDirectory : perFile;
    if ((action.SettingsTitle != nullptr) != (any->Section != nullptr)) return false;
  }
  return true;
}
static_assert(EveryActionRunsItsJobs(),
              "each action runs one job or a chosen pair, with options where it has a section");

}  // namespace

std::span<const JobDescriptor> JobCatalog() { return kJobs; }

const JobDescriptor& DescriptorOf(JobId id) {
  const auto index = static_cast<std::size_t>(id);
  if (index >= kJobs.size()) throw std::logic_error("a job without a catalog row");
  return kJobs[index];
}

std::string OcrExtension(const Settings& settings) {
  switch (settings.OCR.OutputType) {
    case 0: return "doc";
    case 1: return "docx";
    case 2: return "rtf";
    default: return {};
  }
}

const JobTexts& TextsOf(JobId id) { return DescriptorOf(id).Texts; }

ScanRequest DefaultScanRequest(JobId id, const Settings& settings) {
  return DescriptorOf(id).DefaultScan(settings);
}

ActionJobs JobsOfAction(int action) {
  ActionJobs jobs;
  for (const JobDescriptor& job : kJobs) {
    if (job.Action != action) continue;
    (job.Items == Directories ? jobs.PerDirectory : jobs.PerFile) = &job;
  }
  return jobs;
}

std::vector<std::string> ActionSectionNames() {
  std::vector<std::string> names;
  for (const JobAction& action : kJobActions) {
    const JobSection* section = JobsOfAction(action.Number).Section();
    if (section == nullptr) continue;
    const std::string name = SettingKeysOf(section->Id).front().Section;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

}  // namespace zelk
