// deploy/slurm/zelk-array.sbatch on a real Slurm cluster of one node (the
// local machine, started by local-slurm.sh): a job array of four tasks
// converts a tree of forty directories, every directory once and whole,
// and the summary job the first task submits runs after the array.
// Needs root, for the Slurm daemons; skipped otherwise.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "OutputChecks.h"
#include "SourceTrees.h"
#include "imaging/PdfTest_helpers.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using namespace batchtest;

constexpr int kDirectories = 40;
constexpr int kPagesPerDirectory = 3;
constexpr int kTasks = 4;
constexpr auto kJobsTimeLimit = std::chrono::seconds(150);

using pdftest::Quote;
using pdftest::RunCommand;

// One job record of `scontrol show job`: an array task, or a job of its own.
struct JobRecord {
  std::string TaskId;  // ArrayTaskId, empty for a job outside an array
  std::string State;   // JobState
  std::string ExitCode;
};

// The value of `key=` in `text` from `from` on, up to the next blank.
std::string FieldValue(const std::string &text, const std::string &key, std::size_t from) {
  const std::size_t at = text.find(" " + key + "=", from);
  if (at == std::string::npos) return {};
  const std::size_t begin = at + key.size() + 2;
  return text.substr(begin, text.find_first_of(" \n", begin) - begin);
}

// The records of a job, or of every task of an array job; none when
// Slurm no longer knows it.
std::vector<JobRecord> JobRecords(const std::string &jobId) {
  const pdftest::CommandResult shown = RunCommand("scontrol show job " + Quote(jobId));
  std::vector<JobRecord> records;
  if (shown.exitCode != 0) return records;
  const std::string text = "\n" + shown.out;
  for (std::size_t at = text.find("\nJobId="); at != std::string::npos;
       at = text.find("\nJobId=", at + 1)) {
    records.push_back({FieldValue(text, "ArrayTaskId", at), FieldValue(text, "JobState", at),
                       FieldValue(text, "ExitCode", at)});
  }
  return records;
}

bool StillToRun(const std::string &state) {
  return state.empty() || state == "PENDING" || state == "RUNNING" || state == "CONFIGURING" ||
         state == "COMPLETING" || state == "REQUEUED" || state == "SUSPENDED";
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

class SlurmArrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) {
      GTEST_SKIP() << "the Slurm daemons of the one-node test cluster need root";
    }
    started_ = true;  // stop whatever part of the cluster did start
    // The cluster also stops when this process is killed (a time limit).
    const pdftest::CommandResult start =
        RunCommand(Quote(ZELK_LOCAL_SLURM) + " start " + Quote(dir_.File("cluster")) + " " +
                   std::to_string(getpid()));
    ASSERT_EQ(start.exitCode, 0) << "starting the one-node cluster:\n" << start.out << start.err;
    setenv("SLURM_CONF", dir_.File("cluster/slurm.conf").c_str(), 1);
    unsetenv("ZELK_BATCH");
  }

  void TearDown() override {
    if (!started_) return;
    const pdftest::CommandResult stop =
        RunCommand(Quote(ZELK_LOCAL_SLURM) + " stop " + Quote(dir_.File("cluster")));
    EXPECT_EQ(stop.exitCode, 0) << "stopping the one-node cluster:\n" << stop.out << stop.err;
  }

  // A checkout as the script expects it, at a path with a blank: the script
  // in deploy/slurm and zelk-batch in build/bin, where the script finds it.
  std::string MakeProject() {
    const fs::path project = dir_.File("zelk project");
    fs::create_directories(project / "deploy/slurm");
    fs::create_directories(project / "build/bin");
    fs::copy_file(ZELK_ARRAY_SCRIPT, project / "deploy/slurm/zelk-array.sbatch");
    fs::create_symlink(ZELK_BATCH_EXECUTABLE, project / "build/bin/zelk-batch");
    return (project / "deploy/slurm/zelk-array.sbatch").string();
  }

  // Waits for the summary job of array job `arrayId` to be submitted and
  // to end; its id, or empty when time ran out first.
  std::string WaitForSummary(const std::string &arrayId) {
    const auto deadline = std::chrono::steady_clock::now() + kJobsTimeLimit;
    std::string summaryId;
    while (std::chrono::steady_clock::now() < deadline) {
      if (summaryId.empty()) {
        // Every state: the summary may have come and gone between two looks.
        summaryId = Trimmed(RunCommand("squeue --noheader --states=all --format=%i --name=" +
                                       Quote("zelk-summary-" + arrayId))
                                .out);
      }
      if (!summaryId.empty()) {
        const std::vector<JobRecord> records = JobRecords(summaryId);
        if (records.size() == 1 && !StillToRun(records[0].State)) return summaryId;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    return {};
  }

  test::TempDir dir_;
  std::string in_ = dir_.File("in");
  std::string out_ = dir_.File("out");
  bool started_ = false;
};

TEST_F(SlurmArrayTest, FourTasksConvertEveryDirectoryOnceThenTheSummaryRuns) {
  std::vector<std::string> items;
  std::map<std::string, int> expectedOutputs;
  for (int item = 0; item < kDirectories; ++item) {
    const std::string name = "box" + std::to_string(100 + item);
    WritePageDirectory(in_ + "/" + name, kPagesPerDirectory, static_cast<unsigned>(item));
    items.push_back(in_ + "/" + name);
    expectedOutputs[name + ".tif"] = kPagesPerDirectory;
  }
  const ProgramDirectory program(dir_.File("program"), {{"Common", "ConvertAction", "1"},
                                                        {"Common", "ImageSrcDir", in_},
                                                        {"Common", "ConvertDstDir", out_},
                                                        {"Merge", "KeepDir", "0"}});
  const std::string script = MakeProject();
  const std::string submitDir = dir_.File("submit");
  fs::create_directories(submitDir);

  // From a directory of its own, with the settings file given relative to
  // it and zelk-batch on no search path.
  const auto began = std::chrono::steady_clock::now();
  const pdftest::CommandResult submitted =
      RunCommand("cd " + Quote(submitDir) +
                 " && env PATH=/usr/sbin:/usr/bin:/sbin:/bin sbatch --parsable "
                 "--array=0-" +
                 std::to_string(kTasks - 1) + " " + Quote(script) + " ../program/ZELK.conf");
  ASSERT_EQ(submitted.exitCode, 0) << submitted.out << submitted.err;
  const std::string arrayId = Trimmed(submitted.out.substr(0, submitted.out.find(';')));

  const std::string summaryId = WaitForSummary(arrayId);
  const auto taken = std::chrono::duration<double>(std::chrono::steady_clock::now() - began);
  const auto printed = [&](const std::string &file) {
    return "\n--- " + file + ":\n" + test::ReadBytes(fs::path(submitDir) / file);
  };
  std::string everyOutput;
  for (int task = 0; task < kTasks; ++task) {
    everyOutput += printed("slurm-" + arrayId + "_" + std::to_string(task) + ".out");
  }
  ASSERT_FALSE(summaryId.empty()) << "no summary job ended within the time limit" << everyOutput;
  std::cout << "array and summary took " << taken.count() << " s\n";

  const std::vector<JobRecord> tasks = JobRecords(arrayId);
  ASSERT_EQ(tasks.size(), static_cast<std::size_t>(kTasks)) << everyOutput;
  for (const JobRecord &task : tasks) {
    EXPECT_EQ(task.State, "COMPLETED") << "task " << task.TaskId << everyOutput;
    EXPECT_EQ(task.ExitCode, "0:0") << "task " << task.TaskId << everyOutput;
  }
  EXPECT_NE(test::ReadBytes(fs::path(submitDir) / ("slurm-" + arrayId + "_0.out"))
                .find("summary job " + summaryId + " runs after array job " + arrayId),
            std::string::npos)
      << everyOutput;

  // The summary job ran zelk-batch --summary, where Slurm writes beside the
  // tasks' output; it can only succeed with a zelk-batch that has it.
  const std::string summaryOutput = "slurm-" + arrayId + "_summary.out";
  ASSERT_TRUE(fs::exists(fs::path(submitDir) / summaryOutput));
  const std::vector<JobRecord> summary = JobRecords(summaryId);
  ASSERT_EQ(summary.size(), 1u);
  EXPECT_EQ(summary[0].State, "COMPLETED") << printed(summaryOutput);
  EXPECT_EQ(summary[0].ExitCode, "0:0") << printed(summaryOutput);
  const std::string totals =
      "4个分片中4个完成  成功" + std::to_string(items.size()) + "项  失败0项";
  EXPECT_NE(printed(summaryOutput).find(totals), std::string::npos) << printed(summaryOutput);

  std::map<std::string, int> once;
  for (const std::string &item : items) once[item] = 1;
  EXPECT_EQ(DocumentPages(out_), expectedOutputs) << "outputs and their pages (-1: damaged)";
  // Each task lists what it converted in its shard's own success list.
  std::vector<std::string> listed;
  for (int task = 0; task < kTasks; ++task) {
    const std::vector<std::string> lines = program.SuccessListLines(Shard{task, kTasks});
    listed.insert(listed.end(), lines.begin(), lines.end());
  }
  EXPECT_EQ(ItemLineCounts(listed, items), once)
      << "times each directory is listed as converted, over all tasks";
  EXPECT_EQ(LeftoverWorkingFiles(in_), std::vector<std::string>{}) << "in the sources";
  EXPECT_EQ(LeftoverWorkingFiles(out_), std::vector<std::string>{}) << "in the destination";
}

}  // namespace
}  // namespace zelk
