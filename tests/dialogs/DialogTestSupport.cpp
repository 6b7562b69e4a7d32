#include "DialogTestSupport.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "settings/SettingsFile.h"

namespace zelk::test {
namespace {

// One QApplication for the whole test run, on the offscreen platform when
// no other is asked for.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = new QApplication(argc_, argv_);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  int argc_ = 1;
  char name_[14] = "dialogs_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication* app_ = nullptr;
};

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

DialogTest::DialogTest() {
  static std::atomic<int> counter{0};
  dir_ = std::filesystem::temp_directory_path() /
         ("zelk-dialogs-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
}

DialogTest::~DialogTest() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void DialogTest::UseSettingsFile(const std::string& text) {
  WriteFile(dir_ / kSettingsFileName, text);
  ASSERT_TRUE(LoadSettings(dir_.string(), settings_));
}

void DialogTest::UseDefaultSettingsFile() { UseSettingsFile(DefaultSettingsFileText()); }

void DialogTest::UseFileWithoutSection(const std::string& section) {
  const Settings wanted = settings_;
  UseDefaultSettingsFile();
  const std::string path = settings_.IniPath;
  std::string text;
  bool skipping = false;
  const std::string all = FileBytes();
  for (std::size_t start = 0; start < all.size();) {
    std::size_t end = all.find('\n', start);
    end = end == std::string::npos ? all.size() : end + 1;
    const std::string line = all.substr(start, end - start);
    if (line.starts_with("[")) skipping = line.starts_with("[" + section + "]");
    if (!skipping) text += line;
    start = end;
  }
  WriteFile(path, text);
  settings_ = wanted;
  settings_.IniPath = path;
}

std::string DialogTest::FileBytes() const { return ReadFile(dir_ / kSettingsFileName); }

std::string DialogTest::BytesAfterWrites(const std::string& section, const KeyWrites& writes) const {
  const std::filesystem::path copy = dir_ / "expected.conf";
  WriteFile(copy, FileBytes());
  for (const auto& [key, value] : writes) {
    EXPECT_TRUE(WriteIniString(copy.string(), section, key, value)) << key;
  }
  return ReadFile(copy);
}

void OnNextModalDialog(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    ProcessEvents();
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog is open";
      return;
    }
    act(dialog);
  });
}

void ProcessEvents() {
  // Inside a nested event loop processEvents() alone may leave queued calls
  // for later; deliver them explicitly.
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

}  // namespace zelk::test
