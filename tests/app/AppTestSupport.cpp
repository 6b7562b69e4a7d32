#include "AppTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <atomic>
#include <cstdlib>
#include <fstream>

namespace zelk::test {

namespace fs = std::filesystem;

void FakeShell::ShowMessage(QWidget*, MessageIcon icon, const QString& title,
                            const QString& text) {
  messages.push_back({icon, title, text});
}

bool FakeShell::AskYesNo(QWidget*, const QString& title, const QString& text) {
  questions.push_back({MessageIcon::Information, title, text});
  return yesAnswer;
}

QString FakeShell::BrowseForFolder(QWidget*, const QString& title, const QString& startDir,
                                   FolderChoice choice) {
  pickerTitles.push_back(title);
  folderRequests.push_back({title, startDir, choice});
  return folderAnswer;
}

bool FakeShell::OpenUrl(const QUrl& url) {
  openedUrls.push_back(url);
  return openerPresent;
}

void FakeShell::OpenDialog(DialogId id, QWidget*, Settings&, const ProgramPlaces&) {
  openedDialogs.push_back(id);
}

TempProgramDir::TempProgramDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("zelk_app_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempProgramDir::~TempProgramDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void TempProgramDir::WriteSettings(const std::vector<std::string>& lines) const {
  std::ofstream out(path_ / "ZELK.conf", std::ios::binary);
  for (const std::string& line : lines) out << line << "\r\n";
}

ScopedConfigHome::ScopedConfigHome() {
  static std::atomic<int> counter{0};
  path_ = TestHome() / ("config_" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
  if (const char* previous = std::getenv("XDG_CONFIG_HOME")) previous_ = previous;
  setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
}

ScopedConfigHome::~ScopedConfigHome() {
  setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

fs::path TestHome() {
  static const fs::path home =
      fs::temp_directory_path() / ("zelk_app_home_" + std::to_string(getpid()));
  return home;
}

namespace {

// Points HOME and XDG_CONFIG_HOME into a private directory before anything
// runs, so that no test touches the real home, and creates the one
// application object on the offscreen platform.
class AppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    fs::create_directories(TestHome() / "config");
    setenv("HOME", TestHome().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (TestHome() / "config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    application_ = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override {
    delete application_;
    std::error_code ignored;
    fs::remove_all(TestHome(), ignored);
  }

 private:
  QApplication* application_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

}  // namespace zelk::test
