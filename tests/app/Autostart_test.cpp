#include "app/Autostart.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace zelk {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    if (value) setenv(name, value, 1); else unsetenv(name);
  }
  ~ScopedEnv() {
    if (saved_) setenv(name_, saved_->c_str(), 1); else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

class AutostartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("zelk_autostart_" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path root_;
};

TEST_F(AutostartTest, EntryGoesUnderXdgConfigHomeOrElseHomeConfig) {
  ScopedEnv home("HOME", (root_ / "home").c_str());
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", (root_ / "xdg").c_str());
    EXPECT_EQ(AutostartEntryPath(), (root_ / "xdg/autostart/ZELK.desktop").string());
  }
  {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(AutostartEntryPath(), (root_ / "home/.config/autostart/ZELK.desktop").string());
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(AutostartEntryPath(), "");
    EXPECT_FALSE(RenewAutostartEntry("/opt/zelk/zelk"));
  }
}

TEST_F(AutostartTest, ExecLineQuotesAndEscapesAwkwardPaths) {
  const std::string text = AutostartEntryText("/opt/扫描 转换/a\"b$c`d\\e%f/zelk");
  // Exec quoting escapes " ` $ \ and doubles %; the value escaping then
  // doubles every backslash once more.
  EXPECT_NE(text.find("Exec=\"/opt/扫描 转换/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f/zelk\"\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_NE(text.find("\nName=ZELK\n"), std::string::npos);
  EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
  // The program file itself, unquoted: a desktop ignores the entry once it
  // is gone.
  EXPECT_NE(text.find("\nTryExec=/opt/扫描 转换/a\"b$c`d\\\\e%f/zelk\n"), std::string::npos)
      << text;
}

TEST_F(AutostartTest, RenewCreatesDirectoriesAndReplacesAStaleEntry) {
  ScopedEnv xdg("XDG_CONFIG_HOME", (root_ / "config").c_str());
  ASSERT_TRUE(RenewAutostartEntry("/old/place/zelk"));
  ASSERT_TRUE(RenewAutostartEntry("/new/place/zelk"));
  const fs::path entry = root_ / "config/autostart/ZELK.desktop";
  EXPECT_EQ(Read(entry), AutostartEntryText("/new/place/zelk"));
  // Nothing but the entry is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(entry.parent_path()), fs::directory_iterator()), 1);
}

TEST_F(AutostartTest, IconLineNamesTheIconFileOnlyWhenThereIsOne) {
  EXPECT_EQ(AutostartEntryText("/opt/zelk/zelk").find("Icon="), std::string::npos);
  const std::string text = AutostartEntryText("/opt/zelk/zelk", "/opt/扫描\\转换/zelk.svg");
  EXPECT_NE(text.find("\nIcon=/opt/扫描\\\\转换/zelk.svg\n"), std::string::npos) << text;
}

TEST_F(AutostartTest, RemoveDeletesTheEntryAndIsContentWhenThereIsNone) {
  ScopedEnv xdg("XDG_CONFIG_HOME", (root_ / "config").c_str());
  ASSERT_TRUE(RenewAutostartEntry("/opt/zelk/zelk", "/opt/zelk/zelk.svg"));
  const fs::path entry = root_ / "config/autostart/ZELK.desktop";
  EXPECT_EQ(Read(entry), AutostartEntryText("/opt/zelk/zelk", "/opt/zelk/zelk.svg"));
  EXPECT_TRUE(RemoveAutostartEntry());
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_TRUE(RemoveAutostartEntry());
  {
    ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_FALSE(RemoveAutostartEntry());
  }
}

TEST_F(AutostartTest, FailsQuietlyWhenTheDirectoryCannotBeMade) {
  // "autostart" exists as a file, so the entry's directory cannot be created.
  fs::create_directories(root_ / "config");
  std::ofstream(root_ / "config/autostart") << "not a directory";
  ScopedEnv xdg("XDG_CONFIG_HOME", (root_ / "config").c_str());
  EXPECT_FALSE(RenewAutostartEntry("/opt/zelk/zelk"));
  EXPECT_EQ(Read(root_ / "config/autostart"), "not a directory");
}

}  // namespace
}  // namespace zelk
