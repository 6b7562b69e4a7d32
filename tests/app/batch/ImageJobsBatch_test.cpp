// zelk-batch running the image jobs end to end: the executable with the
// built-in jobs, a settings file and real images.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/batch/BatchFixture.h"
#include "app/batch/BatchRunner.h"
#include "support/FileTree.h"
#include "support/TestImages.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

using test::TiffPageCount;

class ImageJobsBatchTest : public test::BatchFixture {
 protected:
  int Batch() {
    const std::string command = std::string(ZELK_BATCH_EXECUTABLE) + " '" + conf_ + "' >'" +
                                dir_.File("stdout.txt") + "' 2>&1";
    return WEXITSTATUS(std::system(command.c_str()));
  }

  std::string Printed() const { return test::ReadBytes(dir_.File("stdout.txt")); }
};

TEST_F(ImageJobsBatchTest, MergeThenSplitThenRename) {
  test::WriteTiffPages(in_ + "/box/1.tif", 1);
  test::WriteJpeg(in_ + "/box/2.jpg");
  Set("Common", "ConvertAction", "1");
  Set("Merge", "KeepDir", "0");
  EXPECT_EQ(Batch(), kBatchAllDone) << Printed();
  EXPECT_EQ(TiffPageCount(out_ + "/box.tif"), 2);
  EXPECT_NE(Printed().find("本次合并完毕！"), std::string::npos);

  // The merged file becomes the source of a split.
  Set("Common", "ImageSrcDir", out_);
  Set("Common", "ConvertDstDir", dir_.File("pages"));
  Set("Common", "ConvertAction", "2");
  EXPECT_EQ(Batch(), kBatchAllDone) << Printed();
  EXPECT_EQ(TiffPageCount(dir_.File("pages/box/box-0001.tif")), 1);
  EXPECT_EQ(TiffPageCount(dir_.File("pages/box/box-0002.tif")), 1);

  Set("Common", "ImageSrcDir", in_);
  Set("Common", "ConvertDstDir", dir_.File("renamed"));
  Set("Common", "ConvertAction", "6");
  EXPECT_EQ(Batch(), kBatchAllDone) << Printed();
  EXPECT_TRUE(fs::exists(dir_.File("renamed/box/box-0001.tif")));
  EXPECT_TRUE(fs::exists(dir_.File("renamed/box/box-0002.jpg")));
  EXPECT_EQ(test::EntryCount(dir_.File("program/Logs")), 2);
}

}  // namespace
}  // namespace zelk
