// The checks the interruption and concurrency tests rely on must see a
// damaged document and a leftover working file, or those tests would pass
// whatever the runs left.

#include "OutputChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SourceTrees.h"
#include "imaging/Toolkit_helpers.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk::batchtest {
namespace {

namespace fs = std::filesystem;

// Keeps the first half of the file, as a write cut short would.
void CutInHalf(const fs::path& file) {
  fs::resize_file(file, fs::file_size(file) / 2);
}

TEST(OutputChecksTest, DamagedDocumentsCountAsNoPages) {
  test::TempDir dir;
  const std::string tiff = dir.File("out/box.tif");
  WriteBitonalTiff(tiff, 3, 1);
  const std::string pdf = dir.File("out/box.pdf");
  toolkittest::WriteImagePdf(pdf, 2, 595, 842, 20, 10, "/DeviceGray");
  EXPECT_EQ(WholeTiffPages(tiff), 3);
  EXPECT_EQ(WholePdfPages(pdf), 2);
  EXPECT_EQ(DocumentPages(dir.File("out")), (std::map<std::string, int>{{"box.pdf", 2}, {"box.tif", 3}}));

  CutInHalf(tiff);
  CutInHalf(pdf);
  EXPECT_EQ(WholeTiffPages(tiff), -1);
  EXPECT_EQ(WholePdfPages(pdf), -1);
  test::Touch(dir.File("out/notes.txt"));
  EXPECT_EQ(DocumentPages(dir.File("out")),
            (std::map<std::string, int>{{"box.pdf", -1}, {"box.tif", -1}, {"notes.txt", -1}}));
}

TEST(OutputChecksTest, WorkingFilesAreReportedAndNotTakenForOutputs) {
  test::TempDir dir;
  const std::string out = dir.File("out");
  WriteBitonalTiff(out + "/a/box.tif", 1, 1);
  WriteBitonalTiff(out + "/a/box.tif.host-41-1.zelk-tmp", 1, 1);
  WriteBitonalTiff(out + "/a/.zelk-staged-7/box-0001.tif", 1, 1);
  test::Touch(out + "/a/.zelk-claim-0123456789abcdef", "host 41");
  test::Touch(out + "/b/scan.zelk-renaming", "");

  EXPECT_EQ(DocumentPages(out), (std::map<std::string, int>{{"a/box.tif", 1}}));
  EXPECT_EQ(LeftoverWorkingFiles(out),
            (std::vector<std::string>{"a/.zelk-claim-0123456789abcdef holding \"host 41\"",
                                      "a/.zelk-staged-7/ with 1 entries",
                                      "a/box.tif.host-41-1.zelk-tmp",
                                      "b/scan.zelk-renaming holding \"\""}));
  EXPECT_EQ(TreeWithoutWorkingFiles(out), (std::vector<std::string>{"a/", "a/box.tif", "b/"}));
}

TEST(OutputChecksTest, ItemLinesAreCountedPerItem) {
  EXPECT_EQ(ItemLineCounts({"header", "/in/a", "/in/b", "/in/a", "summary"}, {"/in/a", "/in/b", "/in/c"}),
            (std::map<std::string, int>{{"/in/a", 2}, {"/in/b", 1}, {"/in/c", 0}}));
}

}  // namespace
}  // namespace zelk::batchtest
