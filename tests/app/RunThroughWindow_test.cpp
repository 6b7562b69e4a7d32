// Conversions and previews started from the window's buttons: the worker
// thread's reports in the work list, counters, status line and buttons;
// cancel, Esc and close during a run; the run's copy of the settings and
// what it hands back; jobs that are not available.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>

#include "app/OptionDialogs.h"
#include "app/RunController.h"
#include "jobs/Dispatch.h"
#include "run/RunContext.h"
#include "RunWindowFixture.h"
#include "settings/SettingsFile.h"
#include "support/FileTree.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

const QString kMergeFinished = "本次合并完毕！    ";
const QString kMergeCancelled = "图像目录合并过程被取消！";

TEST_F(RunWindowTest, RunShowsItsRowsStatusesAndCountersWithTheStartButtonsDisabled) {
  OpenWindow();
  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived() && Rows().Status(0) == "合并..."; }));
  ASSERT_TRUE(WaitUntil([&] { return !Find<QWidget>("cmdCancel")->isHidden(); }));

  // In progress: the worker holds the first item while the window answers.
  for (const char* button : {"cmdPreview", "cmdConvert", "cmdTimerConvert", "cmdHistory"}) {
    EXPECT_FALSE(Enabled(button)) << button;
  }
  EXPECT_EQ(Rows().rowCount(), 3);
  EXPECT_EQ(Rows().Path(1), RowPath("bad"));
  EXPECT_EQ(Text("lblResult0"), QString("3"));
  EXPECT_EQ(Text("lblResult1"), QString("0"));
  EXPECT_EQ(Text("lblStatus"), "正在合并" + RowPath("a"));
  Click("cmdConvert");  // disabled: no second run
  EXPECT_TRUE(window_->Runner().IsConverting());

  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_EQ(Rows().Status(0), QString("已合并"));
  EXPECT_EQ(Rows().Status(1), QString("合并失败"));
  EXPECT_EQ(Rows().Status(2), QString("已合并"));
  EXPECT_EQ(Text("lblResult1"), QString("2"));
  EXPECT_EQ(Text("lblStatus"), kMergeFinished);
  for (const char* button : {"cmdPreview", "cmdConvert", "cmdTimerConvert", "cmdHistory"}) {
    EXPECT_TRUE(Enabled(button)) << button;
  }
  EXPECT_TRUE(Find<QWidget>("cmdCancel")->isHidden());
  EXPECT_EQ(script_.Seen.size(), 3u);
  EXPECT_EQ(conversionEnds_->count(), 1);
  EXPECT_TRUE(shell_.messages.empty());
  EXPECT_TRUE(fs::exists(target_ / "Error" / "bad"));
}

// Cancel by the button or by Esc: the item in progress is finished and
// recorded, the rest is left for the next run, which the cancel does not
// touch.
class CancelTest : public RunWindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  void Cancel() {
    if (GetParam()) {
      Click("cmdCancel");
    } else {
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(Find<QLineEdit>("txtSrcDir"), &release);
    }
  }
};

TEST_P(CancelTest, StopsAfterTheItemInProgressAndTheNextRunTakesTheRest) {
  OpenWindow();
  Cancel();  // while idle: changes nothing
  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil(
      [&] { return gate_.Arrived() && !Find<QWidget>("cmdCancel")->isHidden(); }));
  Cancel();
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));

  EXPECT_EQ(script_.Seen, std::vector<std::string>({(source_ / "a").string()}));
  EXPECT_EQ(Rows().Status(0), QString("已合并"));
  EXPECT_EQ(Rows().Status(1), QString());
  EXPECT_EQ(Text("lblResult1"), QString("1"));
  EXPECT_EQ(Text("lblStatus"), kMergeCancelled);
  EXPECT_TRUE(Enabled("cmdConvert"));

  Click("cmdConvert");
  ASSERT_TRUE(WaitForConversionEnds(2));
  EXPECT_EQ(script_.Seen.size(), 3u);  // bad and c; a has its result now
  EXPECT_EQ(Rows().rowCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(ButtonAndEscape, CancelTest, ::testing::Bool());

TEST_F(RunWindowTest, CloseDuringARunClosesTheWindowOnceTheRunHasEnded) {
  OpenWindow();
  window_->show();
  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived(); }));

  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(script_.Seen.size(), 1u);
  EXPECT_FALSE(window_->Runner().IsBusy());
}

TEST_F(RunWindowTest, RunWorksOnACopyOfTheSettingsAndHandsBackWhatItKept) {
  OpenWindow({"[Split]", "FileNamePre=before"});
  std::string preSeenByRun;
  script_.OnItem = [&](RunContext& context, std::size_t index) {
    gate_.Pass();
    if (index != 0) return;
    preSeenByRun = context.RunSettings().Split.FileNamePre;
    context.RunSettings().Merge.KeepDir = 1;  // as after a grouping workbook
    context.KeepSettingChange(SettingId::Merge_KeepDir);
  };
  HoldFirstItem();
  Find<QLineEdit>("txtSrcDir")->setText(QString::fromStdString(source_.string() + "/"));
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived(); }));
  settings_.Split.FileNamePre = "changed by a dialog";  // during the run
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));

  EXPECT_EQ(preSeenByRun, "before");
  EXPECT_EQ(settings_.Split.FileNamePre, "changed by a dialog");
  EXPECT_EQ(settings_.Merge.KeepDir, 1);
  EXPECT_EQ(ReadIniString(settings_.IniPath, "Merge", "KeepDir"), "");  // memory only
  // The box is stored as typed, in the record and in the file.
  EXPECT_EQ(settings_.Common.ImageSrcDir, source_.string() + "/");
  EXPECT_EQ(ReadIniString(settings_.IniPath, "Common", "ImageSrcDir"), source_.string() + "/");
}

TEST_F(RunWindowTest, DispatchFollowsConvertTypeAndAJobNotBuiltYetSaysSo) {
  OpenWindow({"[PDF]", "ConvertType=1"});
  Find<QRadioButton>("optAction2")->setChecked(true);
  Click("cmdConvert");  // per directory: not registered
  ASSERT_TRUE(WaitForConversionEnds(1));
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].title, QString("提示信息"));
  EXPECT_EQ(shell_.messages[0].text,
            QString::fromStdString(NotAvailableMessage(3, JobId::MergeFiles2PDF).Text));
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_TRUE(Enabled("cmdConvert"));
  EXPECT_TRUE(Find<QWidget>("cmdCancel")->isHidden());

  Touch(source_ / "a" / "p1.tif");
  SetTreeAge(source_, 300);
  settings_.PDF.ConvertType = 2;  // as the PDF dialog stores it
  Click("cmdConvert");
  ASSERT_TRUE(WaitForConversionEnds(2));
  EXPECT_EQ(script_.Seen, std::vector<std::string>({(source_ / "a" / "p1.tif").string()}));
  EXPECT_EQ(settings_.Common.ConvertAction, 3);
}

TEST_F(RunWindowTest, EmptySourceBoxShowsTheMessageAndFocusesItsButton) {
  OpenWindow();
  window_->show();
  Find<QLineEdit>("txtSrcDir")->clear();
  Click("cmdConvert");
  ASSERT_TRUE(WaitForConversionEnds(1));
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].text, QString("请选择目录！\u3000\u3000"));
  EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>("cmdSrcDir"));
  EXPECT_TRUE(script_.Seen.empty());
}

TEST_F(RunWindowTest, PreviewFillsTheListWithoutWritingAndBlocksTheStartButtons) {
  OpenWindow();
  const QString otherTarget = QString::fromStdString((dir_.Path() / "other").string());
  Find<QLineEdit>("txtDstDir")->setText(otherTarget);
  Click("cmdPreview");
  EXPECT_FALSE(Enabled("cmdPreview"));
  EXPECT_FALSE(Enabled("cmdConvert"));
  ASSERT_TRUE(WaitForPreviewEnds(1));
  EXPECT_TRUE(Enabled("cmdPreview"));
  EXPECT_TRUE(Enabled("cmdConvert"));
  EXPECT_EQ(Rows().rowCount(), 3);
  EXPECT_EQ(Rows().Path(2), RowPath("c"));
  EXPECT_EQ(Text("lblResult0"), QString("3"));
  EXPECT_EQ(Text("lblStatus"), QString("已准备"));
  EXPECT_TRUE(script_.Seen.empty());
  EXPECT_TRUE(Find<QWidget>("cmdCancel")->isHidden());
  // The boxes go into the record only.
  EXPECT_EQ(settings_.Common.ConvertDstDir, otherTarget.toStdString());
  EXPECT_EQ(ReadIniString(settings_.IniPath, "Common", "ConvertDstDir"), target_.string());

  Find<QLineEdit>("txtSrcDir")->clear();
  Click("cmdPreview");
  ASSERT_TRUE(WaitForPreviewEnds(2));
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].text, QString("请选择目录！\u3000\u3000"));
  EXPECT_EQ(Rows().rowCount(), 3);  // the list is left as it was
}

TEST(OptionDialogTable, EveryDialogHasAnOpener) {
  for (DialogId id : {DialogId::ImageCompress, DialogId::Merge, DialogId::Split, DialogId::Rename,
                      DialogId::Pdf, DialogId::TwoPdf, DialogId::Ocr, DialogId::ConvertLogs}) {
    EXPECT_NE(FindDialogOpener(id), nullptr) << static_cast<int>(id);
  }
}

}  // namespace
}  // namespace zelk::test
