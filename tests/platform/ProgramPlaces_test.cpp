#include "platform/ProgramPlaces.h"

#include <filesystem>

#include "support/FileTree.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

PlaceFacts Installed() {
  PlaceFacts facts;
  facts.ExecutableDir = "/usr/bin";
  facts.SharedDataInstalled = true;
  facts.Home = "/home/clerk";
  return facts;
}

TEST(ProgramPlaces, ACopiedProgramKeepsEverythingBesideItsExecutable) {
  PlaceFacts withFile;
  withFile.ExecutableDir = "/opt/zelk";
  withFile.SettingsBesideExecutable = true;
  withFile.Home = "/home/clerk";
  PlaceFacts writableWithoutFile = withFile;
  writableWithoutFile.SettingsBesideExecutable = false;
  writableWithoutFile.ExecutableDirWritable = true;
  // A settings file beside the program wins even where shared files are installed.
  PlaceFacts fileBesideInstalled = Installed();
  fileBesideInstalled.ExecutableDir = "/opt/zelk";
  fileBesideInstalled.SettingsBesideExecutable = true;

  for (const PlaceFacts& facts : {withFile, writableWithoutFile, fileBesideInstalled}) {
    const ProgramPlaces places = DecidePlaces(facts);
    EXPECT_TRUE(places.Portable);
    EXPECT_EQ(places.SettingsFile(), "/opt/zelk/ZELK.conf");
    EXPECT_EQ(places.LogsDir, "/opt/zelk/Logs");
    EXPECT_EQ(places.HelpDocument(), "/opt/zelk/help.doc");
    EXPECT_EQ(places.TemplateWorkbook(), "/opt/zelk/template.xls");
    EXPECT_EQ(places.HelperDir, "/opt/zelk");
    EXPECT_EQ(places.ExecutableDir, "/opt/zelk");
    EXPECT_EQ(places.IconFile(), "/opt/zelk/zelk.svg");
  }
}

TEST(ProgramPlaces, AnInstalledProgramKeepsEachUsersFilesInTheUsersDirectories) {
  PlaceFacts readOnly = Installed();
  // Root may write into /usr/bin: the installed share/zelk still decides.
  PlaceFacts writableByRoot = Installed();
  writableByRoot.ExecutableDirWritable = true;
  for (const PlaceFacts& facts : {readOnly, writableByRoot}) {
    const ProgramPlaces places = DecidePlaces(facts);
    EXPECT_FALSE(places.Portable);
    EXPECT_EQ(places.SettingsFile(), "/home/clerk/.config/zelk/ZELK.conf");
    EXPECT_EQ(places.LogsDir, "/home/clerk/.local/share/zelk/Logs");
    EXPECT_EQ(places.HelpDocument(), "/usr/share/zelk/help.doc");
    EXPECT_EQ(places.TemplateWorkbook(), "/home/clerk/.local/share/zelk/template.xls");
    EXPECT_EQ(places.HelperDir, "/usr/libexec/zelk");
    EXPECT_EQ(places.ExecutableDir, "/usr/bin");
    EXPECT_EQ(places.IconFile(), "/usr/share/icons/hicolor/scalable/apps/zelk.svg");
  }

  PlaceFacts xdg = Installed();
  xdg.XdgConfigHome = "/srv/conf";
  xdg.XdgDataHome = "relative/is/ignored";
  const ProgramPlaces places = DecidePlaces(xdg);
  EXPECT_EQ(places.SettingsFile(), "/srv/conf/zelk/ZELK.conf");
  EXPECT_EQ(places.LogsDir, "/home/clerk/.local/share/zelk/Logs");
}

TEST(ProgramPlaces, BatchRunsOnAGivenSettingsFileKeepLogsBesideIt) {
  const ProgramPlaces places = PlacesForSettingsFile("/srv/jobs/night/ZELK.conf");
  EXPECT_EQ(places.SettingsFile(), "/srv/jobs/night/ZELK.conf");
  EXPECT_EQ(places.LogsDir, "/srv/jobs/night/Logs");
}

TEST(ProgramPlaces, AUsersFilesAreMadeFromTheShippedOnesOnceAndThenKept) {
  TempDir dir;
  PlaceFacts facts = Installed();
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
