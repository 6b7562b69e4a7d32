#pragma once
// A job for exercising the run frame, the dispatch and the headless runner
// without any image work.  It runs under the descriptor it is given: a row
// of the job catalog where the caller wants a real job's texts and scan
// (the dispatch, the window, the batch runner), or a test row of its own
// (the run frame's tests, tests/run/TestJobRows.h).  An item whose path
// contains "bad" fails, one whose path contains "gone" is skipped; every
// other item succeeds and writes the result file the row's scan looks for,
// so that a second run leaves it out.

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "run/Job.h"
#include "run/JobDescriptor.h"
#include "run/RunContext.h"
#include "run/ScanRequest.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk::test {

struct TestJobScript {
  std::vector<std::string> Seen;                               // item paths, in order
  std::function<void(RunContext&, std::size_t)> OnItem;        // called first for every item
  std::optional<UserMessage> StartCheckMessage;                // refuses the start
  std::optional<JobStartError> PreparationError;               // thrown by Prepare
  std::vector<std::string> SourceRootsSeen;                    // the context's root per item
  int CleanUps = 0;
};

class TestJob final : public Job {
 public:
  TestJob(const JobDescriptor& row, TestJobScript& script) : row_(row), script_(script) {}

  const JobDescriptor& Descriptor() const override { return row_; }

  std::optional<UserMessage> CheckBeforeStart(const Settings&) override {
    return script_.StartCheckMessage;
  }

  void Prepare(RunContext&) override {
    if (script_.PreparationError) throw *script_.PreparationError;
  }

  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override {
    const std::string path = context.Row(index).Path;
    script_.Seen.push_back(path);
    script_.SourceRootsSeen.push_back(context.SourceRoot());
    if (script_.OnItem) script_.OnItem(context, index);
    if (path.find("bad") != std::string::npos) throw std::runtime_error("damaged page");
    if (path.find("gone") != std::string::npos) {
      context.SetRowStatus(index, "不存在");
      return ItemOutcome::Skipped;
    }
    WriteResult(context, path);
    return ItemOutcome::Done;
  }

  void CleanUp(RunContext&) override { ++script_.CleanUps; }

 private:
  void WriteResult(RunContext& context, const std::string& path) {
    if (context.TargetRoot().empty()) return;  // renaming in place: nothing to write
    const ScanRequest scan = Descriptor().DefaultScan(context.RunSettings());
    std::string result;
    if (scan.ScanMode == ScanRequest::Mode::Directories) {
      result = context.MirrorPath(path);
      if (scan.KeepDir) result = JoinPath(result, GetFileNamePart(result));
      if (!scan.TargetType.empty()) result += "." + scan.TargetType;
    } else {
      const std::string directory = path.substr(0, path.rfind('/'));
      result = JoinPath(context.MirrorPath(directory), GetBaseName(GetFileNamePart(path)));
      if (!scan.TargetType.empty()) result += "." + scan.TargetType;
    }
    std::filesystem::create_directories(std::filesystem::path(result).parent_path());
    std::ofstream(result) << "result";
  }

  const JobDescriptor& row_;
  TestJobScript& script_;
};

}  // namespace zelk::test
