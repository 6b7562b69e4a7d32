// What the window shows of a run beyond the program's own controls: why a
// row failed, the progress bar and its line, that a stop was asked for,
// shortened long status texts, and a preview without a readable grouping
// workbook.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/ElidingLabel.h"
#include "app/RunController.h"
#include "app/RunProgressPanel.h"
#include "jobs/JobCatalog.h"
#include "run/RunContext.h"
#include "RunWindowFixture.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk::test {
namespace {

const QString kBadReason = "处理失败";

class RunFeedbackTest : public RunWindowTest {
 protected:
  RunProgressPanel* Panel() { return Find<RunProgressPanel>("framProgress"); }
  QWidget* Details() { return Find<QWidget>("lblFailureReason"); }
  QString DetailsText() { return Find<ElidingLabel>("lblFailureReason")->FullText(); }
  void SelectRow(int row) {
    Find<QTreeView>("lvwDocList")->setCurrentIndex(Rows().index(row, WorkListModel::kNumberColumn));
  }
};

TEST_F(RunFeedbackTest, AFailedRowShowsWhyAsItsTooltipAndUnderTheListWhileSelected) {
  OpenWindow();
  Click("cmdConvert");
  ASSERT_TRUE(WaitForConversionEnds(1));
  ASSERT_EQ(Rows().Status(1), QString("合并失败"));

  const QModelIndex failed = Rows().index(1, WorkListModel::kStatusColumn);
  EXPECT_EQ(Rows().data(failed, Qt::ToolTipRole).toString(), kBadReason);
  const QModelIndex done = Rows().index(0, WorkListModel::kStatusColumn);
  EXPECT_FALSE(Rows().data(done, Qt::ToolTipRole).isValid());

  SelectRow(1);
  EXPECT_FALSE(Details()->isHidden());
  EXPECT_EQ(DetailsText(), "失败原因：" + kBadReason);
  SelectRow(2);
  EXPECT_TRUE(Details()->isHidden());

  // The day's reasons list holds it too, beside the two result lists.
  std::vector<std::string> lists;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path() / "Logs")) {
    lists.push_back(entry.path().filename().string());
  }
  ASSERT_EQ(lists.size(), 3u);
  const auto reasons = std::find_if(lists.begin(), lists.end(), [](const std::string& name) {
    return name.ends_with("-失败原因.txt");
  });
  ASSERT_NE(reasons, lists.end());
  EXPECT_EQ(ReadBytes(dir_.Path() / "Logs" / *reasons),
            RowPath("bad").toStdString() + "\t" + kBadReason.toStdString() + "（damaged page）\r\n");

  // A new run's list starts without reasons.
  SelectRow(1);
  Click("cmdPreview");
  ASSERT_TRUE(WaitForPreviewEnds(1));
  EXPECT_EQ(Rows().FailureReason(0), QString());
  EXPECT_TRUE(Details()->isHidden());
}

TEST_F(RunFeedbackTest, TheFileNamePaneShowsThePagesOfTheRowTheUserSelects) {
  for (const char* page : {"a/1.tif", "a/2.jpg", "bad/x.tif"}) Touch(source_ / page);
  Touch(source_ / "a" / "notes.txt");
  OpenWindow();
  Click("cmdConvert");
  ASSERT_TRUE(WaitForConversionEnds(1));
  auto pane = [this] {
    QStringList names;
    auto* list = Find<QTreeWidget>("lvwFileList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0);
    return names;
  };
  SelectRow(1);
  EXPECT_EQ(pane(), QStringList{"x.tif"}) << "the failed row's pages";
  SelectRow(0);
  EXPECT_EQ(pane(), (QStringList{"1.tif", "2.jpg"}));
  SelectRow(2);
  EXPECT_EQ(pane(), QStringList{}) << "c has no pages";
}

TEST_F(RunFeedbackTest, TheProgressBarFollowsTheRowsAndTheirPagesAndGoesAtTheEnd) {
  OpenWindow();
  EXPECT_TRUE(Panel()->isHidden());
  QSignalSpy reports(&window_->Runner().Observer(), &QtRunObserver::ProgressChanged);
  script_.OnItem = [this](RunContext& context, std::size_t index) {
    if (index == 0) {
      // Runs read the system's clock; page reports come at most every 100 ms.
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      context.ShowPageProgress(index, 3, 5);  // two of five pages done
    }
    gate_.Pass();
  };
  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived() && Panel()->BarValue() == 133; }));
  EXPECT_FALSE(Panel()->isHidden());
  EXPECT_TRUE(Panel()->LineText().startsWith("已完成0/3项，已用")) << Panel()->LineText().toStdString();

  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_TRUE(Panel()->isHidden());
  // The engine's reports in order: the rows begin, a page, each row's end.
  ASSERT_EQ(reports.count(), 5);
  const std::size_t finished[] = {0, 0, 1, 2, 3};
  for (int i = 0; i < reports.count(); ++i) {
    const auto progress = reports.at(i).at(0).value<RunProgress>();
    EXPECT_EQ(progress.ItemsFinished, finished[i]) << i;
    EXPECT_EQ(progress.ItemCount, 3u);
  }
  EXPECT_DOUBLE_EQ(reports.at(1).at(0).value<RunProgress>().ItemFraction, 0.4);
}

TEST_F(RunFeedbackTest, EscOrCloseDuringARunSaysAtOnceThatItStops) {
  OpenWindow();
  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived() && Text("lblStatus").startsWith("正在合并"); }));

  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(Find<QLineEdit>("txtSrcDir"), &release);
  // No waiting: the window says it before the run has noticed.
  EXPECT_EQ(Text("lblStatus"), QString(kStoppingText));
  EXPECT_EQ(Panel()->LineText(), QString(kStoppingText));

  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(1));
  EXPECT_EQ(Text("lblStatus"), QString("图像目录合并过程被取消！"));
  EXPECT_TRUE(Panel()->isHidden());

  // Idle: Esc changes nothing.
  QApplication::sendEvent(Find<QLineEdit>("txtSrcDir"), &release);
  EXPECT_EQ(Text("lblStatus"), QString("图像目录合并过程被取消！"));

  // A close during the run is a stop request too.
  window_->show();
  HoldFirstItem();
  Click("cmdConvert");
  ASSERT_TRUE(WaitUntil([&] { return gate_.Arrived(); }));
  EXPECT_FALSE(window_->close());
  EXPECT_EQ(Find<ElidingLabel>("lblStatus")->FullText(), QString(kStoppingText));
  gate_.Open();
  ASSERT_TRUE(WaitForConversionEnds(2));
}

TEST_F(RunFeedbackTest, ALongPathIsShortenedInTheMiddleAndThePageCounterStaysWhole) {
  OpenWindow();
  window_->show();
  const QString path = "/srv/扫描/" + QString("很长的目录名").repeated(30) + "/卷003";
  const QString status = "正在合并" + path + "  第3页 共10页";
  window_->SetStatusText(status);
  auto* label = Find<ElidingLabel>("lblStatus");
  EXPECT_EQ(label->FullText(), status);
  EXPECT_EQ(label->toolTip(), status);
  EXPECT_NE(label->text(), status);
  EXPECT_TRUE(label->text().startsWith("正在合并/srv")) << label->text().toStdString();
  EXPECT_TRUE(label->text().endsWith("/卷003  第3页 共10页")) << label->text().toStdString();
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
  EXPECT_LE(window_->width(), 1000);  // the window did not grow

  window_->SetStatusText("本次合并完毕！    ");
  EXPECT_EQ(label->text(), QString("本次合并完毕！    "));
}

TEST_F(RunFeedbackTest, PreviewScansWithoutAReadableGroupingWorkbook) {
  registry_.Register(JobId::MergeFiles, [] { return DescriptorOf(JobId::MergeFiles).Create(); });
  OpenWindow({"[Merge]", "Grouping=" + (dir_.Path() / "missing.xls").string()});
  Click("cmdPreview");
  ASSERT_TRUE(WaitForPreviewEnds(1));
  EXPECT_EQ(Rows().rowCount(), 3);
  EXPECT_EQ(Text("lblStatus"), QString("已准备"));
  EXPECT_TRUE(shell_.messages.empty());

  Click("cmdConvert");  // the run itself checks the workbook
  ASSERT_TRUE(WaitForConversionEnds(1));
  ASSERT_EQ(shell_.messages.size(), 1u);
  EXPECT_EQ(shell_.messages[0].text, QString("分件数据文件不存在，请设置！    "));
}

}  // namespace
}  // namespace zelk::test
