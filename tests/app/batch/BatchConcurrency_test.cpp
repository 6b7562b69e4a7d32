// Several zelk-batch processes started together on one source tree and one
// destination, each with a program directory (settings and result lists) of
// its own: together they must convert every item exactly once, every
// output whole, each process ending with exit status 0 and leaving no
// working file behind.  Shards of one array share one program directory,
// as on a cluster: each writes lists of its own there, and --summary totals
// their records.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "OutputChecks.h"
#include "SourceTrees.h"
#include "run/ResultLog.h"
#include "scan/Shard.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using namespace batchtest;

// Long enough items that runs started together are still working on the
// same tree while the others start and scan.
constexpr int kItems = 8;
constexpr int kPagesPerItem = 40;

class BatchConcurrencyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One set of pages, copied into every item.
    const std::string pages = dir_.File("pages");
    for (int page = 1; page <= kPagesPerItem; ++page) {
      WriteBitonalTiff(pages + "/p" + std::to_string(100 + page) + ".tif", 1, page);
    }
    for (int item = 1; item <= kItems; ++item) {
      const std::string directory = in_ + "/box" + std::to_string(10 + item);
      fs::create_directories(directory);
      fs::copy(pages, directory, fs::copy_options::recursive);
      items_.push_back(directory);
    }
  }

  // Starts `count` runs of the merge job at once and checks what they left;
  // `sharded`: run k takes shard k of `count` (--shard k/count), and all
  // share the first program directory.
  void MergeTogether(int count, bool sharded = false) {
    std::vector<ProgramDirectory> programs;
    for (int k = 0; k < count; ++k) {
      programs.emplace_back(dir_.File("program" + std::to_string(sharded ? 0 : k)),
                            std::vector<SettingLine>{{"Common", "ConvertAction", "1"},
                                                     {"Common", "ImageSrcDir", in_},
                                                     {"Common", "ConvertDstDir", out_},
                                                     {"Merge", "KeepDir", "0"}});
    }
    std::vector<std::unique_ptr<test::ChildProcess>> runs;
    for (int k = 0; k < count; ++k) {
      std::vector<std::string> command{ZELK_BATCH_EXECUTABLE, programs[k].SettingsFile()};
      if (sharded) command.push_back("--shard=" + std::to_string(k) + "/" + std::to_string(count));
      runs.push_back(std::make_unique<test::ChildProcess>(command, programs[k].OutputFile()));
    }

    std::vector<std::string> successLines;
    for (int k = 0; k < count; ++k) {
      const test::ChildEnd end = runs[k]->Wait();
      EXPECT_TRUE(end.ExitedWith(0)) << "run " << k << ": " << end.Describe() << "\n"
                                     << test::ReadBytes(programs[k].OutputFile());
    }
    for (int k = 0; k < count; ++k) {
      const Shard shard = sharded ? Shard{k, count} : Shard{};
      const std::vector<std::string> lines = programs[k].SuccessListLines(shard);
      successLines.insert(successLines.end(), lines.begin(), lines.end());
      if (sharded) {
        for (const std::string& item : items_) {
          const int listed = ItemLineCounts(lines, {item}).at(item);
          EXPECT_EQ(listed, InShard(shard, in_, item) ? 1 : 0) << item << " in run " << k;
        }
      }
    }
    if (sharded) CheckShardLists(programs[0], count);

    std::map<std::string, int> expectedOutputs;
    std::map<std::string, int> once;
    for (const std::string& item : items_) {
      expectedOutputs[fs::path(item).filename().string() + ".tif"] = kPagesPerItem;
      once[item] = 1;
    }
    EXPECT_EQ(DocumentPages(out_), expectedOutputs) << "outputs and their pages (-1: damaged)";
    EXPECT_EQ(ItemLineCounts(successLines, items_), once)
        << "times each item is listed as converted, over all runs";
    EXPECT_EQ(LeftoverWorkingFiles(in_), std::vector<std::string>{}) << "in the sources";
    EXPECT_EQ(LeftoverWorkingFiles(out_), std::vector<std::string>{}) << "in the destination";
  }

  // The shards wrote lists and a record each and no usual list (nor a
  // reasons list, with no failure); the summary of their day totals them,
  // and misses a shard whose record is gone.
  void CheckShardLists(const ProgramDirectory& program, int count) {
    const fs::path logs = fs::path(program.Path()) / "Logs";
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(logs)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    // The day the runs started on, from the first name.
    const std::string stamp =
        names.empty() ? std::string() : names[0].substr(0, names[0].find('-'));
    std::vector<std::string> expected;
    for (int k = 0; k < count; ++k) {
      for (const char* kind : {"-失败.txt", "-成功.txt", "-汇总.txt"}) {
        expected.push_back(ShardListName(stamp + kind, {k, count}));
      }
    }
    const std::string recordOfShard0 = ShardListName(stamp + "-汇总.txt", {0, count});
    // "2026年03月07日" as --date takes it (the summary may run after midnight).
    const std::string date = stamp.size() < 14 ? stamp
                                               : stamp.substr(0, 4) + "-" + stamp.substr(7, 2) +
                                                     "-" + stamp.substr(12, 2);
    const std::vector<std::string> summary{ZELK_BATCH_EXECUTABLE, "--summary",
                                           program.SettingsFile(), "--date", date};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected) << "every shard's own lists and record, no list of the whole tree";

    const std::string summaryOutput = dir_.File("summary.txt");
    const test::ChildEnd good =
        test::ChildProcess(summary, summaryOutput)
            .Wait();
    const std::string printed = test::ReadBytes(summaryOutput);
    EXPECT_TRUE(good.ExitedWith(0)) << good.Describe() << "\n" << printed;
    EXPECT_NE(printed.find("合计  " + std::to_string(count) + "个分片中" + std::to_string(count) +
                           "个完成  成功" + std::to_string(kItems) + "项  失败0项  页数" +
                           std::to_string(kItems * kPagesPerItem) + "  用时合计"),
              std::string::npos)
        << printed;

    // A shard without its record (never ran) makes the summary fail.
    fs::rename(logs / recordOfShard0, dir_.File("record-aside.txt"));
    fs::remove(summaryOutput);
    const test::ChildEnd missing =
        test::ChildProcess(summary, summaryOutput)
            .Wait();
    EXPECT_TRUE(missing.ExitedWith(1)) << missing.Describe();
    EXPECT_NE(test::ReadBytes(summaryOutput).find("没有记录"), std::string::npos)
        << test::ReadBytes(summaryOutput);
  }

  test::TempDir dir_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  std::vector<std::string> items_;
};

TEST_F(BatchConcurrencyTest, TwoRunsOnOneDestinationConvertEveryItemOnce) { MergeTogether(2); }

TEST_F(BatchConcurrencyTest, FourRunsOnOneDestinationConvertEveryItemOnce) { MergeTogether(4); }

TEST_F(BatchConcurrencyTest, FourShardsTogetherConvertEveryItemOnceEachInItsOwnShard) {
  MergeTogether(4, true);
}

}  // namespace
}  // namespace zelk
