// The window at its default size: every caption fits its control, Tab
// meets the controls in reading order, and a picture of it is kept as
// <build>/screenshots/main.png for a human look.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QHeaderView>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/MainWindow.h"
#include "app/WorkListModel.h"
#include "AppTestSupport.h"
#include "settings/Settings.h"

namespace zelk::test {
namespace {

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.WriteSettings({"[Common]", "ImageSrcDir=/srv/扫描/2024年档案",
                        "ConvertDstDir=/srv/转换结果", "ConvertAction=4", "TimerType=1",
                        "[Timer]", "Timer1=17:30", "Timer2=10"});
    window_ = std::make_unique<MainWindow>(dir_.Places(), settings_, shell_);
    ASSERT_TRUE(window_->Load());
    window_->show();
    QApplication::processEvents();
  }

  TempProgramDir dir_;
  Settings settings_;
  FakeShell shell_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(LayoutTest, EveryCaptionFitsItsControlAtTheDefaultSize) {
  for (QWidget* widget : window_->findChildren<QWidget*>()) {
    if (!widget->isVisible() || widget->objectName().isEmpty()) continue;
    if (widget->objectName() == "lblStatus") continue;  // elides long progress texts by design
    const bool captioned = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget);
    if (!captioned) continue;
    const QSize hint = widget->sizeHint();
    EXPECT_GE(widget->width(), hint.width()) << widget->objectName().toStdString();
    EXPECT_GE(widget->height(), hint.height()) << widget->objectName().toStdString();
  }
}

TEST_F(LayoutTest, TheStatusColumnShowsTheLongestRowTextWhole) {
  auto* list = window_->findChild<QTreeView*>("lvwDocList");
  ASSERT_NE(list, nullptr);
  const int width = list->header()->sectionSize(WorkListModel::kStatusColumn);
  for (const char* text : {"其他进程正在转换", "已由其他进程转换", "转换失败"}) {
    EXPECT_GE(width, list->fontMetrics().horizontalAdvance(QString::fromUtf8(text))) << text;
  }
}

TEST_F(LayoutTest, IntervalBoxSitsInsideTheGapOfItsLabel) {
  auto* label = window_->findChild<QLabel*>("lblAuto");
  auto* box = window_->findChild<QLineEdit*>("txtInterval");
  ASSERT_TRUE(label && box);
  EXPECT_EQ(label->text(), QString("隔       分钟自动扫描"));
  EXPECT_TRUE(box->isVisible());
  const QRect inLabel(box->mapTo(label, QPoint(0, 0)), box->size());
  EXPECT_TRUE(label->rect().contains(inLabel));
  // The box starts after "隔" and the text after it is drawn after the box.
  EXPECT_GE(inLabel.left(), label->fontMetrics().horizontalAdvance("隔"));
  EXPECT_LE(inLabel.right() + label->fontMetrics().horizontalAdvance("分钟自动扫描"),
            label->width());
  EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance("00"));
}

// The controls Tab can stop at, in the window's focus chain.  Qt lets Tab
// stop at one option of a group, whichever had the focus last, so options
// count whatever their policy says at the moment.
std::vector<QWidget*> TabStops(QWidget& window) {
  std::vector<QWidget*> stops;
  for (QWidget* widget = window.nextInFocusChain(); widget != &window;
       widget = widget->nextInFocusChain()) {
    const bool takesTab = (widget->focusPolicy() & Qt::TabFocus) != 0 ||
                          qobject_cast<QRadioButton*>(widget) != nullptr;
    if (widget->isVisible() && widget->isEnabled() && takesTab) stops.push_back(widget);
  }
  return stops;
}

TEST_F(LayoutTest, TabMeetsEveryControlFromTopToBottomAndLeftToRight) {
  const std::vector<QWidget*> stops = TabStops(*window_);
  // Every control the user works (named by its kind) is a stop.
  const QRegularExpression control("^(opt|img|txt|cmd|cbo|lvw)");
  for (QWidget* widget : window_->findChildren<QWidget*>(control)) {
    if (!widget->isVisible() || !widget->isEnabled()) continue;
    EXPECT_NE(std::find(stops.begin(), stops.end(), widget), stops.end())
        << widget->objectName().toStdString() << " cannot be reached with Tab";
  }
  // Each stop lies right of the one before on the same line, or lower down.
  for (size_t i = 1; i < stops.size(); ++i) {
    const QRect before(stops[i - 1]->mapTo(window_.get(), QPoint()), stops[i - 1]->size());
    const QRect next(stops[i]->mapTo(window_.get(), QPoint()), stops[i]->size());
    const bool sameLine = next.top() <= before.bottom() && before.top() <= next.bottom();
    EXPECT_TRUE(sameLine ? next.left() > before.right() : next.top() > before.bottom())
        << stops[i - 1]->objectName().toStdString() << " then "
        << stops[i]->objectName().toStdString();
  }
  // The keyboard starts at the chosen action, the first control from the top.
  EXPECT_EQ(window_->focusWidget(), window_->findChild<QWidget*>("optAction3"));
}

TEST_F(LayoutTest, WritesAScreenshot) {
  const char* binDir = std::getenv("ZELK_BIN_DIR");
  if (binDir == nullptr) GTEST_SKIP() << "ZELK_BIN_DIR not set";
  window_->WorkList().AppendRow("/srv/扫描/2024年档案/卷001", 12);
  window_->WorkList().AppendRow("/srv/扫描/2024年档案/卷002", 8);
  window_->WorkList().SetStatus(0, "已转换");
  window_->AddFileListEntry("0001.tif");
  window_->AddFileListEntry("0002.tif");
  QApplication::processEvents();
  const QString dir = QDir(QString::fromLocal8Bit(binDir)).absoluteFilePath("../screenshots");
  ASSERT_TRUE(QDir().mkpath(dir));
  EXPECT_TRUE(window_->grab().save(dir + "/main.png"));
}

}  // namespace
}  // namespace zelk::test
