#pragma once
// How a run (or a preview) shows itself.  The engine calls these on the
// thread that runs it; the window implements them by posting queued
// signals to its own thread, the headless runner by printing.  Every call
// returns at once: nothing here may wait for the operator.

#include <cstddef>
#include <string>

#include "platform/UserMessage.h"
#include "run/RunProgress.h"
#include "scan/WorkList.h"

namespace zelk {

class RunObserver : public ScanObserver {
 public:
  // The status line "lblStatus".
  virtual void OnStatus(const std::string& text) { (void)text; }

  // The work list "lvwDocList" was emptied (rows are added through
  // ScanObserver::OnRowAdded, and the total "总共" through OnTotalCount).
  virtual void OnWorkListCleared() {}
  // The "状态" cell of row `index` (0-based) changed.
  virtual void OnRowStatus(std::size_t index, const std::string& text) {
    (void)index;
    (void)text;
  }
  // Row `index` is the one in progress: select it and scroll it into view.
  virtual void OnRowSelected(std::size_t index) { (void)index; }
  // The counter "已转" of items finished successfully.
  virtual void OnDoneCount(std::size_t successes) { (void)successes; }
  // An item failed, with the reason in the operator's words (the day's
  // reasons list keeps it too, with the library's detail).
  virtual void OnItemFailed(std::size_t index, const std::string& reason) {
    (void)index;
    (void)reason;
  }
  // The scan passed over a directory it cannot list (not a failed item).
  virtual void OnDirectorySkipped(const std::string& path, const std::string& reason) {
    (void)path;
    (void)reason;
  }
  // How far the run is: when the rows begin, after every row and, while a
  // row works through its pages, at most every 100 ms (ProgressMeter).
  virtual void OnProgress(const RunProgress& progress) { (void)progress; }

  // The scratch list "lvwFileList" of the item in progress.
  virtual void OnFileListCleared() {}
  virtual void OnFileListEntry(const std::string& path, const std::string& name) {
    (void)path;
    (void)name;
  }

  // The run began (true: command buttons disabled, "取消转换" shown) or
  // ended (false: buttons enabled, cancel hidden).
  virtual void OnBusyChanged(bool busy) { (void)busy; }

  // A message box, with the title kMessageTitle.
  virtual void OnMessage(const UserMessage& message) { (void)message; }

  // The window was asked to close during the run; the run is over now and
  // the window is to close, which ends the program.
  virtual void OnCloseRequested() {}
};

}  // namespace zelk
