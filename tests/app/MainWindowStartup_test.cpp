// Start-up through the real window: the housekeeping of the program
// directory, the missing settings file, and the controls restored from
// ZELK.conf.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "jobs/JobActions.h"
#include "settings/Settings.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

class StartupTest : public ::testing::Test {
 protected:
  // Loads a window from a ZELK.conf holding `lines`.
  MainWindow& LoadWith(const std::vector<std::string>& lines) {
    dir_.WriteSettings(lines);
    window_ = std::make_unique<MainWindow>(dir_.Places(), settings_, shell_);
    loaded_ = window_->Load();
    EXPECT_TRUE(loaded_);
    return *window_;
  }
  template <typename T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  TempProgramDir dir_;
  Settings settings_;
  FakeShell shell_;
  std::unique_ptr<MainWindow> window_;
  bool loaded_ = false;
};

TEST_F(StartupTest, MissingSettingsFileShowsTheWarningAndNoWindowAfterHousekeeping) {
  std::ofstream(dir_.Path() / "Logo.tif") << "leftover";
  MainWindow window(dir_.Places(), settings_, shell_);

  EXPECT_FALSE(window.Load());
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(shell_.messages[0].title, QString("提示信息"));
  EXPECT_EQ(shell_.messages[0].text, QString("配置文件已被破坏，请联系软件开发商！\u3000\u3000"));
  // The housekeeping ran before the settings were read.
  EXPECT_FALSE(fs::exists(dir_.Path() / "Logo.tif"));
  EXPECT_TRUE(fs::is_directory(dir_.Path() / "Logs"));
  // The title is only set after a successful load.
  EXPECT_NE(window.windowTitle(), QString(kMainWindowTitle));
}

TEST_F(StartupTest, HousekeepingRenewsTheAutostartEntryAndKeepsAnExistingLogs) {
  fs::create_directories(dir_.Path() / "Logs");
  std::ofstream(dir_.Path() / "Logs" / "old.txt") << "kept";
  LoadWith({"[Common]", "ConvertAction=1"});

  EXPECT_EQ(window_->windowTitle(), QString("Quillon双层PDF批量转换系统 8.1"));
  EXPECT_TRUE(fs::exists(dir_.Path() / "Logs" / "old.txt"));
  std::ifstream entry(TestHome() / "config/autostart/ZELK.desktop");
  std::stringstream text;
  text << entry.rdbuf();
  EXPECT_NE(text.str().find("Exec=\"" + (dir_.Path() / "app_tests").string() + "\""),
            std::string::npos)
      << text.str();
  EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(StartupTest, ActionOptionFollowsConvertActionAndOutOfRangeSelectsNone) {
  LoadWith({"[Common]", "ConvertAction=3"});
  EXPECT_TRUE(Find<QRadioButton>("optAction2")->isChecked());
  EXPECT_EQ(Find<QRadioButton>("optAction2")->text(), QString("单层PDF"));
  EXPECT_EQ(window_->SelectedAction(), 2);

  for (const char* value : {"0", "7", "-1"}) {
    Settings settings;
    TempProgramDir dir;
    dir.WriteSettings({"[Common]", std::string("ConvertAction=") + value});
    MainWindow window(dir.Places(), settings, shell_);
    ASSERT_TRUE(window.Load());
    EXPECT_EQ(window.SelectedAction(), -1) << value;
  }
}

TEST_F(StartupTest, ActionOptionsAreTheActionsOfTheJobTable) {
  LoadWith({"[Common]", "ConvertAction=1"});
  for (std::size_t i = 0; i < kActionCount; ++i) {
    const std::string name = "optAction" + std::to_string(i);
    auto* option = Find<QRadioButton>(name.c_str());
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->text(), QString(kJobActions[i].Caption));
    EXPECT_NE(window_->findChild<QToolButton*>("imgSetting" + QString::number(i)), nullptr);
  }
  EXPECT_EQ(window_->findChild<QRadioButton*>("optAction" + QString::number(kActionCount)),
            nullptr);

  // Every action of the table is one the window restores and selects.
  for (const JobAction& action : kJobActions) {
    Settings settings;
    TempProgramDir dir;
    dir.WriteSettings({"[Common]", "ConvertAction=" + std::to_string(action.Number)});
    MainWindow window(dir.Places(), settings, shell_);
    ASSERT_TRUE(window.Load());
    EXPECT_EQ(window.SelectedAction(), action.Number - 1) << action.Caption;
  }
}

TEST_F(StartupTest, DailyScheduleSelectsTimeAndShowsInterval) {
  LoadWith({"[Common]", "TimerType=1", "[Timer]", "Timer1=8:30", "Timer2=15"});
  EXPECT_TRUE(Find<QRadioButton>("optTimer0")->isChecked());
  EXPECT_EQ(Find<QRadioButton>("optTimer0")->text(), QString("定时转换"));
  EXPECT_EQ(Find<QComboBox>("cboHour")->currentText(), QString("8"));
  EXPECT_EQ(Find<QComboBox>("cboMinute")->currentText(), QString("30"));
  EXPECT_FALSE(Find<QComboBox>("cboHour")->isHidden());
  EXPECT_FALSE(Find<QLineEdit>("txtInterval")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>("txtInterval")->text(), QString("15"));
}

TEST_F(StartupTest, TimeListsHoldPlainNumbersAndStartWithoutSelection) {
  LoadWith({"[Common]", "TimerType=2", "[Timer]", "Timer1=8:30", "Timer2=5"});
  auto* hours = Find<QComboBox>("cboHour");
  auto* minutes = Find<QComboBox>("cboMinute");
  ASSERT_EQ(hours->count(), 24);
  ASSERT_EQ(minutes->count(), 60);
  EXPECT_EQ(hours->itemText(0), QString("0"));
  EXPECT_EQ(hours->itemText(9), QString("9"));
  EXPECT_EQ(hours->itemText(23), QString("23"));
  EXPECT_EQ(minutes->itemText(5), QString("5"));
  EXPECT_EQ(minutes->itemText(59), QString("59"));
  // Interval mode: the stored daily time is not shown, the lists are hidden
  // and the interval box is open for input.
  EXPECT_TRUE(Find<QRadioButton>("optTimer1")->isChecked());
  EXPECT_EQ(hours->currentIndex(), -1);
  EXPECT_EQ(minutes->currentIndex(), -1);
  EXPECT_TRUE(hours->isHidden());
  EXPECT_TRUE(minutes->isHidden());
  EXPECT_TRUE(Find<QLineEdit>("txtInterval")->isEnabled());
}

TEST_F(StartupTest, NoScheduleSelectsNeitherOptionButStillShowsTheInterval) {
  LoadWith({"[Common]", "TimerType=0", "[Timer]", "Timer1=8:30", "Timer2=12"});
  EXPECT_EQ(window_->SelectedTimerOption(), -1);
  EXPECT_EQ(Find<QComboBox>("cboHour")->currentIndex(), -1);
  EXPECT_EQ(Find<QLineEdit>("txtInterval")->text(), QString("12"));
}

TEST_F(StartupTest, DamagedScheduleValuesSelectNothing) {
  // A mode number outside the two modes selects neither option.
  LoadWith({"[Common]", "TimerType=3", "[Timer]", "Timer2=5"});
  EXPECT_EQ(window_->SelectedTimerOption(), -1);

  for (const char* time : {"8-30", "24:00", "8:60", "8:30:00", ":30", "8:", "x:y", ""}) {
    Settings settings;
    TempProgramDir dir;
    dir.WriteSettings({"[Common]", "TimerType=1", "[Timer]", std::string("Timer1=") + time});
    MainWindow window(dir.Places(), settings, shell_);
    ASSERT_TRUE(window.Load());
    EXPECT_EQ(window.SelectedTimerOption(), 0) << time;
    EXPECT_EQ(window.findChild<QComboBox*>("cboHour")->currentIndex(), -1) << time;
    EXPECT_EQ(window.findChild<QComboBox*>("cboMinute")->currentIndex(), -1) << time;
  }
}

TEST_F(StartupTest, DirectoriesAreRestoredExactlyIncludingChinese) {
  LoadWith({"[Common]", "ImageSrcDir=/srv/扫描 图像/2024", "ConvertDstDir=/srv/输出"});
  EXPECT_EQ(Find<QLineEdit>("txtSrcDir")->text(), QString("/srv/扫描 图像/2024"));
  EXPECT_EQ(Find<QLineEdit>("txtDstDir")->text(), QString("/srv/输出"));
}

}  // namespace
}  // namespace zelk::test
