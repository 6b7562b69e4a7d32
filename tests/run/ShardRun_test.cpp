// A run of one shard of several: it writes result lists and a record of
// its own beside the usual lists, never the usual ones, and its record
// says when it started and how it ended, with the counts and pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "filesafety/ProcessOwner.h"
#include "run/ResultLog.h"
#include "run/RunFrame_fixture.h"
#include "run/ShardRecord.h"
#include "run/TestJobRows.h"
#include "scan/Shard.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::kDirectoryRow;
using test::Touch;

class ShardRunTest : public test::RunFrameTest {
 protected:
  // The names in Logs, sorted.
  std::vector<std::string> Logs() const {
    std::vector<std::string> names;
    if (!fs::is_directory(dir_.File("Logs"))) return names;
    for (const auto& entry : fs::directory_iterator(dir_.File("Logs"))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // The lines of the shard's record, read back.
  std::vector<ShardRunLine> RecordLines(const char* name) const {
    std::vector<ShardRunLine> lines;
    const std::string text = test::ReadBytes(dir_.File(std::string("Logs/") + name));
    for (std::size_t start = 0, end = text.find("\r\n"); end != std::string::npos;
         start = end + 2, end = text.find("\r\n", start)) {
      const std::optional<ShardRunLine> line =
          ParseShardRecordLine(text.substr(start, end - start));
      EXPECT_TRUE(line) << text.substr(start, end - start);
      if (line) lines.push_back(*line);
    }
    return lines;
  }
};

TEST_F(ShardRunTest, AShardWritesListsAndARecordOfItsOwnAndAWholeRunTheUsualLists) {
  // Items of both shards of two; "bad" fails.  The shard taken is the
  // one of "bad", with two pages in one of its other items.
  const int mine = ShardOfItem("bad", 2);
  std::vector<std::string> converted;
  for (const char* name : {"a", "b", "c", "d", "e", "f", "bad"}) {
    Touch(In(name) + "/1.tif");
    if (ShardOfItem(name, 2) == mine && std::string(name) != "bad") converted.push_back(In(name));
  }
  ASSERT_FALSE(converted.empty());
  Touch(converted[0] + "/2.tif");
  shard_ = {mine, 2};
  setenv("SLURM_ARRAY_JOB_ID", "77", 1);
  setenv("SLURM_ARRAY_TASK_ID", std::to_string(mine).c_str(), 1);

  const RunResult result = Run(kDirectoryRow);
  unsetenv("SLURM_ARRAY_JOB_ID");
  unsetenv("SLURM_ARRAY_TASK_ID");
  EXPECT_EQ(result.End, RunEnd::Finished);
  EXPECT_EQ(result.Successes, converted.size());
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(result.Pages, static_cast<long long>(converted.size()) + 1);

  const std::string suffix = ".shard-0" + std::to_string(mine) + "-of-2.txt";
  EXPECT_EQ(Logs(), (std::vector<std::string>{"2026年03月07日-失败" + suffix,
                                              "2026年03月07日-失败原因" + suffix,
                                              "2026年03月07日-成功" + suffix,
                                              "2026年03月07日-汇总" + suffix}));
  // The lists themselves read as the usual ones do.
  std::string success = "2026年3月7日 9时5分 -- 已归档清单\r\n";
  for (const std::string& item : converted) success += item + "\r\n";
  success += "本次总共归档了" + std::to_string(converted.size()) + "个目录 共历时" +
             FormatElapsedSeconds(25 * static_cast<long long>(converted.size() + 1)) + "\r\n\r\n";
  EXPECT_EQ(List(("Logs/2026年03月07日-成功" + suffix).c_str()), success);
  EXPECT_EQ(List(("Logs/2026年03月07日-失败" + suffix).c_str()),
            "2026年3月7日 9时5分 -- 未归档清单\r\n" + In("bad") +
                "\r\n本次执行共有1个目录没有归档成功。\r\n\r\n");

  const std::vector<ShardRunLine> record =
      RecordLines(("2026年03月07日-汇总" + suffix).c_str());
  ASSERT_EQ(record.size(), 2u);
  const long long started = EpochSeconds(test::At(2026, 3, 7, 9, 5, 0));
  for (const ShardRunLine& line : record) {
    EXPECT_EQ(line.Started, started);
    EXPECT_EQ(line.Host, ThisProcess().Host);
    EXPECT_EQ(line.Pid, ThisProcess().Pid);
    EXPECT_EQ(line.Job, "77_" + std::to_string(mine));
  }
  EXPECT_FALSE(record[0].End);
  ASSERT_TRUE(record[1].End);
  EXPECT_EQ(record[1].End->Outcome, ShardRunOutcome::Finished);
  EXPECT_EQ(record[1].End->Ended, started + 25 * static_cast<long long>(converted.size() + 1));
  EXPECT_EQ(record[1].End->Successes, static_cast<long long>(converted.size()));
  EXPECT_EQ(record[1].End->Failures, 1);
  EXPECT_EQ(record[1].End->Pages, result.Pages);

  // The whole tree, on the same day: the usual lists, and no record.
  shard_ = {};
  script_.OnItem = nullptr;
  Run(kDirectoryRow);
  std::vector<std::string> logs = Logs();
  EXPECT_EQ(logs.size(), 7u);
  EXPECT_TRUE(ListExists(test::kSuccessList));
  EXPECT_TRUE(ListExists(test::kFailureList));
  EXPECT_TRUE(ListExists("Logs/2026年03月07日-失败原因.txt"));
  EXPECT_EQ(RecordLines(("2026年03月07日-汇总" + suffix).c_str()).size(), 2u);
}

TEST_F(ShardRunTest, AShardWithNothingToDoOrThatIsStoppedSaysSoInItsRecord) {
  // Nothing at all in shard 1 of 3: an end line without lists.
  fs::create_directories(in_);
  shard_ = {1, 3};
  EXPECT_EQ(Run(kDirectoryRow).End, RunEnd::NothingFound);
  EXPECT_EQ(Logs(), std::vector<std::string>{"2026年03月07日-汇总.shard-01-of-3.txt"});

  // Stopped after its first item, later in the day.
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"}) Touch(In(name) + "/1.tif");
  script_.OnItem = [this](RunContext&, std::size_t) {
    clock_.Advance(std::chrono::seconds(25));
    control_.RequestCancel();
  };
  clock_.Set(test::At(2026, 3, 7, 13, 0, 0));
  shard_ = {ShardOfItem("a", 3), 3};
  const RunResult stopped = Run(kDirectoryRow);
  ASSERT_EQ(stopped.End, RunEnd::Cancelled);

  const std::vector<ShardRunLine> nothing = RecordLines("2026年03月07日-汇总.shard-01-of-3.txt");
  const std::string stoppedRecord =
      "2026年03月07日-汇总.shard-0" + std::to_string(shard_.Index) + "-of-3.txt";
  const std::vector<ShardRunLine> cut = RecordLines(stoppedRecord.c_str());
  ASSERT_GE(nothing.size(), 2u);
  ASSERT_TRUE(nothing[1].End);
  EXPECT_EQ(nothing[1].End->Outcome, ShardRunOutcome::NothingFound);
  ASSERT_EQ(cut.size(), shard_.Index == 1 ? 4u : 2u);
  ASSERT_TRUE(cut.back().End);
  EXPECT_EQ(cut.back().End->Outcome, ShardRunOutcome::Cancelled);
  EXPECT_EQ(cut.back().End->Successes, 1);
  EXPECT_EQ(cut.back().Started, EpochSeconds(test::At(2026, 3, 7, 13, 0, 0)));
}

}  // namespace
}  // namespace zelk
