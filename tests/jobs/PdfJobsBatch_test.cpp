// zelk-batch running both single-layer PDF jobs end to end: the built
// executable, a settings file and real images.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/PdfTest_helpers.h"
#include "jobs/JobRun_helpers.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

class PdfJobsBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.File("program"));
    test::WriteBytes(conf_, DefaultSettingsFileText());
    Set("Common", "ConvertAction", "3");
    Set("Common", "ImageSrcDir", in_);
    test::WriteColourJpeg(in_ + "/box/a.jpg", 40, 30, 300);
    test::WriteTiff(in_ + "/box/b.tif", {{48, 30, 1, 300}});
  }

  void Set(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WriteIniString(conf_, section, key, value));
  }

  // Runs the executable on the settings file; its exit status.
  int Batch() {
    const char* bin = std::getenv("ZELK_BIN_DIR");
    const std::string executable = std::string(bin != nullptr ? bin : "") + "/zelk-batch";
    EXPECT_TRUE(fs::exists(executable)) << executable << " is not built";
    const std::string command =
        executable + " '" + conf_ + "' >'" + dir_.File("stdout.txt") + "' 2>&1";
    return WEXITSTATUS(std::system(command.c_str()));
  }

  std::string Printed() const { return test::ReadBytes(dir_.File("stdout.txt")); }

  test::TempDir dir_;
  std::string conf_ = dir_.File("program/ZELK.conf");
  std::string in_ = dir_.File("in");
};

TEST_F(PdfJobsBatchTest, PerDirectoryThenPerFile) {
  const std::string perDirectory = dir_.File("directories");
  Set("Common", "ConvertDstDir", perDirectory);
  Set("PDF", "ConvertType", "1");
  Set("PDF", "KeepDir", "0");
  ASSERT_EQ(Batch(), 0) << Printed();
  EXPECT_NE(Printed().find("正在合并" + in_ + "/box  第2页 共2页"), std::string::npos);
  EXPECT_NE(Printed().find("本次转换完毕！    "), std::string::npos);
  EXPECT_TRUE(pdftest::QpdfCheckClean(perDirectory + "/box.pdf"));
  EXPECT_EQ(pdftest::ListImages(perDirectory + "/box.pdf").size(), 2u);

  const std::string perFile = dir_.File("files");
  Set("Common", "ConvertDstDir", perFile);
  Set("PDF", "ConvertType", "0");
  ASSERT_EQ(Batch(), 0) << Printed();
  EXPECT_EQ(test::TreeOf(perFile), (std::vector<std::string>{"box/", "box/a.pdf", "box/b.pdf"}));
  EXPECT_TRUE(pdftest::QpdfCheckClean(perFile + "/box/b.pdf"));
  EXPECT_EQ(test::EntryCount(dir_.File("program/Logs")), 2);
}

}  // namespace
}  // namespace zelk
