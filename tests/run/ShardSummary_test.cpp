// The shard records and their summary: record lines read back as written,
// damaged ones do not, and the day's summary totals the runs of every
// shard and names what is not done (a failed item, a shard killed, never
// run or stopped).

#include "run/ShardSummary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "run/ShardRecord.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

const LocalDateTime kDay{2026, 3, 7, 12, 0, 0};
const long long kNine = 1772874000;  // 2026-03-07 09:00:00 UTC

ShardRunLine Start(long long started, const std::string& host, long long pid,
                   const std::string& job = {}) {
  return {started, host, pid, job, std::nullopt};
}

ShardRunLine End(ShardRunLine run, long long seconds, ShardRunOutcome outcome,
                 long long successes, long long failures, long long pages) {
  run.End = ShardRunEnd{run.Started + seconds, outcome, successes, failures, pages};
  return run;
}

void ExpectSameLine(const ShardRunLine& read, const ShardRunLine& written) {
  EXPECT_EQ(read.Started, written.Started);
  EXPECT_EQ(read.Host, written.Host);
  EXPECT_EQ(read.Pid, written.Pid);
  EXPECT_EQ(read.Job, written.Job);
  ASSERT_EQ(read.End.has_value(), written.End.has_value());
  if (!written.End) return;
  EXPECT_EQ(read.End->Ended, written.End->Ended);
  EXPECT_EQ(read.End->Outcome, written.End->Outcome);
  EXPECT_EQ(read.End->Successes, written.End->Successes);
  EXPECT_EQ(read.End->Failures, written.End->Failures);
  EXPECT_EQ(read.End->Pages, written.End->Pages);
}

TEST(ShardRecordTest, LinesReadBackAsWrittenAndDamagedOnesDoNot) {
  test::UseUtc();
  const ShardRunLine start = Start(kNine, "node07", 4711, "1234_3");
  EXPECT_EQ(ShardRecordLine(start),
            "开始\t时间=2026-03-07 09:00:00\t开始时刻=1772874000\t主机=node07\t进程=4711\t作业=1234_3");
  const ShardRunLine end = End(start, 65, ShardRunOutcome::Finished, 12, 1, 240);
  EXPECT_EQ(ShardRecordLine(end),
            "结束\t时间=2026-03-07 09:01:05\t开始时刻=1772874000\t结束时刻=1772874065\t"
            "主机=node07\t进程=4711\t作业=1234_3\t结果=完成\t成功=12\t失败=1\t页数=240\t用时=1分5秒");
  for (const ShardRunLine& line :
       {start, end, End(start, 0, ShardRunOutcome::NothingFound, 0, 0, 0),
        End(start, 9, ShardRunOutcome::Cancelled, 1, 0, 3),
        End(Start(kNine, "pod-3", 1), 2, ShardRunOutcome::NotPrepared, 0, 0, 0)}) {
    const std::optional<ShardRunLine> read = ParseShardRecordLine(ShardRecordLine(line) + "\r");
    ASSERT_TRUE(read) << ShardRecordLine(line);
    ExpectSameLine(*read, line);
  }

  // A host or job with a tab stays one field.
  const std::optional<ShardRunLine> odd =
      ParseShardRecordLine(ShardRecordLine(Start(kNine, "a\tb", 7, "x\ny")));
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->Host, "a\\tb");
  EXPECT_EQ(odd->Job, "x\\ny");

  const std::string whole = ShardRecordLine(end);
  for (const std::string& damaged :
       {std::string(), std::string("结束"), whole.substr(0, whole.find("\t页数")),
        "完了" + whole.substr(whole.find('\t')), whole.substr(0, whole.find("\t进程")),
        std::string("结束\t开始时刻=x\t主机=a\t进程=1\t结束时刻=2\t结果=完成\t成功=1\t失败=0\t页数=1"),
        std::string("结束\t开始时刻=1\t主机=a\t进程=1\t结束时刻=2\t结果=好\t成功=1\t失败=0\t页数=1"),
        std::string("结束\t开始时刻=1\t主机=a\t进程=1\t结束时刻=2\t结果=完成\t成功=-1\t失败=0\t页数=1"),
        // Values that would wrap the day's totals round, or a time before 1970.
        std::string("结束\t开始时刻=1\t主机=a\t进程=1\t结束时刻=2\t结果=完成\t成功=1\t失败=0\t"
                    "页数=9223372036854775807"),
        std::string("结束\t开始时刻=1\t主机=a\t进程=1\t结束时刻=2\t结果=完成\t"
                    "成功=1000000000001\t失败=0\t页数=1"),
        std::string("开始\t开始时刻=-5\t主机=a\t进程=1")}) {
    EXPECT_FALSE(ParseShardRecordLine(damaged)) << damaged;
  }
}

TEST(ShardRecordTest, RecordNamesAreReadOnlyForTheirDayAndInTheFormRunsWrite) {
  EXPECT_EQ(ShardRecordName(kDay, {3, 16}), "2026年03月07日-汇总.shard-03-of-16.txt");
  const std::string stamp = "2026年03月07日";
  const std::optional<Shard> shard = ShardOfRecordName("2026年03月07日-汇总.shard-03-of-16.txt", stamp);
  ASSERT_TRUE(shard);
  EXPECT_EQ(shard->Index, 3);
  EXPECT_EQ(shard->Count, 16);
  EXPECT_TRUE(ShardOfRecordName("2026年03月07日-汇总.shard-127-of-128.txt", stamp));
  for (const char* other :
       {"2026年03月06日-汇总.shard-03-of-16.txt", "2026年03月07日-汇总.txt",
        "2026年03月07日-成功.shard-03-of-16.txt", "2026年03月07日-汇总.shard-3-of-16.txt",
        "2026年03月07日-汇总.shard-16-of-16.txt", "2026年03月07日-汇总.shard-00-of-1.txt",
        "2026年03月07日-汇总.shard-03-of-16.txt.bak", "2026年03月07日-汇总.shard--1-of-16.txt",
        "2026年03月07日-汇总.shard-03-of-x.txt"}) {
    EXPECT_FALSE(ShardOfRecordName(other, stamp)) << other;
  }
}

class ShardSummaryTest : public ::testing::Test {
 protected:
  void SetUp() override { test::UseUtc(); }

  // Appends the lines to the record of `shard` as runs write them.
  void Record(const Shard& shard, const std::vector<ShardRunLine>& lines,
              const LocalDateTime& day = kDay) {
    fs::create_directories(logs_);
    const std::string path = logs_ + "/" + ShardRecordName(day, shard);
    std::string text = fs::exists(path) ? test::ReadBytes(path) : std::string();
    for (const ShardRunLine& line : lines) text += ShardRecordLine(line) + "\r\n";
    test::WriteBytes(path, text);
  }
  ShardDaySummary Summary() const { return SummarizeShards(logs_, kDay); }
  std::vector<std::string> Text() const { return ShardSummaryText(Summary()); }

  test::TempDir dir_;
  std::string logs_ = dir_.File("Logs");
};

TEST_F(ShardSummaryTest, AllShardsDoneGiveTheTotalsAndBothTimes) {
  const ShardRunLine a = Start(kNine, "node01", 10, "77_0");
  const ShardRunLine b = Start(kNine + 5, "node02", 20, "77_1");
  const ShardRunLine c = Start(kNine + 2, "node03", 30, "77_2");
  Record({0, 3}, {a, End(a, 65, ShardRunOutcome::Finished, 3, 0, 120)});
  // Shard 1 killed once, then run again to the end.
  const ShardRunLine again = Start(kNine + 100, "node04", 21, "78_1");
  Record({1, 3}, {b, again, End(again, 50, ShardRunOutcome::Finished, 2, 0, 80)});
  // Nothing left in shard 2.
  Record({2, 3}, {c, End(c, 1, ShardRunOutcome::NothingFound, 0, 0, 0)});
  // Another day and an unsharded list are not counted.
  Record({0, 3}, {End(a, 5, ShardRunOutcome::Finished, 9, 9, 9)}, {2026, 3, 8, 0, 0, 0});
  test::WriteBytes(logs_ + "/2026年03月07日-成功.txt", "x\r\n");

  const ShardDaySummary summary = Summary();
  EXPECT_TRUE(summary.AllDone());
  ASSERT_EQ(summary.Divisions.size(), 1u);
  const ShardTotals& totals = summary.Divisions[0].Totals;
  EXPECT_EQ(totals.Successes, 5);
  EXPECT_EQ(totals.Failures, 0);
  EXPECT_EQ(totals.Pages, 200);
  EXPECT_EQ(totals.RunSeconds, 116);
  EXPECT_EQ(totals.SpanSeconds(), 150);  // 9:00:00 to 9:02:30
  EXPECT_EQ(Text(), (std::vector<std::string>{
                        "2026年03月07日的分片运行：" + logs_,
                        "分片 00/3  完成  成功3项  失败0项  页数120  用时1分5秒  主机node01  作业77_0",
                        "分片 01/3  完成  成功2项  失败0项  页数80  用时50秒  主机node04  作业78_1",
                        "分片 02/3  完成  成功0项  失败0项  页数0  用时1秒  主机node03  作业77_2",
                        "合计  3个分片中3个完成  成功5项  失败0项  页数200  用时合计1分56秒"
                        "（各次运行用时之和）  历时2分30秒（最早开始至最晚结束）"}));
}

TEST_F(ShardSummaryTest, AFailedItemIsNotAllDone) {
  const ShardRunLine a = Start(kNine, "node01", 10);
  const ShardRunLine b = Start(kNine, "node02", 20);
  Record({0, 2}, {a, End(a, 10, ShardRunOutcome::Finished, 4, 1, 40)});
  Record({1, 2}, {b, End(b, 10, ShardRunOutcome::Finished, 5, 0, 50)});
  const ShardDaySummary summary = Summary();
  EXPECT_FALSE(summary.AllDone());
  EXPECT_EQ(summary.Divisions[0].Shards[0].State, ShardState::Done);
  EXPECT_EQ(summary.Divisions[0].Totals.Failures, 1);
  const std::vector<std::string> text = Text();
  EXPECT_EQ(text.back(), "有1项转换失败，见当天各分片的失败清单和失败原因清单");
}

TEST_F(ShardSummaryTest, KilledStoppedUnpreparedAndMissingShardsAreNamed) {
  // 0: done.  1: its last run never ended, though an earlier one did.
  // 2: stopped by a signal.  3: could not prepare.  4: no record at all.
  // 5: its end line was cut short by a crash (no line feed).
  const ShardRunLine s0 = Start(kNine, "n0", 1);
  Record({0, 6}, {s0, End(s0, 20, ShardRunOutcome::Finished, 2, 0, 8)});
  const ShardRunLine s1 = Start(kNine, "n1", 2);
  const ShardRunLine s1Later = Start(kNine + 600, "n1", 3);
  Record({1, 6}, {s1, End(s1, 30, ShardRunOutcome::Finished, 1, 0, 4), s1Later});
  const ShardRunLine s2 = Start(kNine, "n2", 4);
  Record({2, 6}, {s2, End(s2, 40, ShardRunOutcome::Cancelled, 1, 0, 4)});
  const ShardRunLine s3 = Start(kNine, "n3", 5);
  Record({3, 6}, {s3, End(s3, 1, ShardRunOutcome::NotPrepared, 0, 0, 0)});
  const ShardRunLine s5 = Start(kNine, "n5", 6);
  Record({5, 6}, {s5});
  const std::string cut = ShardRecordLine(End(s5, 10, ShardRunOutcome::Finished, 3, 0, 9));
  const std::string record5 = logs_ + "/" + ShardRecordName(kDay, {5, 6});
  test::WriteBytes(record5, test::ReadBytes(record5) + cut.substr(0, cut.size() - 5));

  const ShardDaySummary summary = Summary();
  EXPECT_FALSE(summary.AllDone());
  std::vector<ShardState> states;
  for (const ShardReport& report : summary.Divisions.at(0).Shards) states.push_back(report.State);
  EXPECT_EQ(states, (std::vector<ShardState>{ShardState::Done, ShardState::Unfinished,
                                             ShardState::Cancelled, ShardState::NotPrepared,
                                             ShardState::NoRecord, ShardState::Unfinished}));
  EXPECT_EQ(summary.Divisions[0].Totals.Successes, 4);
  EXPECT_EQ(summary.UnreadableLines, 0u);  // a line still being written is not damage

  const std::vector<std::string> text = Text();
  ASSERT_EQ(text.size(), 9u);
  EXPECT_EQ(text[2], "分片 01/6  未结束（最后一次运行没有结束记录：被中断或仍在运行）  "
                     "成功1项  失败0项  页数4  用时30秒  主机n1");
  EXPECT_EQ(text[5], "分片 04/6  没有记录（未运行，或未能开始）");
  EXPECT_TRUE(text[7].starts_with("合计  6个分片中1个完成  成功4项")) << text[7];
  EXPECT_EQ(text[8], "未完成的分片：分片 01/6、分片 02/6、分片 03/6、分片 04/6、分片 05/6");
}

TEST_F(ShardSummaryTest, NoRecordsIsNotDoneAndTwoShardCountsAreTwoDivisions) {
  EXPECT_FALSE(Summary().AllDone());
  EXPECT_EQ(Text(), std::vector<std::string>{"2026年03月07日没有分片运行的记录：" + logs_});

  const ShardRunLine a = Start(kNine, "a", 1);
  Record({0, 2}, {a, End(a, 1, ShardRunOutcome::Finished, 1, 0, 1)});
  Record({1, 2}, {a, End(a, 1, ShardRunOutcome::Finished, 1, 0, 1)});
  Record({2, 4}, {a, End(a, 1, ShardRunOutcome::Finished, 1, 0, 1)});
  test::WriteBytes(logs_ + "/" + ShardRecordName(kDay, {0, 4}), "??\r\n");
  const ShardDaySummary summary = Summary();
  ASSERT_EQ(summary.Divisions.size(), 2u);
  EXPECT_EQ(summary.Divisions[0].Count, 2);
  EXPECT_EQ(summary.Divisions[1].Count, 4);
  EXPECT_EQ(summary.UnreadableLines, 1u);
  EXPECT_FALSE(summary.AllDone());
  EXPECT_EQ(Text().back(), "有1行记录无法读取，未计入：" + ShardRecordName(kDay, {0, 4}));
}

}  // namespace
}  // namespace zelk
