#include "platform/ProgramPlaces.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

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

}  // namespace
}  // namespace zelk
