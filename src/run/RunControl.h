#pragma once
// The run flags shared by the window and a running job.
//
// A run executes on a worker thread while the window stays responsive, so
// the flags are atomics that either side may touch at any time:
//
//   - the owner of a run calls BeginRun() before it starts (it refuses a
//     second run while one is active) and EndRun() once the run is over;
//   - the job tests KeepRunning() at its cancel points (after the scan and
//     after every successful item) and stops when it turns false;
//   - the cancel button and Esc call RequestCancel();
//   - closing the window calls RequestQuit(), which during a run asks the
//     job to stop and returns true, meaning "refuse the close now and close
//     the window when the run has ended" (see QuitRequested()).
//
// "Running" in the traditional sense of the program, true from the start of
// a run until it ends or is asked to stop, is KeepRunning().  The active
// state is kept apart from the stop request so that a run that has been
// asked to stop still counts as active until it has really ended, and no
// second run can start on top of it.

#include <atomic>

namespace zelk {

class RunControl {
 public:
  // Starts a run: active, no stop request.  Returns false (and changes
  // nothing) when a run is already active.
  bool BeginRun() {
    bool expected = false;
    if (!active_.compare_exchange_strong(expected, true)) return false;
    stopRequested_.store(false);
    return true;
  }

  // Marks the run as over.  A quit request stays set: the program ends when
  // it is acted on.
  void EndRun() {
    active_.store(false);
    stopRequested_.store(false);
  }

  // True while a run is active and nobody asked it to stop.
  bool KeepRunning() const { return active_.load() && !stopRequested_.load(); }

  // True from BeginRun() to EndRun(), whether or not a stop was requested.
  bool IsActive() const { return active_.load(); }

  // Asks the active run to stop after the item in progress.  Without an
  // active run nothing changes.
  void RequestCancel() {
    if (active_.load()) stopRequested_.store(true);
  }

  // A request to close the window.  Without an active run it returns false:
  // close at once.  During a run it asks the run to stop, remembers the
  // quit request and returns true: refuse the close for now.
  bool RequestQuit() {
    if (!active_.load()) return false;
    quitRequested_.store(true);
    stopRequested_.store(true);
    return true;
  }

  // True once a close was refused during a run: whoever ends the run
  // closes the window afterwards.
  bool QuitRequested() const { return quitRequested_.load(); }

 private:
  std::atomic<bool> active_{false};
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> quitRequested_{false};
};

}  // namespace zelk
