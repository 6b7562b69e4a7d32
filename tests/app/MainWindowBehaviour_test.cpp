// The window after start-up: folder pickers and open buttons, help and web
// site, the dialog wiring, Esc, and closing during a run.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "settings/Settings.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteSettings({"[Common]", "ConvertAction=1", "TimerType=0"});
    window_ = std::make_unique<MainWindow>(dir_.Places(), settings_, shell_);
    ASSERT_TRUE(window_->Load());
  }
  template <typename T>
  T* Find(const char* name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
  void Trigger(const char* name) { Find<QAction>(name)->trigger(); }
  void ReleaseEscapeOn(QWidget* target) {
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
  }

  TempProgramDir dir_;
  Settings settings_;
  FakeShell shell_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowTest, FolderPickersFillTheirBoxAndCancelLeavesThemUnchanged) {
  Find<QLineEdit>("txtSrcDir")->setText("/before/src");
  Find<QLineEdit>("txtDstDir")->setText("/before/dst");

  shell_.folderAnswer = "";
  Click("cmdSrcDir");
  EXPECT_EQ(Find<QLineEdit>("txtSrcDir")->text(), QString("/before/src"));

  shell_.folderAnswer = "/chosen/目录";
  Click("cmdDstDir");
  EXPECT_EQ(Find<QLineEdit>("txtDstDir")->text(), QString("/chosen/目录"));
  EXPECT_EQ(Find<QLineEdit>("txtSrcDir")->text(), QString("/before/src"));

  ASSERT_EQ(shell_.pickerTitles.size(), 2u);
  for (const QString& title : shell_.pickerTitles) EXPECT_EQ(title, QString("请选择待转换图像目录："));
}

TEST_F(WindowTest, OpenDestinationWarnsAboutAMissingDirectoryAndOpensAnExistingOne) {
  Click("cmdOpenDst");  // empty box: nothing at all
  EXPECT_TRUE(shell_.messages.empty());
  EXPECT_TRUE(shell_.openedUrls.empty());

  const fs::path missing = dir_.Path() / "not yet";
  Find<QLineEdit>("txtDstDir")->setText(QString::fromStdString(missing.string()));
  Click("cmdOpenDst");
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(shell_.messages[0].title, QString("提示信息"));
  EXPECT_EQ(shell_.messages[0].text, QString("该目录不存在，转换时会自动创建。    "));
  EXPECT_TRUE(shell_.openedUrls.empty());

  fs::create_directories(dir_.Path() / "输出");
  Find<QLineEdit>("txtDstDir")->setText(QString::fromStdString((dir_.Path() / "输出").string()));
  Click("cmdOpenDst");
  ASSERT_EQ(shell_.openedUrls.size(), 1u);
  EXPECT_EQ(shell_.openedUrls[0].toLocalFile(), QString::fromStdString((dir_.Path() / "输出").string()));
  EXPECT_EQ(shell_.messages.size(), 1u);
}

TEST_F(WindowTest, OpenSourceOpensEvenAMissingDirectoryButNotAnEmptyBox) {
  Click("cmdOpenSrc");
  EXPECT_TRUE(shell_.openedUrls.empty());
  Find<QLineEdit>("txtSrcDir")->setText("/no/such/dir");
  Click("cmdOpenSrc");
  ASSERT_EQ(shell_.openedUrls.size(), 1u);
  EXPECT_EQ(shell_.openedUrls[0].toLocalFile(), QString("/no/such/dir"));
  EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(WindowTest, HelpOpensTheGuideOnlyWhenPresentAndWebSiteOpensTheHomePage) {
  Trigger("mnuHelp");
  EXPECT_TRUE(shell_.openedUrls.empty());

  std::ofstream(dir_.Path() / "help.doc") << "{\\rtf1 }";
  Trigger("mnuHelp");
  ASSERT_EQ(shell_.openedUrls.size(), 1u);
  EXPECT_EQ(shell_.openedUrls[0].toLocalFile(),
            QString::fromStdString((dir_.Path() / "help.doc").string()));

  Trigger("mnuWebSite");
  ASSERT_EQ(shell_.openedUrls.size(), 2u);
  EXPECT_EQ(shell_.openedUrls[1], QUrl(kWebSiteUrl));
  EXPECT_TRUE(shell_.openedUrls[1].isValid());
  EXPECT_EQ(shell_.openedUrls[1].scheme(), QString("https"));
}

TEST_F(WindowTest, MenuItemsIconsAndLogButtonOpenTheirDialogs) {
  const std::pair<const char*, DialogId> menu[] = {
      {"mnuCompress", DialogId::ImageCompress}, {"mnuCombine", DialogId::Merge},
      {"mnuSplit", DialogId::Split},            {"mnuRenameOptions", DialogId::Rename},
      {"mnuPDF", DialogId::Pdf},                {"mnu2PDF", DialogId::TwoPdf},
      {"mnuWord", DialogId::Ocr},
  };
  for (const auto& [name, dialog] : menu) {
    shell_.openedDialogs.clear();
    Trigger(name);
    ASSERT_EQ(shell_.openedDialogs.size(), 1u) << name;
    EXPECT_EQ(shell_.openedDialogs[0], dialog) << name;
  }

  // Each icon opens the dialog of the action beside it; its tooltip names it.
  const std::pair<DialogId, const char*> icons[] = {
      {DialogId::Merge, "单页合并设置"},  {DialogId::Split, "多页拆分设置"},
      {DialogId::Pdf, "单层PDF转换设置"}, {DialogId::TwoPdf, "双层PDF转换设置"},
      {DialogId::Ocr, "OCR为Word设置"},   {DialogId::Rename, "批量更名设置"},
  };
  for (int i = 0; i < 6; ++i) {
    const QString name = QStringLiteral("imgSetting%1").arg(i);
    auto* icon = window_->findChild<QToolButton*>(name);
    ASSERT_NE(icon, nullptr) << name.toStdString();
    EXPECT_EQ(icon->toolTip(), QString(icons[i].second));
    shell_.openedDialogs.clear();
    icon->click();
    ASSERT_EQ(shell_.openedDialogs.size(), 1u);
    EXPECT_EQ(shell_.openedDialogs[0], icons[i].first) << i;
  }

  shell_.openedDialogs.clear();
  Click("cmdHistory");
  ASSERT_EQ(shell_.openedDialogs.size(), 1u);
  EXPECT_EQ(shell_.openedDialogs[0], DialogId::ConvertLogs);
}

TEST_F(WindowTest, MenuMnemonicsWorkAndKeepTheBracketedCaptions) {
  auto* setting = Find<QMenu>("mnuSetting");
  EXPECT_EQ(setting->title(), QString("设置[&O]"));
  EXPECT_EQ(setting->menuAction()->shortcut(), QKeySequence());
  EXPECT_EQ(QKeySequence::mnemonic(setting->title()), QKeySequence(Qt::ALT | Qt::Key_O));
  EXPECT_EQ(QKeySequence::mnemonic(Find<QMenu>("mnuSystem")->title()),
            QKeySequence(Qt::ALT | Qt::Key_H));
  EXPECT_TRUE(Find<QAction>("mnuS1")->isSeparator());
  EXPECT_TRUE(Find<QAction>("mnuS2")->isSeparator());
}

TEST_F(WindowTest, EscapeAnywhereCancelsARunningJobAndDoesNothingWhenIdle) {
  window_->show();
  auto* source = Find<QLineEdit>("txtSrcDir");

  ReleaseEscapeOn(source);  // idle: no flag is left behind
  EXPECT_FALSE(window_->Run().IsActive());
  ASSERT_TRUE(window_->Run().BeginRun());
  EXPECT_TRUE(window_->Run().KeepRunning());

  ReleaseEscapeOn(source);
  EXPECT_FALSE(window_->Run().KeepRunning());
  EXPECT_TRUE(window_->Run().IsActive());
  EXPECT_FALSE(window_->Run().QuitRequested());
  window_->OnRunFinished();
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowTest, CloseDuringARunIsRefusedAndActedOnWhenTheRunEnds) {
  window_->show();
  ASSERT_TRUE(window_->Run().BeginRun());
  window_->ShowRunningState();
  EXPECT_FALSE(Find<QPushButton>("cmdConvert")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("cmdHistory")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("cmdCancel")->isHidden());

  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->Run().QuitRequested());
  EXPECT_FALSE(window_->Run().KeepRunning());

  window_->OnRunFinished();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(Find<QPushButton>("cmdConvert")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("cmdCancel")->isHidden());
  EXPECT_FALSE(window_->Run().IsActive());
}

TEST_F(WindowTest, CloseWhileIdleClosesAtOnce) {
  window_->show();
  EXPECT_TRUE(window_->close());
  EXPECT_FALSE(window_->isVisible());
  EXPECT_FALSE(window_->Run().QuitRequested());
}

}  // namespace
}  // namespace zelk::test
