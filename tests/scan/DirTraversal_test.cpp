#include "scan/DirTraversal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/PageReader.h"
#include "scan/ScanFixture.h"
#include "scan/Shard.h"
#include "support/FileTree.h"
#include "support/TempDir.h"
#include "support/TestImages.h"
#include "support/Unprivileged.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::MakeDirs;
using test::Touch;

using DirTraversalTest = test::ScanFixture<DirTraversal>;

TEST_F(DirTraversalTest, LeavesOfADirectoryComeBeforeTheTreesBelowItsOtherSubdirectories) {
  Touch(In("a/p1/1.tif"));
  Touch(In("a/p2/1.tif"));
  Touch(In("b/1.tif"));
  EXPECT_EQ(Scan(Options("tif")),
            (std::vector<std::string>{In("b"), In("a/p1"), In("a/p2")}));
  ASSERT_EQ(rows_.size(), 3u);
  EXPECT_EQ(rows_[0].Number, 1);
  EXPECT_EQ(rows_[2].Number, 3);
  EXPECT_EQ(rows_[2].Key(), "D3");
  EXPECT_EQ(rows_[2].Status, "");
}

TEST_F(DirTraversalTest, OnlyLeafDirectoriesAreRowsAndTheRootNeverIs) {
  Touch(In("root-page.tif"));
  Touch(In("mixed/page.tif"));
  Touch(In("mixed/inner/page.tif"));
  MakeDirs(In("empty-leaf"));
  EXPECT_EQ(Scan(Options("tif")), (std::vector<std::string>{In("empty-leaf"), In("mixed/inner")}));
  EXPECT_EQ(rows_[0].Pages, 0);  // a leaf without images is still a row

  test::TempDir bare;
  Touch(bare.Path() / "only.tif");
  ScanOptions options = Options("tif");
  options.SourceRoot = bare.Path().string();
  EXPECT_TRUE(Scan(options).empty());
}

TEST_F(DirTraversalTest, PageCountFollowsTheMergeFileTypes) {
  for (const char* name : {"1.tif", "2.TIF", "3.tiff", "4.jpg", "5.JPG", "6.jpeg", "7.png",
                           ".hidden.tif", "8.tif.bak"}) {
    Touch(In("d/") + name);
  }
  ScanOptions options = Options("tif");
  options.CountTif = true;
  options.CountJpg = false;
  Scan(options);
  ASSERT_EQ(rows_.size(), 1u);
  EXPECT_EQ(rows_[0].Pages, 4);  // 1.tif 2.TIF 3.tiff 8.tif.bak
  options.CountJpg = true;
  Scan(options);
  EXPECT_EQ(rows_[0].Pages, 6);
}

TEST_F(DirTraversalTest, KeepDirDecidesWhereAnExistingResultIsLookedFor) {
  Touch(In("a/p1/1.tif"));
  Touch(Out("a/p1.tif"));
  EXPECT_TRUE(Scan(Options("tif", false)).empty());
  EXPECT_EQ(Scan(Options("tif", true)), (std::vector<std::string>{In("a/p1")}));
  Touch(Out("a/p1/p1.tif"));
  EXPECT_TRUE(Scan(Options("tif", true)).empty());
  // A directory in place of the result file is no result.
  fs::remove(Out("a/p1.tif"));
  MakeDirs(Out("a/p1.tif"));
  EXPECT_EQ(Scan(Options("tif", false)).size(), 1u);
}

TEST_F(DirTraversalTest, RenameScanLeavesOutLeavesWhoseTargetDirectoryExists) {
  Touch(In("a/p1/x.tif"));
  Touch(In("a/p2/x.tif"));
  MakeDirs(Out("a/p1"));
  EXPECT_EQ(Scan(Options("")), (std::vector<std::string>{In("a/p2")}));
}

TEST_F(DirTraversalTest, HiddenAndLinkedDirectoriesAreNeitherRowsNorScanned) {
  Touch(In(".hidden/p/1.tif"));
  Touch(In("box/.thumbs/1.tif"));  // a hidden subdirectory does not make box a non-leaf
  Touch(In("box/1.tif"));
  Touch(dir_.File("elsewhere/p/1.tif"));
  fs::create_directory_symlink(dir_.File("elsewhere"), In("link"));
  EXPECT_EQ(Scan(Options("tif")), (std::vector<std::string>{In("box")}));
}

// The job fails such a directory with the reason; nothing is read through
// the link, so its pages are not known.
TEST_F(DirTraversalTest, APageLinkThatLeavesTheSourceRootMakesThePageCountUnknown) {
  Touch(In("box/1.tif"));
  Touch(In("box/2.tif"));
  Touch(dir_.File("elsewhere/far.tif"));
  fs::create_symlink(dir_.File("elsewhere/far.tif"), In("box/3.tif"));
  Touch(In("near/1.tif"));
  fs::create_symlink("1.tif", In("near/2.tif"));
  ScanOptions options = Options("tif");
  std::vector<std::string> read;
  options.PageCount = [&read](const std::string& path) {
    read.push_back(path);
    return 1;
  };
  EXPECT_EQ(Scan(options), (std::vector<std::string>{In("box"), In("near")}));
  EXPECT_EQ(rows_[0].Pages, WorkRow::kUnknownPages);
  EXPECT_EQ(rows_[1].Pages, 2);
  EXPECT_EQ(std::count(read.begin(), read.end(), In("box/3.tif")), 0);
}

TEST_F(DirTraversalTest, PageCountsCountEveryPageOfMultiPageFiles) {
  test::WriteTiffPages(In("box/1.tif"), 3);
  test::WriteJpeg(In("box/2.jpg"));
  Touch(In("box/3.tif"), "not an image");  // one page, which its job fails to read
  ScanOptions options = Options("tif");
  options.PageCount = [](const std::string& path) { return GetPageCount(path); };
  Scan(options);
  ASSERT_EQ(rows_.size(), 1u);
  EXPECT_EQ(rows_[0].Pages, 5);
  options.CountJpg = false;
  Scan(options);
  EXPECT_EQ(rows_[0].Pages, 4);
}

TEST_F(DirTraversalTest, NaturalOrderOfDirectoryNames) {
  for (const char* name : {"scan10", "Scan2", "scan1", "p10", "P2", "b"}) Touch(In(name) + "/1.tif");
  EXPECT_EQ(Scan(Options("tif")),
            (std::vector<std::string>{In("b"), In("P2"), In("p10"), In("scan1"), In("Scan2"),
                                      In("scan10")}));
}

// What is below an unlistable directory is unknown; the directory is
// passed over (ADirectoryThatCannotBeListedIsReportedAndPassedOver) and
// the scan goes on.
TEST_F(DirTraversalTest, AnUnlistableDirectoryIsPassedOverAndTheScanGoesOn) {
  Touch(In("locked/p/1.tif"));
  Touch(In("open/1.tif"));
  test::OpenToEveryone(dir_.Path());
  fs::permissions(In("locked"), fs::perms::none);
  const auto found = test::RunUnprivileged([&] {
    std::string paths;
    for (const std::string& path : Scan(Options("tif"))) paths += path + ";";
    return paths;
  });
  fs::permissions(In("locked"), fs::perms::all);
  if (!found) GTEST_SKIP() << "cannot run without the super-user's rights here";
  EXPECT_EQ(*found, In("open") + ";");
}

TEST_F(DirTraversalTest, SettleTimeLeavesOutLeavesChangedRecently) {
  Touch(In("old/1.tif"));
  Touch(In("fresh/1.tif"));
  Touch(In("growing/1.tif"));
  test::SetTreeAge(In(), 600);
  test::SetAge(In("growing/1.tif"), 5);  // a page still being written
  ScanOptions options = Options("tif");
  options.SettleTime = std::chrono::seconds(60);
  test::SetAge(In("fresh"), 10);
  std::vector<std::string> heldBack;
  options.HeldBack = [&heldBack](const std::string& path) { heldBack.push_back(path); };
  EXPECT_EQ(Scan(options), (std::vector<std::string>{In("old")}));
  EXPECT_EQ(heldBack, (std::vector<std::string>{In("fresh"), In("growing")}));
  options.SettleTime = std::chrono::seconds(0);
  EXPECT_EQ(Scan(options).size(), 3u);
  EXPECT_EQ(heldBack.size(), 2u);
}

TEST_F(DirTraversalTest, TemporaryOutputsAreNotCountedAsPages) {
  Touch(In("d/1.tif"));
  Touch(In("d/2.tif.part"));
  ScanOptions options = Options("tif");
  options.IsTemporaryOutput = [](std::string_view name) { return name.ends_with(".part"); };
  Scan(options);
  ASSERT_EQ(rows_.size(), 1u);
  EXPECT_EQ(rows_[0].Pages, 1);
}

TEST_F(DirTraversalTest, StopRequestEndsTheScanEarly) {
  for (const char* name : {"a", "b", "c"}) Touch(In(name) + "/1.tif");
  ScanOptions options = Options("tif");
  int entries = 0;
  options.StopRequested = [&entries] { return ++entries > 2; };
  EXPECT_EQ(Scan(options), (std::vector<std::string>{In("a"), In("b")}));
}

TEST_F(DirTraversalTest, ReportsEveryRowAndTheTotal) {
  struct Recorder : ScanObserver {
    std::vector<std::string> rows;
    std::vector<std::size_t> totals;
    void OnRowAdded(const WorkRow& row) override { rows.push_back(row.Path); }
    void OnTotalCount(std::size_t total) override { totals.push_back(total); }
  } recorder;
  Touch(In("a/1.tif"));
  Touch(In("b/1.tif"));
  DirTraversal(in_, Options("tif"), rows_, &recorder);
  EXPECT_EQ(recorder.rows, (std::vector<std::string>{In("a"), In("b")}));
  EXPECT_EQ(recorder.totals, (std::vector<std::size_t>{1, 2}));
}

// A directory that can be read but not searched lists names whose kind
// is unknown, and one that cannot be read lists nothing: each is reported
// and passed over, never a leaf that looks empty nor a failed item.
TEST_F(DirTraversalTest, ADirectoryThatCannotBeListedIsReportedAndPassedOver) {
  Touch(In("a/1.tif"));
  Touch(In("no-search/1.tif"));
  Touch(In("no-search/inner/1.tif"));
  Touch(In("no-read/1.tif"));
  Touch(In("z/1.tif"));
  test::OpenToEveryone(dir_.Path());
  ASSERT_EQ(chmod(In("no-search").c_str(), 0666), 0);
  ASSERT_EQ(chmod(In("no-read").c_str(), 0333), 0);
  const auto found = test::RunUnprivileged([&] {
    std::string text;
    ScanOptions options = Options("tif");
    options.Unreadable = [&text](const std::string& path) { text += "?" + path + ";"; };
    for (const std::string& path : Scan(options)) text += path + ";";
    return text;
  });
  chmod(In("no-search").c_str(), 0777);
  chmod(In("no-read").c_str(), 0777);
  if (!found) GTEST_SKIP() << "cannot run without the super-user's rights here";
  EXPECT_EQ(*found, "?" + In("no-read") + ";?" + In("no-search") + ";" + In("a") + ";" + In("z") + ";");
}

TEST_F(DirTraversalTest, ShardsSplitTheLeavesAndItemsAddedLaterMoveNoEarlierOne) {
  auto document = [&](const std::string& year, int i) {
    Touch(In(year + "/box" + std::to_string(i % 6) + "/doc" + std::to_string(i) + "/1.tif"));
  };
  for (int i = 0; i < 60; ++i) document("2001", i);
  auto scanShard = [&](int index) {
    ScanOptions options = Options("tif");
    options.Admits = [&, index](const std::string& path) {
      return InShard({index, 4}, In(), path);
    };
    return Scan(options);
  };
  std::vector<std::vector<std::string>> before;
  std::size_t total = 0;
  for (int i = 0; i < 4; ++i) {
    before.push_back(scanShard(i));
    total += before.back().size();
  }
  EXPECT_EQ(total, 60u) << "every leaf in exactly one shard";

  // The tree grows: a new year, and new documents in the old boxes.
  for (int i = 60; i < 120; ++i) document(i % 2 ? "2002" : "2001", i);
  for (int i = 0; i < 4; ++i) {
    const std::vector<std::string> after = scanShard(i);
    for (const std::string& row : before[static_cast<std::size_t>(i)]) {
      EXPECT_NE(std::find(after.begin(), after.end(), row), after.end()) << row << " moved";
    }
  }
}

}  // namespace
}  // namespace zelk
