// The Debian package as an office installs it: built by CPack from this
// build, installed with apt-get, used by an ordinary user (zelk-batch with
// the user's own settings and result lists under the XDG directories, the
// window on an X server), then removed without a trace under /usr.
// Needs root, to install packages and add the user; skipped otherwise, and
// when a zelk package is installed already (the test never touches it).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "OutputChecks.h"
#include "SourceTrees.h"
#include "imaging/PdfTest_helpers.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using namespace batchtest;
using pdftest::Quote;
using pdftest::RunCommand;

constexpr const char* kUser = "zelkpkgtest";
constexpr const char* kPackageFile = "zelk_" ZELK_VERSION "-1_amd64.deb";
constexpr const char* kWindowTitle = "Quillon双层PDF批量转换系统 " ZELK_VERSION;
constexpr int kDirectories = 3;
constexpr int kPagesPerDirectory = 2;

bool PackageInstalled() {
  return RunCommand("dpkg-query -W -f='${Status}' zelk 2>/dev/null").out ==
         "install ok installed";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// A program started in the background, ended by its process id.
class Background {
 public:
  explicit Background(const std::vector<std::string>& argv) {
    pid_ = ::fork();
    if (pid_ == 0) {
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
  }
  ~Background() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

 private:
  pid_t pid_ = -1;
};

class DebianPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "installing a package and adding a user need root";
    if (PackageInstalled()) {
      GTEST_SKIP() << "a zelk package is installed on this machine; the test leaves it alone";
    }
    // The user reaches its home below the test's directory.
    fs::permissions(dir_.Path(), fs::perms::owner_all | fs::perms::group_exec |
                                     fs::perms::others_exec);
  }

  void TearDown() override {
    if (installed_) RunCommand("DEBIAN_FRONTEND=noninteractive apt-get remove -y -q --purge zelk");
    if (userAdded_) RunCommand(std::string("userdel ") + kUser);
  }

  // Runs `command` as the test user with a clean environment.
  pdftest::CommandResult AsUser(const std::string& command, const std::string& extraEnv = "") {
    return RunCommand(std::string("runuser -u ") + kUser + " -- env -i HOME=" + Quote(home_) +
                      " PATH=/usr/bin:/bin LANG=C.UTF-8 " + extraEnv + " sh -c " +
                      Quote(command));
  }

  test::TempDir dir_;
  std::string home_ = dir_.File("home");
  bool installed_ = false;
  bool userAdded_ = false;
};

TEST_F(DebianPackageTest, InstallsRunsForAnOrdinaryUserAndLeavesNothingWhenRemoved) {
  // Built from this build's tree, as scripts/make-deb.sh does from its own.
  const std::string debDir = dir_.File("deb");
  const pdftest::CommandResult packed =
      RunCommand("cd " + Quote(ZELK_BUILD_DIR) + " && cpack -G DEB -B " + Quote(debDir));
  ASSERT_EQ(packed.exitCode, 0) << packed.out << packed.err;
  const std::string package = debDir + "/" + kPackageFile;
  ASSERT_TRUE(fs::exists(package)) << packed.out;

  const pdftest::CommandResult install = RunCommand(
      "DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends " +
      Quote(package));
  installed_ = true;
  ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
  const std::vector<std::string> files = Lines(RunCommand("dpkg -L zelk").out);
  for (const char* expected :
       {"/usr/bin/zelk", "/usr/bin/zelk-batch", "/usr/libexec/zelk/zelk-xls-reader",
        "/usr/share/zelk/ZELK.conf", "/usr/share/zelk/help.doc", "/usr/share/zelk/template.xls",
        "/usr/share/applications/zelk.desktop", "/usr/share/icons/hicolor/scalable/apps/zelk.svg",
        "/usr/share/man/man1/zelk.1.gz", "/usr/share/man/man1/zelk-batch.1.gz",
        "/usr/share/doc/zelk/examples/zelk-batch.service",
        "/usr/share/doc/zelk/examples/zelk-batch.timer"}) {
    EXPECT_NE(std::find(files.begin(), files.end(), expected), files.end()) << expected;
  }
  EXPECT_EQ(RunCommand("/usr/bin/zelk-batch --version").out, "zelk-batch " ZELK_VERSION "\n");
  EXPECT_EQ(RunCommand("/usr/bin/zelk --version").out, "zelk " ZELK_VERSION "\n");

  // The example units as installed: systemd's own check reads them (the
  // program they start and the manual page they name must be there) and
  // needs no running systemd.
  if (RunCommand("command -v systemd-analyze").exitCode == 0) {
    const pdftest::CommandResult verified =
        RunCommand("systemd-analyze verify /usr/share/doc/zelk/examples/zelk-batch.service "
                   "/usr/share/doc/zelk/examples/zelk-batch.timer");
    EXPECT_EQ(verified.exitCode, 0) << verified.out << verified.err;
    EXPECT_EQ(verified.err, "") << "systemd warns about the example units";
  } else {
    std::cout << "systemd-analyze missing (Debian package systemd): the units are not checked\n";
  }

  // An office clerk: no settings yet, sources and destination at home.
  ASSERT_EQ(RunCommand(std::string("useradd --home-dir ") + Quote(home_) +
                       " --create-home --shell /bin/sh " + kUser)
                .exitCode,
            0);
  userAdded_ = true;
  const std::string in = home_ + "/scans";
  const std::string out = home_ + "/converted";
  std::map<std::string, int> expected;
  for (int d = 0; d < kDirectories; ++d) {
    const std::string name = "doc" + std::to_string(d + 1);
    WritePageDirectory(in + "/" + name, kPagesPerDirectory, static_cast<unsigned>(d));
    expected[name + ".tif"] = kPagesPerDirectory;
  }
  ASSERT_EQ(RunCommand("chown -R " + std::string(kUser) + ": " + Quote(home_)).exitCode, 0);

  // The first start makes the user's settings from the shipped ones; with
  // no source directory set it cannot start a run.
  const std::string settings = home_ + "/.config/zelk/ZELK.conf";
  const pdftest::CommandResult first = AsUser("zelk-batch");
  EXPECT_EQ(first.exitCode, 2) << first.out << first.err;
  ASSERT_TRUE(fs::exists(settings)) << first.out << first.err;
  EXPECT_EQ(test::ReadBytes(settings), test::ReadBytes("/usr/share/zelk/ZELK.conf"));

  for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
           {"ImageSrcDir", in}, {"ConvertDstDir", out}, {"ConvertAction", "1"}}) {
    ASSERT_TRUE(WriteIniString(settings, "Common", key, value));
  }
  ASSERT_TRUE(WriteIniString(settings, "Merge", "KeepDir", "0"));
  const pdftest::CommandResult run = AsUser("zelk-batch");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_EQ(DocumentPages(out), expected);
  const fs::path logs = home_ + "/.local/share/zelk/Logs";
  int successLists = 0;
  for (const auto& entry : fs::directory_iterator(logs)) {
    successLists += entry.path().filename().string().ends_with("-成功.txt");
  }
  EXPECT_EQ(successLists, 1) << "the day's success list in the user's data directory";
  EXPECT_EQ(RunCommand("find " + Quote(home_) + " ! -user " + kUser).out, "")
      << "everything the runs made belongs to the user";

  // The window, as the user starts it from the applications menu.
  if (RunCommand("command -v Xvfb && command -v xdotool").exitCode == 0) {
    const std::string display = ":" + std::to_string(70 + ::getpid() % 20);
    Background server({"Xvfb", display, "-ac", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
    Background window({"runuser", "-u", kUser, "--", "env", "-i", "HOME=" + home_,
                       "PATH=/usr/bin:/bin", "LANG=C.UTF-8", "DISPLAY=" + display, "zelk"});
    std::string title;
    for (int attempt = 0; attempt < 60 && title.empty(); ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
      const pdftest::CommandResult found =
          RunCommand("DISPLAY=" + display + " xdotool search --name Quillon getwindowname");
      if (found.exitCode == 0) title = Lines(found.out).empty() ? "" : Lines(found.out).front();
    }
    EXPECT_EQ(title, kWindowTitle);
  } else {
    std::cout << "Xvfb or xdotool missing: the window's title is not checked\n";
  }

  const pdftest::CommandResult removed =
      RunCommand("DEBIAN_FRONTEND=noninteractive apt-get remove -y -q --purge zelk");
  ASSERT_EQ(removed.exitCode, 0) << removed.out << removed.err;
  installed_ = false;
  EXPECT_FALSE(PackageInstalled());
  for (const std::string& file : files) {
    // Directories every system has (/usr/bin, /usr/share/man, ...) stay.
    if (fs::is_directory(file) && !file.ends_with("/zelk")) continue;
    EXPECT_FALSE(fs::exists(file)) << file << " is left after the package was removed";
  }
}

}  // namespace
}  // namespace zelk
