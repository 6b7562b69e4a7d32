#include "scan/FileTraversal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/PageReader.h"
#include "scan/ScanFixture.h"
#include "support/FileTree.h"
#include "support/TempDir.h"
#include "support/TestImages.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::Touch;

using FileTraversalTest = test::ScanFixture<FileTraversal>;

TEST_F(FileTraversalTest, FilesOfADirectoryComeBeforeItsSubdirectoriesAndResultsAreLeftOut) {
  Touch(In("x.tif"));
  Touch(In("a/y.jpg"));
  EXPECT_EQ(Scan(Options("pdf")), (std::vector<std::string>{In("x.tif"), In("a/y.jpg")}));
  Touch(Out("x.pdf"));
  EXPECT_EQ(Scan(Options("pdf")), (std::vector<std::string>{In("a/y.jpg")}));
  Touch(Out("a/y.pdf"));
  EXPECT_TRUE(Scan(Options("pdf")).empty());
}

TEST_F(FileTraversalTest, AcceptsNamesHoldingAnImageExtensionAnywhere) {
  for (const char* name : {"scan.part2.TIF", "a.tiff", "a.pdf.bak", "b.bmp", "c.PNG",
                           ".hidden.jpg", "notes.txt", "tif", "jpeg.doc"}) {
    Touch(In(name));
  }
  EXPECT_EQ(Scan(Options("pdf")),
            (std::vector<std::string>{In(".hidden.jpg"), In("a.pdf.bak"), In("a.tiff"),
                                      In("b.bmp"), In("c.PNG"), In("scan.part2.TIF")}));
  // The result of scan.part2.TIF is named after everything before the last dot.
  Touch(Out("scan.part2.pdf"));
  EXPECT_EQ(Scan(Options("pdf")).size(), 5u);
}

TEST_F(FileTraversalTest, SplitScanLeavesOutFilesWhoseTargetExistsAsDirectoryOrFile) {
  Touch(In("a/y.tif"));
  Touch(In("a/z.tif"));
  fs::create_directories(Out("a/y"));
  Touch(Out("a/z"));
  EXPECT_TRUE(Scan(Options("")).empty());
}

TEST_F(FileTraversalTest, OnlyRegularFilesAndPlainVisibleDirectoriesAreTaken) {
  Touch(In(".hidden/inner.tif"));
  Touch(dir_.File("elsewhere/far.tif"));
  fs::create_directory_symlink(dir_.File("elsewhere"), In("dirlink.tif"));
  fs::create_symlink(dir_.File("elsewhere/far.tif"), In("filelink.tif"));
  fs::create_symlink(dir_.File("nothing.tif"), In("dangling.tif"));
  fs::create_directories(In("folder.tif"));
  EXPECT_EQ(Scan(Options("pdf")), (std::vector<std::string>{In("filelink.tif")}));
}

TEST_F(FileTraversalTest, NaturalOrderOfFileNames) {
  for (const char* name : {"scan0010.tif", "scan0002.tif", "p10.jpg", "P2.jpg"}) Touch(In(name));
  EXPECT_EQ(Scan(Options("pdf")), (std::vector<std::string>{In("P2.jpg"), In("p10.jpg"),
                                                            In("scan0002.tif"),
                                                            In("scan0010.tif")}));
}

TEST_F(FileTraversalTest, PageCountsComeFromTheImageFiles) {
  test::WriteTiffPages(In("three.tif"), 3);
  test::WriteJpeg(In("one.jpg"));
  Touch(In("broken.tif"), "not an image");
  ScanOptions options = Options("pdf");
  options.PageCount = [](const std::string& path) { return GetPageCount(path); };
  Scan(options);
  ASSERT_EQ(rows_.size(), 3u);
  EXPECT_EQ(rows_[0].Path, In("broken.tif"));
  EXPECT_EQ(rows_[0].Pages, WorkRow::kUnknownPages);
  EXPECT_EQ(rows_[0].PagesText(), "?");
  EXPECT_EQ(rows_[1].Pages, 1);
  EXPECT_EQ(rows_[2].Pages, 3);
}

TEST_F(FileTraversalTest, ALinkLeavingTheSourceRootIsARowButNothingIsReadThroughIt) {
  test::WriteTiffPages(dir_.File("elsewhere/far.tif"), 2);
  test::WriteTiffPages(In("near.tif"), 2);
  fs::create_symlink(dir_.File("elsewhere/far.tif"), In("far-link.tif"));
  fs::create_symlink("near.tif", In("near-link.tif"));
  ScanOptions options = Options("pdf");
  std::vector<std::string> read;
  options.PageCount = [&read](const std::string& path) {
    read.push_back(path);
    return GetPageCount(path);
  };
  // The run fails the row with its reason, so the operator learns of it.
  EXPECT_EQ(Scan(options), (std::vector<std::string>{In("far-link.tif"), In("near-link.tif"),
                                                     In("near.tif")}));
  EXPECT_EQ(rows_[0].Pages, WorkRow::kUnknownPages);
  EXPECT_EQ(rows_[1].Pages, 2);
  EXPECT_EQ(read, (std::vector<std::string>{In("near-link.tif"), In("near.tif")}));
}

TEST_F(FileTraversalTest, TemporaryOutputsAndUnsettledFilesAreLeftOut) {
  Touch(In("a.tif"));
  Touch(In("b.pdf.part"));
  Touch(In("c.tif"));
  test::SetTreeAge(in_, 600);
  test::SetAge(In("c.tif"), 3);
  ScanOptions options = Options("pdf");
  options.IsTemporaryOutput = [](std::string_view name) { return name.ends_with(".part"); };
  options.SettleTime = std::chrono::seconds(60);
  std::vector<std::string> heldBack;
  options.HeldBack = [&heldBack](const std::string& path) { heldBack.push_back(path); };
  EXPECT_EQ(Scan(options), (std::vector<std::string>{In("a.tif")}));
  EXPECT_EQ(heldBack, (std::vector<std::string>{In("c.tif")}));
}

}  // namespace
}  // namespace zelk
