// The window on the desktop: openers that fail, where the folder pickers
// open, folders dropped on the directory boxes, the interval box taking
// the focus, the command buttons' keys, the placement kept per user, the
// autostart menu item and closing without a tray.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "app/DesktopIntegration.h"
#include "app/MainWindow.h"
#include "app/TrayPresence.h"
#include "app/WindowPreferences.h"
#include "AppTestSupport.h"
#include "settings/Settings.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

QString Native(const fs::path& path) { return QString::fromStdString(path.string()); }

class DesktopWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.WriteSettings({"[Common]", "ConvertAction=1", "TimerType=0"}); }

  MainWindow& Open() {
    window_ = std::make_unique<MainWindow>(dir_.Places(), settings_, shell_);
    EXPECT_TRUE(window_->Load());
    return *window_;
  }
  template <typename T>
  T* Find(const char* name) {
    return FindChild<T>(*window_, name);
  }
  // Shows the window and makes it the active one, as a click on it would.
  void ShowActive() {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  // A drag of `urls` from a file manager, dropped on `box`.  True when the
  // box took it.
  static bool Drop(QLineEdit* box, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = box->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &drop);
    return drop.isAccepted();
  }

  ScopedConfigHome configHome_;
  TempProgramDir dir_;
  Settings settings_;
  FakeShell shell_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(DesktopWindowTest, WhatTheDesktopCannotOpenIsReportedWithItsPath) {
  Open();
  shell_.openerPresent = false;
  const fs::path output = dir_.Path() / "输出";
  fs::create_directories(output);
  std::ofstream(dir_.Path() / "help.doc") << "{\\rtf1 }";
  Find<QLineEdit>("txtSrcDir")->setText("/srv/扫描");
  Find<QLineEdit>("txtDstDir")->setText(Native(output));

  Find<QToolButton>("cmdOpenSrc")->click();
  Find<QToolButton>("cmdOpenDst")->click();
  Find<QAction>("mnuHelp")->trigger();
  Find<QAction>("mnuWebSite")->trigger();

  const QString expected[] = {"/srv/扫描", Native(output), Native(dir_.Path() / "help.doc"),
                              QString(kWebSiteUrl)};
  ASSERT_EQ(shell_.openedUrls.size(), 4u);
  ASSERT_EQ(shell_.messages.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(shell_.messages[i].icon, MessageIcon::Warning);
    EXPECT_EQ(shell_.messages[i].title, QString("提示信息"));
    EXPECT_TRUE(shell_.messages[i].text.contains(expected[i])) << shell_.messages[i].text.toStdString();
  }

  // With an opener nothing is said.
  shell_.openerPresent = true;
  Find<QAction>("mnuHelp")->trigger();
  EXPECT_EQ(shell_.messages.size(), 4u);
}

TEST_F(DesktopWindowTest, PickersOpenAtTheBoxAndOnlyTheOutputMayBeANewFolder) {
  Open();
  const fs::path existing = dir_.Path() / "扫描";
  fs::create_directories(existing);
  Find<QLineEdit>("txtSrcDir")->setText(Native(existing));
  Find<QLineEdit>("txtDstDir")->setText(Native(dir_.Path() / "not yet"));

  Find<QPushButton>("cmdSrcDir")->click();
  Find<QPushButton>("cmdDstDir")->click();
  ASSERT_EQ(shell_.folderRequests.size(), 2u);
  EXPECT_EQ(shell_.folderRequests[0].startDir, Native(existing));
  EXPECT_EQ(shell_.folderRequests[0].choice, FolderChoice::Existing);
  // A directory not made yet opens the picker at the one above it.
  EXPECT_EQ(shell_.folderRequests[1].startDir, Native(dir_.Path()));
  EXPECT_EQ(shell_.folderRequests[1].choice, FolderChoice::MayNotExistYet);
}

TEST_F(DesktopWindowTest, ADroppedFolderFillsTheBoxButFilesAndRemoteAddressesAreRefused) {
  Open();
  auto* source = Find<QLineEdit>("txtSrcDir");
  auto* target = Find<QLineEdit>("txtDstDir");
  const fs::path folder = dir_.Path() / "新 扫描";
  fs::create_directories(folder);
  std::ofstream(dir_.Path() / "page.tif") << "II*";
  source->setText("/before");
  target->setText("/before");

  EXPECT_FALSE(Drop(source, {QUrl::fromLocalFile(Native(dir_.Path() / "page.tif"))}));
  EXPECT_FALSE(Drop(source, {QUrl("sftp://server/srv/scans")}));
  EXPECT_FALSE(Drop(source, {QUrl::fromLocalFile(Native(folder)),
                             QUrl::fromLocalFile(Native(dir_.Path()))}));
  EXPECT_FALSE(Drop(source, {QUrl::fromLocalFile(Native(dir_.Path() / "gone"))}));
  EXPECT_EQ(source->text(), QString("/before"));

  EXPECT_TRUE(Drop(source, {QUrl::fromLocalFile(Native(folder))}));
  EXPECT_EQ(source->text(), Native(folder));
  EXPECT_TRUE(Drop(target, {QUrl::fromLocalFile(Native(dir_.Path()) + "/")}));
  EXPECT_EQ(target->text(), Native(dir_.Path()));
}

TEST_F(DesktopWindowTest, IntervalBoxSelectsItsTextWhenItTakesTheFocus) {
  Open();
  ShowActive();
  auto* option = Find<QRadioButton>("optTimer1");
  auto* interval = Find<QLineEdit>("txtInterval");
  interval->setText("15");

  // Choosing the interval mode puts the focus into the box.
  QTest::mouseClick(option, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return interval->hasSelectedText(); }));
  EXPECT_EQ(interval->selectedText(), QString("15"));

  // Tab away and back.
  option->setFocus(Qt::TabFocusReason);
  interval->deselect();
  QApplication::processEvents();
  interval->setFocus(Qt::TabFocusReason);
  ASSERT_TRUE(QTest::qWaitFor([&] { return interval->hasSelectedText(); }));
  EXPECT_EQ(interval->selectedText(), QString("15"));

  // A click: the press must not put the caret in after the selection, nor
  // may a small move while the button is down drag it away.
  option->setFocus(Qt::TabFocusReason);
  interval->deselect();
  QApplication::processEvents();
  const QPoint at = interval->rect().center();
  QTest::mousePress(interval, Qt::LeftButton, Qt::NoModifier, at);
  QApplication::processEvents();
  QTest::mouseMove(interval, at + QPoint(3, 0));
  QTest::mouseRelease(interval, Qt::LeftButton, Qt::NoModifier, at + QPoint(3, 0));
  QApplication::processEvents();
  EXPECT_TRUE(interval->hasFocus());
  EXPECT_EQ(interval->selectedText(), QString("15"));
  QTest::keyClicks(interval, "30");
  EXPECT_EQ(interval->text(), QString("30"));
}

TEST_F(DesktopWindowTest, CommandButtonsKeepTheirCaptionsAndAnswerAltKeys) {
  Open();
  ShowActive();
  const std::pair<const char*, const char*> captions[] = {
      {"cmdPreview", "转换预览"}, {"cmdConvert", "立即转换"}, {"cmdTimerConvert", "定时转换"},
      {"cmdCancel", "取消转换"},  {"cmdHistory", "转换日志"},
  };
  for (const auto& [name, caption] : captions) {
    auto* button = Find<QPushButton>(name);
    EXPECT_EQ(button->text(), QString(caption)) << name;
    EXPECT_TRUE(button->toolTip().contains(button->shortcut().toString(QKeySequence::NativeText)))
        << name;
  }
  // A key clicks its button the way a mouse does, pressed for a moment.
  QSignalSpy converts(window_.get(), &MainWindow::ConvertRequested);
  QTest::keyClick(window_.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return converts.count() == 1; }));
  QTest::keyClick(window_.get(), Qt::Key_L, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell_.openedDialogs.size() == 1; }));
  EXPECT_EQ(shell_.openedDialogs[0], DialogId::ConvertLogs);

  // A disabled button's key does nothing.
  window_->ShowRunningState();
  QTest::keyClick(window_.get(), Qt::Key_C, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_EQ(converts.count(), 1);
  window_->OnRunFinished();
}

TEST_F(DesktopWindowTest, PlacementIsKeptPerUserAndOnlyRestoredOntoAScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect placed(screen.left() + 30, screen.top() + 40, 700, 500);
  Open();
  window_->show();
  window_->setGeometry(placed);
  QApplication::processEvents();
  EXPECT_TRUE(window_->close());

  const fs::path file = configHome_.Path() / "zelk/window.ini";
  ASSERT_TRUE(fs::exists(file));
  EXPECT_FALSE(fs::exists(dir_.Path() / "window.ini"));
  std::ifstream conf(dir_.Path() / "ZELK.conf");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(conf), {}).find("Geometry"),
            std::string::npos);

  Open();
  EXPECT_EQ(window_->geometry(), placed);

  // A place on a screen that is gone: the size comes back, not the place.
  WindowPreferences(WindowPreferencesPath()).SetGeometry(QRect(screen.right() + 4000, 100, 720, 520),
                                                        false);
  Open();
  EXPECT_EQ(window_->size(), QSize(720, 520));
  EXPECT_TRUE(screen.intersects(QRect(window_->pos(), QSize(1, 1))) ||
              window_->pos() == QPoint(0, 0));
  EXPECT_LT(window_->x(), screen.right());
}

TEST_F(DesktopWindowTest, AutostartMenuItemRemovesAndRestoresTheEntryAndTheChoiceLasts) {
  const fs::path entry = configHome_.Path() / "autostart/ZELK.desktop";
  Open();
  ASSERT_TRUE(fs::exists(entry));
  auto* toggle = Find<QAction>("mnuAutostart");
  EXPECT_EQ(toggle->text(), QString("开机自动启动"));
  EXPECT_TRUE(toggle->isCheckable());
  EXPECT_TRUE(toggle->isChecked());
  EXPECT_EQ(toggle->parent(), Find<QMenu>("mnuSetting"));

  toggle->trigger();
  EXPECT_FALSE(toggle->isChecked());
  EXPECT_FALSE(fs::exists(entry));
  // The next start leaves it away.
  Open();
  EXPECT_FALSE(fs::exists(entry));
  toggle = Find<QAction>("mnuAutostart");
  EXPECT_FALSE(toggle->isChecked());

  toggle->trigger();
  EXPECT_TRUE(toggle->isChecked());
  ASSERT_TRUE(fs::exists(entry));
  std::ifstream in(entry);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(text.find("Exec=\"" + (dir_.Path() / "app_tests").string() + "\""), std::string::npos)
      << text;
  fs::remove(entry);
  Open();
  EXPECT_TRUE(fs::exists(entry));
  EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(DesktopWindowTest, AnEntryThatCannotBeWrittenIsReportedAndTheTickGoesBack) {
  Open();
  auto* toggle = Find<QAction>("mnuAutostart");
  toggle->trigger();  // off
  fs::remove_all(configHome_.Path() / "autostart");
  std::ofstream(configHome_.Path() / "autostart") << "not a directory";
  toggle->trigger();  // on, but the entry cannot be made
  EXPECT_FALSE(toggle->isChecked());
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_TRUE(shell_.messages[0].text.contains("autostart/ZELK.desktop"));
  EXPECT_FALSE(WindowPreferences().AutostartWanted());
}

TEST_F(DesktopWindowTest, NoAutostartEntryWhenTheSettingsFileIsMissing) {
  fs::remove(dir_.Path() / "ZELK.conf");
  MainWindow window(dir_.Places(), settings_, shell_);
  EXPECT_FALSE(window.Load());
  EXPECT_FALSE(fs::exists(configHome_.Path() / "autostart/ZELK.desktop"));
}

TEST_F(DesktopWindowTest, WithoutATrayAnArmedScheduleClosesTheWindowAsBefore) {
  dir_.WriteSettings({"[Common]", "ConvertAction=1", "TimerType=2", "[Timer]", "Timer2=5"});
  Open();
  ASSERT_NE(window_->Desktop().Tray(), nullptr);
  EXPECT_FALSE(window_->Desktop().Tray()->InUse());
  window_->show();
  EXPECT_TRUE(window_->close());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(shell_.questions.empty());
}

}  // namespace
}  // namespace zelk::test
