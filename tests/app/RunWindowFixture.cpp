#include "RunWindowFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/RunController.h"
#include "jobs/JobCatalog.h"
#include "support/FileTree.h"

namespace zelk::test {

namespace fs = std::filesystem;

void Gate::Arm() {
  const std::lock_guard<std::mutex> lock(mutex_);
  armed_ = true;
  arrived_ = false;
  open_ = false;
}

void Gate::Pass() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!armed_) return;
  armed_ = false;
  arrived_ = true;
  opened_.wait(lock, [this] { return open_; });
}

bool Gate::Arrived() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return arrived_;
}

void Gate::Open() {
  const std::lock_guard<std::mutex> lock(mutex_);
  open_ = true;
  armed_ = false;
  opened_.notify_all();
}

void RunWindowTest::SetUp() {
  UseUtc();
  source_ = dir_.Path() / "src";
  target_ = dir_.Path() / "dst";
  for (const char* leaf : {"a", "bad", "c"}) MakeDirs(source_ / leaf);
  SetTreeAge(source_, 300);  // old enough for scheduled runs

  for (JobId id : {JobId::MergeFiles, JobId::ConvertFiles2PDF}) {
    registry_.Register(id, [this, id] {
      return std::make_unique<TestJob>(DescriptorOf(id), script_);
    });
  }
  script_.OnItem = [this](RunContext&, std::size_t) { gate_.Pass(); };
}

void RunWindowTest::TearDown() {
  // A failed expectation may leave the worker held: let it finish before
  // the window waits for it.
  gate_.Open();
  conversionEnds_.reset();
  previewEnds_.reset();
  window_.reset();
}

void RunWindowTest::OpenWindow(const std::vector<std::string>& extraLines) {
  std::vector<std::string> lines = {"[Common]", "ImageSrcDir=" + source_.string(),
                                    "ConvertDstDir=" + target_.string(), "ConvertAction=1"};
  lines.insert(lines.end(), extraLines.begin(), extraLines.end());
  dir_.WriteSettings(lines);
  window_ = std::make_unique<MainWindow>(dir_.Places(), settings_, shell_, registry_, clock_);
  ASSERT_TRUE(window_->Load());
  // The tests tick the schedule themselves, against the fake clock.
  Find<QTimer>("tmrTimer")->stop();
  Find<QTimer>("tmrAuto")->stop();
  RunController* runner = &window_->Runner();
  conversionEnds_ = std::make_unique<QSignalSpy>(runner, &RunController::ConversionEnded);
  previewEnds_ = std::make_unique<QSignalSpy>(runner, &RunController::PreviewEnded);
}

void RunWindowTest::Click(const char* name) { Find<QAbstractButton>(name)->click(); }

QString RunWindowTest::Text(const char* labelName) { return Find<QLabel>(labelName)->text(); }

bool RunWindowTest::Enabled(const char* buttonName) {
  return Find<QAbstractButton>(buttonName)->isEnabled();
}

QString RunWindowTest::RowPath(const char* leaf) const {
  return QString::fromStdString((source_ / leaf).string());
}

bool RunWindowTest::WaitUntil(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, 30000);
}

bool RunWindowTest::WaitForConversionEnds(int count) {
  return WaitUntil([&] { return conversionEnds_->count() >= count; });
}

bool RunWindowTest::WaitForPreviewEnds(int count) {
  return WaitUntil([&] { return previewEnds_->count() >= count; });
}

void RunWindowTest::HoldFirstItem() { gate_.Arm(); }

}  // namespace zelk::test
