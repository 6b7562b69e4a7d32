#include "app/RunProgressPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace zelk {

RunProgressPanel::RunProgressPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("framProgress");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("prgRun");
  bar_->setRange(0, kBarRange);
  bar_->setTextVisible(false);
  line_ = new QLabel(this);
  line_->setObjectName("lblProgress");
  layout->addWidget(bar_, 1);
  layout->addWidget(line_);
  tick_ = new QTimer(this);
  tick_->setInterval(1000);
  connect(tick_, &QTimer::timeout, this, &RunProgressPanel::ShowLine);
  hide();
}

void RunProgressPanel::Begin() {
  last_.reset();
  stopping_ = false;
  bar_->setRange(0, 0);  // busy, no measure yet
  line_->clear();
  show();
}

void RunProgressPanel::Show(const RunProgress& progress) {
  last_ = progress;
  sinceLast_.start();
  bar_->setRange(0, kBarRange);
  bar_->setValue(static_cast<int>(progress.Fraction() * kBarRange + 0.5));
  ShowLine();
  if (!tick_->isActive()) tick_->start();
  show();
}

void RunProgressPanel::ShowStopping() {
  stopping_ = true;
  ShowLine();
}

void RunProgressPanel::End() {
  tick_->stop();
  last_.reset();
  stopping_ = false;
  hide();
}

int RunProgressPanel::BarValue() const { return bar_->maximum() == 0 ? -1 : bar_->value(); }

QString RunProgressPanel::LineText() const { return line_->text(); }

// The times of the last report, moved on by the seconds since it came.
void RunProgressPanel::ShowLine() {
  if (stopping_) {
    line_->setText(kStoppingText);
    return;
  }
  if (!last_) return;
  RunProgress now = *last_;
  const std::chrono::seconds since(sinceLast_.isValid() ? sinceLast_.elapsed() / 1000 : 0);
  now.Elapsed += since;
  if (now.Remaining) now.Remaining = std::max(std::chrono::seconds(0), *now.Remaining - since);
  line_->setText(QString::fromStdString(ProgressText(now)));
}

}  // namespace zelk
