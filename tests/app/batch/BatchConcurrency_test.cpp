// Several zelk-batch processes started together on one source tree and one
// destination, each with a program directory (settings and result lists) of
// its own: together they must convert every item exactly once, every
// output whole, each process ending with exit status 0 and leaving no
// working file behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "OutputChecks.h"
#include "SourceTrees.h"
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
  // `sharded`: run k takes shard k of `count` (--shard k/count).
  void MergeTogether(int count, bool sharded = false) {
    std::vector<ProgramDirectory> programs;
    for (int k = 0; k < count; ++k) {
      programs.emplace_back(dir_.File("program" + std::to_string(k)),
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
      const std::vector<std::string> lines = programs[k].SuccessListLines();
      successLines.insert(successLines.end(), lines.begin(), lines.end());
      if (sharded) {
        for (const std::string& item : items_) {
          const int listed = ItemLineCounts(lines, {item}).at(item);
          EXPECT_EQ(listed, InShard({k, count}, in_, item) ? 1 : 0) << item << " in run " << k;
        }
      }
    }

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
