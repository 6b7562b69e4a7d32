#pragma once
// The run frame with the test job on a temporary tree: the program
// directory with its settings file, a source and an output root, a fake
// clock on which every item takes 25 seconds, and a recording observer.
// The job runs under one of the tests' own rows (run/TestJobRows.h).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "run/JobDescriptor.h"
#include "run/RunFrame.h"
#include "run/TestJobRows.h"
#include "settings/SettingsFile.h"
#include "support/FakeClock.h"
#include "support/FileTree.h"
#include "support/PortablePlaces.h"
#include "support/RecordingObserver.h"
#include "support/TempDir.h"
#include "support/TestJob.h"

namespace zelk::test {

inline constexpr const char* kSuccessList = "Logs/2026年03月07日-成功.txt";
inline constexpr const char* kFailureList = "Logs/2026年03月07日-失败.txt";

class RunFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseUtc();
    WriteBytes(dir_.File("ZELK.conf"), DefaultSettingsFileText());
    ASSERT_TRUE(LoadSettings(dir_.Path().string(), settings_));
    settings_.Merge.Tif = 1;
    settings_.Merge.Jpg = 1;
    // Results beside the mirrored directory, in the record and in the file.
    settings_.Merge.KeepDir = 0;
    ASSERT_TRUE(WriteSettingKey(settings_, SettingId::Merge_KeepDir));
    // Every item takes 25 seconds of the fake clock.
    script_.OnItem = [this](RunContext&, std::size_t) { clock_.Advance(std::chrono::seconds(25)); };
  }

  std::string In(const std::string& relative) const { return in_ + "/" + relative; }
  std::string Out(const std::string& relative) const { return out_ + "/" + relative; }
  std::string List(const char* name) const { return ReadBytes(dir_.File(name)); }
  bool HasStatusStartingWith(const std::string& start) const {
    return std::any_of(observer_.Statuses.begin(), observer_.Statuses.end(),
                       [&start](const std::string& text) { return text.starts_with(start); });
  }
  bool ListExists(const char* name) const { return std::filesystem::exists(dir_.File(name)); }

  // An empty `target` runs with out_, "-" with an empty output box.
  RunResult Run(const JobDescriptor& row, std::string source = {}, std::string target = {}) {
    RunRequest request;
    request.RunSettings = settings_;
    request.SourceDir = source.empty() ? in_ : source;
    request.TargetDir = target.empty() ? out_ : target == "-" ? std::string() : target;
    request.LogsDir = test::PortablePlacesIn(dir_.Path()).LogsDir;
    request.TimeSource = &clock_;
    request.SettleTime = settle_;
    request.WorkShard = shard_;
    TestJob job(row, script_);
    control_.BeginRun();
    return RunJob(job, request, observer_, control_);
  }

  TempDir dir_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  Settings settings_;
  FakeClock clock_{At(2026, 3, 7, 9, 5, 0)};
  TestJobScript script_;
  RecordingObserver observer_;
  RunControl control_;
  std::chrono::seconds settle_{0};  // the request's settle time
  Shard shard_;                     // and its shard, the whole tree by default
};

}  // namespace zelk::test
