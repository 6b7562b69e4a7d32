#pragma once
// Shows a run on a terminal: each change of the status line as a line of
// standard output, and after every item how far the run is; messages and
// failed items with their reasons on standard error.

#include <iosfwd>
#include <string>
#include <vector>

#include "run/RunObserver.h"

namespace zelk {

class PrintingObserver final : public RunObserver {
 public:
  PrintingObserver(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void OnStatus(const std::string& text) override;
  void OnRowAdded(const WorkRow& row) override { paths_.push_back(row.Path); }
  void OnWorkListCleared() override { paths_.clear(); }
  void OnItemFailed(std::size_t index, const std::string& reason) override;
  void OnDirectorySkipped(const std::string& path, const std::string& reason) override;
  void OnProgress(const RunProgress& progress) override;
  void OnMessage(const UserMessage& message) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  std::string lastStatus_;
  std::size_t itemsShown_ = 0;
  std::vector<std::string> paths_;
};

}  // namespace zelk
