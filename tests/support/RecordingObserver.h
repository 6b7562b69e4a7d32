#pragma once
// Records what a run shows, for tests.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "run/RunObserver.h"

namespace zelk::test {

class RecordingObserver : public RunObserver {
 public:
  std::vector<std::string> Statuses;
  std::vector<std::string> RowsAdded;
  std::vector<UserMessage> Messages;
  std::vector<bool> BusyChanges;
  std::map<std::size_t, std::vector<std::string>> RowStatuses;
  std::vector<std::size_t> Selected;
  std::vector<std::size_t> DoneCounts;
  std::vector<std::size_t> TotalCounts;
  std::vector<std::string> FailureReasons;
  std::vector<RunProgress> Progress;
  int WorkListClears = 0;
  int FileListClears = 0;
  int CloseRequests = 0;
  // Called with every status after it is recorded: a test acts mid-run.
  std::function<void(const std::string&)> StatusHook;

  std::string LastStatus() const { return Statuses.empty() ? std::string() : Statuses.back(); }

  void OnStatus(const std::string& text) override {
    Statuses.push_back(text);
    if (StatusHook) StatusHook(text);
  }
  void OnRowAdded(const WorkRow& row) override { RowsAdded.push_back(row.Path); }
  void OnTotalCount(std::size_t rows) override { TotalCounts.push_back(rows); }
  void OnWorkListCleared() override { ++WorkListClears; }
  void OnRowStatus(std::size_t index, const std::string& text) override {
    RowStatuses[index].push_back(text);
  }
  void OnRowSelected(std::size_t index) override { Selected.push_back(index); }
  void OnDoneCount(std::size_t successes) override { DoneCounts.push_back(successes); }
  void OnItemFailed(std::size_t, const std::string& reason) override {
    FailureReasons.push_back(reason);
  }
  void OnProgress(const RunProgress& progress) override { Progress.push_back(progress); }
  void OnFileListCleared() override { ++FileListClears; }
  void OnBusyChanged(bool busy) override { BusyChanges.push_back(busy); }
  void OnMessage(const UserMessage& message) override { Messages.push_back(message); }
  void OnCloseRequested() override { ++CloseRequests; }
};

}  // namespace zelk::test
