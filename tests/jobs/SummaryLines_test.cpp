#include "run/SummaryLines.h"

#include <gtest/gtest.h>

#include <string>

#include "jobs/JobCatalog.h"

namespace zelk {
namespace {

// The written order after a failed last row, and the success line then.
struct Expectation {
  JobId id;
  bool failureFirstAfterFailedLast;
  bool failureFirstAlways;
  const char* successAfterFailedLast;
  const char* failure;
};

TEST(SummaryLinesTest, EveryJobWritesItsHeadsInItsOrder) {
  const Expectation expectations[] = {
      {JobId::MergeFiles, false, false, "本次总共合并了2个图像目录 共历时1秒\r\n",
       "本次执行共有1个图像目录没有合并成功。\r\n"},
      {JobId::SplitFiles, true, true, "本次执行总共分拆了2个图像文件 共历时1秒\r\n",
       "本次执行共有1个图像文件没有分拆成功。\r\n"},
      {JobId::BatchRename, false, false, "本次总共更名了2个图像目录 共历时1秒\r\n",
       "本次执行共有1个图像目录没有更名成功。\r\n"},
      {JobId::MergeFiles2PDF, false, false, "本次总共转换了2个图像目录 共历时1秒\r\n",
       "本次执行共有1个图像目录没有转换成功。\r\n"},
      {JobId::ConvertFiles2PDF, true, false, "本次执行总共转换了2个图像文件 共历时1秒\r\n",
       "本次执行共有1个图像文件没有转换成功。\r\n"},
      {JobId::MergeFiles22PDF, true, false, "本次总共转换了2个图像目录 共历时1秒\r\n",
       "本次执行共有1个图像目录没有转换成功。\r\n"},
      {JobId::ConvertFiles22PDF, true, false, "本次执行总共转换了2个图像文件 共历时1秒\r\n",
       "本次执行共有1个图像文件没有转换成功。\r\n"},
      {JobId::MergeFiles2Word, true, false, "本次总共识别了2个图像目录 共历时1秒\r\n",
       "本次执行共有1个图像目录没有识别成功。\r\n"},
      {JobId::ConvertFiles2Word, true, false, "本次执行总共识别了2个图像文件 共历时1秒\r\n",
       "本次执行共有1个图像文件没有识别成功。\r\n"},
  };
  for (const Expectation& e : expectations) {
    const JobTexts& texts = TextsOf(e.id);
    SCOPED_TRACE(DescriptorOf(e.id).Name);
    const auto afterFailure = SummaryLines(texts, 2, 1, "1秒", true);
    EXPECT_EQ(afterFailure[0].ToFailureList, e.failureFirstAfterFailedLast);
    const SummaryLine& success = afterFailure[afterFailure[0].ToFailureList ? 1 : 0];
    const SummaryLine& failure = afterFailure[afterFailure[0].ToFailureList ? 0 : 1];
    EXPECT_EQ(success.Text, e.successAfterFailedLast);
    EXPECT_EQ(failure.Text, e.failure);

    const auto normal = SummaryLines(texts, 2, 1, "1秒", false);
    EXPECT_EQ(normal[0].ToFailureList, e.failureFirstAlways);
    const SummaryLine& normalSuccess = normal[normal[0].ToFailureList ? 1 : 0];
    EXPECT_EQ(normalSuccess.Text.find("本次总共"), 0u) << normalSuccess.Text;
  }
}

}  // namespace
}  // namespace zelk
