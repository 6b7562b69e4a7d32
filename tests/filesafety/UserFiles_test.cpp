#include "filesafety/UserFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(UserFiles, AUsersFilesAreMadeFromTheShippedOnesOnceAndThenKept) {
  TempDir dir;
  PlaceFacts facts;
  facts.SharedDataInstalled = true;
  facts.ExecutableDir = dir.File("usr/bin");
  facts.Home = dir.File("home");
  fs::create_directories(dir.Path() / "usr" / "share" / "zelk");
  WriteBytes(dir.File("usr/share/zelk/ZELK.conf"), "[Common]\nConvertAction=1\n");
  WriteBytes(dir.File("usr/share/zelk/template.xls"), "workbook");
  const ProgramPlaces places = DecidePlaces(facts);

  ASSERT_TRUE(PrepareUserSettings(places));
  ASSERT_TRUE(PrepareUserTemplateWorkbook(places));
  EXPECT_EQ(ReadBytes(places.SettingsFile()), "[Common]\nConvertAction=1\n");
  EXPECT_EQ(ReadBytes(places.TemplateWorkbook()), "workbook");

  WriteBytes(places.SettingsFile(), "[Common]\nConvertAction=4\n");
  ASSERT_TRUE(PrepareUserSettings(places));
  EXPECT_EQ(ReadBytes(places.SettingsFile()), "[Common]\nConvertAction=4\n")
      << "the user's own settings are never replaced";
  EXPECT_EQ(test::TreeOf(dir.Path() / "home"),
            (std::vector<std::string>{".config/", ".config/zelk/", ".config/zelk/ZELK.conf",
                                      ".local/", ".local/share/", ".local/share/zelk/",
                                      ".local/share/zelk/template.xls"}))
      << "no temporary file stays";

  fs::remove(dir.File("usr/share/zelk/template.xls"));
  fs::remove(places.TemplateWorkbook());
  EXPECT_FALSE(PrepareUserTemplateWorkbook(places)) << "nothing shipped, nothing to open";
}

}  // namespace
}  // namespace zelk
