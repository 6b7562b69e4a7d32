#include "jobs/JobTexts.h"

#include <array>

namespace zelk {
namespace {

using enum SummaryOrder;
using enum FailureLine;
using enum ErrorCopy;

// Rows in JobId order.
constexpr std::array<JobTexts, 9> kTexts = {{
    {JobId::MergeFiles, "MergeFiles", 1, true,
     "正在搜索待合并图像目录 . . . ", "未找到需合并的图像目录", "图像目录合并过程被取消！",
     "分 -- 已合并清单", "分 -- 未合并清单", "本次总共合并了", "", "个图像目录",
     "个图像目录没有合并成功。", "本次合并完毕！    ",
     "正在合并", "正在合并", "页 共", "合并...", "已合并", "合并失败",
     SuccessFirst, ItemPath, CopyDirectory},
    {JobId::SplitFiles, "SplitFiles", 2, true,
     "正在搜索待分拆图像文件 . . . ", "未找到需分拆的图像文件", "文档图像拆分过程被取消！",
     "分 -- 已分拆清单", "分 -- 未分拆清单", "本次总共分拆了", "本次执行总共分拆了", "个图像文件",
     "个图像文件没有分拆成功。", "本次分拆完毕！    ",
     "正在分拆", "正在分拆", "页  共", "分拆...", "已分拆", "分拆失败",
     FailureFirst, PathWithoutExtension, CopyFile},
    {JobId::BatchRename, "BatchRename", 6, false,
     "正在搜索待更名图像目录 . . . ", "未找到需更名的图像目录", "图像文件批量更名过程被取消！",
     "分 -- 已更名清单", "分 -- 未更名清单", "本次总共更名了", "", "个图像目录",
     "个图像目录没有更名成功。", "本次更名完毕！    ",
     "正在更名", "正在更名", "页 共", "更名...", "已更名", "更名失败",
     SuccessFirst, ItemPath, None},
    {JobId::MergeFiles2PDF, "MergeFiles2PDF", 3, true,
     "正在搜索待转换图像目录 . . . ", "未找到需转换的图像目录", "PDF转换过程被取消！",
     "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "", "个图像目录",
     "个图像目录没有转换成功。", "本次转换完毕！    ",
     "正在合并转换", "正在合并", "页 共", "转换...", "已转换", "转换失败",
     SuccessFirst, ItemPath, CopyDirectory},
    {JobId::ConvertFiles2PDF, "ConvertFiles2PDF", 3, true,
     "正在搜索待转换图像文件 . . . ", "未找到需转换的图像文件", "文档图像转换过程被取消！",
     "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "本次执行总共转换了", "个图像文件",
     "个图像文件没有转换成功。", "本次转换完毕！    ",
     "正在转换", "正在转换", "页  共", "转换...", "已转换", "转换失败",
     FailureFirstAfterFailedLast, ItemPath, CopyFile},
    {JobId::MergeFiles22PDF, "MergeFiles22PDF", 4, true,
     "正在搜索待转换图像目录 . . . ", "未找到需转换的图像目录", "图像目录转换过程被取消！",
     "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "", "个图像目录",
     "个图像目录没有转换成功。", "本次转换完毕！    ",
     "正在合并", "正在合并", "页 共", "合并...", "已转换", "转换失败",
     FailureFirstAfterFailedLast, ItemPath, CopyDirectory},
    {JobId::ConvertFiles22PDF, "ConvertFiles22PDF", 4, true,
     "正在搜索待转换图像文件 . . . ", "未找到需转换的图像文件", "文档图像转换过程被取消！",
     "分 -- 已转换清单", "分 -- 未转换清单", "本次总共转换了", "本次执行总共转换了", "个图像文件",
     "个图像文件没有转换成功。", "本次转换完毕！    ",
     "正在转换", "正在转换", "页  共", "转换...", "已转换", "转换失败",
     FailureFirstAfterFailedLast, ParentDirectory, MoveFile},
    {JobId::MergeFiles2Word, "MergeFiles2Word", 5, true,
     "正在搜索待识别图像目录 . . . ", "未找到需识别的图像目录", "图像目录识别过程被取消！",
     "分 -- 已转换清单", "分 -- 未转换清单", "本次总共识别了", "", "个图像目录",
     "个图像目录没有识别成功。", "本次OCR文本识别完毕！    ",
     "正在合并", "正在合并", "页 共", "合并...", "已识别", "识别失败",
     FailureFirstAfterFailedLast, ItemPath, CopyDirectory},
    {JobId::ConvertFiles2Word, "ConvertFiles2Word", 5, true,
     "正在搜索待识别图像文件 . . . ", "未找到需识别的图像文件", "文档图像识别过程被取消！",
     "分 -- 已识别清单", "分 -- 未识别清单", "本次总共识别了", "本次执行总共识别了", "个图像文件",
     "个图像文件没有识别成功。", "本次OCR文本识别完毕！    ",
     "正在识别", "正在识别", "页  共", "识别...", "已识别", "识别失败",
     FailureFirstAfterFailedLast, ParentDirectory, CopyFile},
}};

constexpr bool RowsInIdOrder() {
  for (std::size_t i = 0; i < kTexts.size(); ++i) {
    if (static_cast<std::size_t>(kTexts[i].Id) != i) return false;
  }
  return true;
}
static_assert(RowsInIdOrder(), "one row per job, in JobId order");

}  // namespace

const JobTexts& TextsOf(JobId id) { return kTexts[static_cast<std::size_t>(id)]; }

}  // namespace zelk
