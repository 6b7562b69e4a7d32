#include "app/batch/BatchRunner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch/BatchHelp.h"
#include "jobs/JobActions.h"
#include "jobs/JobCatalog.h"
#include "platform/ProgramVersion.h"
#include "run/ShardRecord.h"
#include "settings/SettingsFile.h"
#include "support/FileTree.h"
#include "support/TempDir.h"
#include "support/TestJob.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::Touch;

class BatchRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    conf_ = dir_.File("program/ZELK.conf");
    fs::create_directories(dir_.File("program"));
    test::WriteBytes(conf_, DefaultSettingsFileText());
    Set("Common", "ConvertAction", "1");
    Set("Common", "ImageSrcDir", in_);
    Set("Common", "ConvertDstDir", out_);
    Set("Merge", "KeepDir", "0");
    registry_.Register(JobId::MergeFiles, [this] {
      return std::make_unique<test::TestJob>(DescriptorOf(JobId::MergeFiles), script_);
    });
  }

  void Set(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WriteIniString(conf_, section, key, value));
  }

  int Batch(std::vector<std::string> args) {
    out_text_.str("");
    err_text_.str("");
    RunControl control;
    return RunBatch(args, out_text_, err_text_, registry_, control);
  }

  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_text_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  test::TempDir dir_;
  std::string conf_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  JobRegistry registry_;
  test::TestJobScript script_;
  std::ostringstream out_text_;
  std::ostringstream err_text_;
};

TEST_F(BatchRunnerTest, RunsTheStoredActionAndExitsByItsFailures) {
  Touch(in_ + "/a/1.tif");
  Touch(in_ + "/bad/1.tif");
  EXPECT_EQ(Batch({conf_}), kBatchSomeFailed);
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{in_ + "/a", in_ + "/bad"}));
  const std::vector<std::string> lines = OutLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "正在搜索待合并图像目录 . . . ");
  EXPECT_EQ(lines[1], "正在合并" + in_ + "/a");
  EXPECT_TRUE(lines[2].starts_with("已完成1/2项，已用")) << lines[2];  // after each item
  EXPECT_EQ(lines.back(), "本次合并完毕！    ");
  // Why an item failed, in the operator's words, on standard error and in
  // the day's reasons list beside the two result lists.
  EXPECT_NE(err_text_.str().find(in_ + "/bad：处理失败"), std::string::npos);
  EXPECT_EQ(test::EntryCount(dir_.File("program/Logs")), 3);
  EXPECT_TRUE(fs::exists(out_ + "/Error/bad/1.tif"));

  fs::remove_all(in_ + "/bad");
  Touch(in_ + "/c/1.tif");
  EXPECT_EQ(Batch({conf_}), kBatchAllDone);
  EXPECT_EQ(script_.Seen.back(), in_ + "/c");
  EXPECT_EQ(Batch({conf_}), kBatchAllDone);  // nothing left to do
  EXPECT_EQ(OutLines().back(), "未找到需合并的图像目录");
}

TEST_F(BatchRunnerTest, SettleLeavesOutWhatChangedRecently) {
  Touch(in_ + "/old/1.tif");
  Touch(in_ + "/new/1.tif");
  test::SetTreeAge(in_, 600);
  test::SetTreeAge(in_ + "/new", 5);
  EXPECT_EQ(Batch({conf_, "--settle", "60"}), kBatchAllDone);
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{in_ + "/old"}));
  EXPECT_EQ(OutLines().back(), "本次合并完毕！    （1项在60秒内有改动，留待下次转换）");
  EXPECT_EQ(Batch({"--settle=0", conf_}), kBatchAllDone);
  EXPECT_EQ(script_.Seen.back(), in_ + "/new");
}

TEST_F(BatchRunnerTest, ARunThatCannotStartExitsWithTwoAndSaysWhy) {
  Touch(in_ + "/a/1.tif");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Case> usage = {
      {{conf_, conf_}, "用法"},
      {{conf_, "--settle"}, "用法"},
      {{conf_, "--settle", "-1"}, "--settle"},
      {{conf_, "--verbose"}, "用法"},
      {{dir_.File("program/other.conf")}, "ZELK.conf"},
      {{dir_.File("missing/ZELK.conf")}, "配置文件"},
  };
  for (const Case& c : usage) {
    EXPECT_EQ(Batch(c.args), kBatchNotStarted) << c.message;
    EXPECT_NE(err_text_.str().find(c.message), std::string::npos) << err_text_.str();
  }

  Set("Common", "ConvertAction", "2");  // no split job in this registry
  EXPECT_EQ(Batch({conf_}), kBatchNotStarted);
  EXPECT_NE(err_text_.str().find("“多页拆分”功能尚未提供"), std::string::npos) << err_text_.str();

  Set("Common", "ConvertAction", "9");
  EXPECT_EQ(Batch({conf_}), kBatchNotStarted);
  EXPECT_NE(err_text_.str().find("ConvertAction"), std::string::npos);

  Set("Common", "ConvertAction", "1");
  Set("Common", "ConvertDstDir", in_ + "/a/out");
  EXPECT_EQ(Batch({conf_}), kBatchNotStarted);
  EXPECT_EQ(err_text_.str(), "输出目录不能位于源目录之内！\n");

  Set("Common", "ConvertDstDir", out_);
  Set("Common", "ImageSrcDir", dir_.File("nowhere"));
  EXPECT_EQ(Batch({conf_}), kBatchNotStarted);
  EXPECT_EQ(err_text_.str(), "源目录“" + dir_.File("nowhere") + "”不存在！\n");
  Set("Common", "ImageSrcDir", in_);

  Set("Common", "ConvertDstDir", "");
  EXPECT_EQ(Batch({conf_}), kBatchNotStarted);
  EXPECT_EQ(err_text_.str(), "请选择目录！\n");
  EXPECT_TRUE(script_.Seen.empty());
}

TEST_F(BatchRunnerTest, AcceptsExactlyTheActionsOfTheJobTable) {
  const int outside[] = {0, static_cast<int>(kActionCount) + 1};
  for (int action : outside) {
    Set("Common", "ConvertAction", std::to_string(action));
    EXPECT_EQ(Batch({conf_}), kBatchNotStarted) << action;
    EXPECT_EQ(err_text_.str(), "[Common] ConvertAction 须为 1 到 " + std::to_string(kActionCount) +
                                   " 的整数：“" + std::to_string(action) + "”\n");
  }
  // Inside the range an action gets as far as its job: this registry has
  // only the merge job, the others say they are not available.
  for (const JobAction& action : kJobActions) {
    Set("Common", "ConvertAction", std::to_string(action.Number));
    Batch({conf_});
    EXPECT_EQ(err_text_.str().find("ConvertAction"), std::string::npos) << err_text_.str();
    if (action.Number != 1) {
      EXPECT_NE(err_text_.str().find("功能尚未提供"), std::string::npos) << err_text_.str();
    }
  }
}

TEST_F(BatchRunnerTest, ADamagedActionRunsNoJobAndNamesTheKeyAndTheStoredText) {
  Touch(in_ + "/a/1.tif");
  // The window reads these leniently (most of them as action 1); a batch
  // run must not guess which job was meant.
  for (const std::string value :
       {"abc", "", "1.9", "99999999999999999999", "0", "7", "-1", "1abc", "+1", "0x1"}) {
    Set("Common", "ConvertAction", value);
    EXPECT_EQ(Batch({conf_}), kBatchNotStarted) << value;
    EXPECT_EQ(err_text_.str(), "[Common] ConvertAction 须为 1 到 " + std::to_string(kActionCount) +
                                   " 的整数：“" + value + "”\n");
    EXPECT_TRUE(out_text_.str().empty()) << value;
  }
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_FALSE(fs::exists(dir_.File("program/Logs")));
  EXPECT_EQ(ReadIniString(conf_, "Common", "ConvertAction"), "0x1");  // left as it was

  Set("Common", "ConvertAction", "01");  // digits all the same
  EXPECT_EQ(Batch({conf_}), kBatchAllDone) << err_text_.str();
  EXPECT_EQ(script_.Seen, (std::vector<std::string>{in_ + "/a"}));
}

TEST_F(BatchRunnerTest, HelpListsTheOptionsSettingsEnvironmentAndEveryExitStatus) {
  for (const char* flag : {"--help", "-h"}) {
    EXPECT_EQ(Batch({flag}), kBatchAllDone) << flag;
    EXPECT_EQ(out_text_.str(), BatchHelp());
    EXPECT_TRUE(err_text_.str().empty());
  }
  // Help wins over everything else on the line, and runs nothing.
  Touch(in_ + "/a/1.tif");
  EXPECT_EQ(Batch({conf_, "--settle", "5", "--help"}), kBatchAllDone);
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_EQ(Batch({conf_, "--version"}), kBatchAllDone);
  EXPECT_EQ(out_text_.str(), std::string("zelk-batch ") + ProgramVersion() + "\n");
  EXPECT_TRUE(script_.Seen.empty());

  const std::string help = BatchHelp();
  for (const char* word :
       {"--settle", "--help", "-h", "[Common] ImageSrcDir", "[Common] ConvertDstDir",
        "[Common] ConvertAction", "[ImageCompress]", "OMP_THREAD_LIMIT", "TESSDATA_PREFIX",
        "ZELK_BIN_DIR", "SIGINT", "SIGTERM", "SIGHUP", "SIGQUIT", "--summary", "--date",
        "--version", ".shard-03-of-16.txt"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
  for (const JobAction& action : kJobActions) {
    EXPECT_NE(help.find(std::to_string(action.Number) + " " + action.Caption), std::string::npos)
        << action.Caption;
  }
  for (const std::string& section : ActionSectionNames()) {
    EXPECT_NE(help.find("[" + section + "]"), std::string::npos) << section;
  }
  const std::size_t statuses = help.find("退出状态：\n");
  ASSERT_NE(statuses, std::string::npos);
  for (const int status : {kBatchAllDone, kBatchSomeFailed, kBatchNotStarted, kBatchStopped}) {
    EXPECT_NE(help.find("\n  " + std::to_string(status) + "  ", statuses), std::string::npos)
        << status;
  }

  const std::string program = ZELK_BATCH_EXECUTABLE;
  EXPECT_EQ(WEXITSTATUS(std::system((program + " --help >/dev/null 2>&1").c_str())), kBatchAllDone);
}

// --summary reads the records of the Logs beside the settings file: 0 when
// every shard is done without failures, 1 for a failed item or a shard
// not done, 2 for a wrong call; it runs nothing.
TEST_F(BatchRunnerTest, SummaryExitsByTheDaysShardRecords) {
  Touch(in_ + "/a/1.tif");
  const std::string logs = dir_.File("program/Logs");
  fs::create_directories(logs);
  const LocalDateTime day{2026, 3, 7, 0, 0, 0};
  const auto record = [&](const Shard& shard, long long failures, bool ended) {
    ShardRunLine run{1772874000, "node", 1, "", std::nullopt};
    std::string text = ShardRecordLine(run) + "\r\n";
    run.End = ShardRunEnd{1772874060, ShardRunOutcome::Finished, 3, failures, 30};
    if (ended) text += ShardRecordLine(run) + "\r\n";
    test::WriteBytes(logs + "/" + ShardRecordName(day, shard), text);
  };
  const std::vector<std::string> summary{"--summary", conf_, "--date", "2026-03-07"};

  record({0, 2}, 0, true);
  EXPECT_EQ(Batch(summary), kBatchSomeFailed);  // shard 1 of 2 never ran
  EXPECT_NE(out_text_.str().find("分片 01/2  没有记录"), std::string::npos) << out_text_.str();
  record({1, 2}, 0, false);
  EXPECT_EQ(Batch(summary), kBatchSomeFailed);  // killed
  EXPECT_NE(out_text_.str().find("分片 01/2  未结束"), std::string::npos) << out_text_.str();
  record({1, 2}, 0, true);
  EXPECT_EQ(Batch(summary), kBatchAllDone) << out_text_.str();
  EXPECT_EQ(OutLines().back(), "合计  2个分片中2个完成  成功6项  失败0项  页数60  用时合计2分0秒"
                               "（各次运行用时之和）  历时1分0秒（最早开始至最晚结束）");
  EXPECT_EQ(Batch({conf_, "--date=2026-03-07", "--summary"}), kBatchAllDone);
  record({1, 2}, 2, true);
  EXPECT_EQ(Batch(summary), kBatchSomeFailed);
  EXPECT_NE(out_text_.str().find("有2项转换失败"), std::string::npos) << out_text_.str();
  // Another day has no records.
  EXPECT_EQ(Batch({"--summary", conf_, "--date", "2026-03-08"}), kBatchSomeFailed);
  EXPECT_EQ(OutLines(), std::vector<std::string>{"2026年03月08日没有分片运行的记录：" + logs});
  EXPECT_TRUE(script_.Seen.empty());

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"--summary", dir_.File("nowhere/ZELK.conf")},
        {"--summary", dir_.File("program/other.conf")},
        {"--summary", conf_, "--date", "2026-02-30"},
        {"--summary", conf_, "--date", "7.3.2026"},
        {"--summary", conf_, "--shard", "0/2"},
        {conf_, "--date", "2026-03-07"}}) {
    EXPECT_EQ(Batch(wrong), kBatchNotStarted) << wrong.back();
    EXPECT_FALSE(err_text_.str().empty()) << wrong.back();
  }
  EXPECT_TRUE(script_.Seen.empty());
}

TEST_F(BatchRunnerTest, TheExecutableReportsAWrongCallWithExitStatusTwo) {
  const std::string program = ZELK_BATCH_EXECUTABLE;
  const std::string quiet = " >/dev/null 2>&1";
  EXPECT_EQ(WEXITSTATUS(std::system((program + " --settle" + quiet).c_str())), kBatchNotStarted);
  EXPECT_EQ(WEXITSTATUS(std::system((program + " " + dir_.File("nowhere/ZELK.conf") + quiet).c_str())),
            kBatchNotStarted);
}

}  // namespace
}  // namespace zelk
