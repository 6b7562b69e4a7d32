#include "app/RunController.h"

#include <exception>
#include <utility>

#include "jobs/Dispatch.h"

namespace zelk {

RunController::RunController(const JobRegistry& jobs, RunControl& control, Settings& record,
                             QObject* parent)
    : QObject(parent), jobs_(jobs), control_(control), record_(record) {}

RunController::~RunController() { Shutdown(); }

bool RunController::StartConversion(int action, RunRequest request) {
  if (IsBusy() || !control_.BeginRun()) return false;
  Launch(Task::Conversion, [this, action, request = std::move(request)] {
    RunResult result = zelk::StartConversion(action, request, jobs_, observer_, control_);
    // Only the schedule starts runs that leave out recent changes.
    workerOutcome_ = {request.SettleTime.count() > 0, result.Successes, result.Failures};
    return std::move(result.SettingsChanges);
  });
  return true;
}

bool RunController::StartPreview(int action, Settings settings, std::string sourceDir,
                                 std::string targetDir) {
  if (IsBusy()) return false;
  stopPreview_.store(false);
  Launch(Task::Preview, [this, action, settings = std::move(settings),
                         sourceDir = std::move(sourceDir), targetDir = std::move(targetDir)] {
    return RunPreview(action, settings, sourceDir, targetDir, jobs_, observer_,
                      [this] { return stopPreview_.load(); })
        .SettingsChanges;
  });
  return true;
}

void RunController::Launch(Task task, std::function<SettingsChangeSet()> work) {
  task_ = task;
  worker_ = std::thread([this, work = std::move(work)] {
    try {
      handBack_ = work();
    } catch (const std::exception& error) {
      // Whatever went wrong, the window must get its buttons back.
      observer_.OnMessage({UserMessage::Icon::Warning, std::string(error.what()) + "    "});
      control_.EndRun();
    } catch (...) {
      control_.EndRun();
    }
    QMetaObject::invokeMethod(this, &RunController::OnWorkerDone, Qt::QueuedConnection);
  });
}

void RunController::OnWorkerDone() {
  if (worker_.joinable()) worker_.join();
  const Task ended = std::exchange(task_, Task::None);
  std::exchange(handBack_, {}).ApplyTo(record_);
  if (ended == Task::Conversion) lastConversion_ = std::exchange(workerOutcome_, {});
  if (ended == Task::Conversion) emit ConversionEnded();
  if (ended == Task::Preview) emit PreviewEnded();
}

void RunController::Shutdown() {
  control_.RequestCancel();
  stopPreview_.store(true);
  if (worker_.joinable()) worker_.join();
  task_ = Task::None;
  handBack_ = {};
}

}  // namespace zelk
