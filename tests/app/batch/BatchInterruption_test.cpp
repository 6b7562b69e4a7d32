// zelk-batch killed at random moments: for each job, runs are started as
// child processes and killed with SIGKILL after a delay drawn from a seeded
// generator over the length of an uninterrupted run; then one run goes to
// the end.  After every kill the outputs that exist must be whole, and after
// the last run the outputs must be exactly the expected ones, every source
// file must be where it belongs, and no working file of a run may remain.
//
// Environment (for longer soaks, see bench/interrupt_soak.sh):
//   ZELK_INTERRUPT_SEED    seed of the kill delays (default 1)
//   ZELK_INTERRUPT_KILLS   kills before the last run (default 4 or 6 by job)
//   ZELK_INTERRUPT_ROUNDS  fresh trees, each killed that often (default 1 or 3)

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "OutputChecks.h"
#include "SourceTrees.h"
#include "ocr/TessdataLocation.h"
#include "settings/SettingsFile.h"
#include "support/ChildProcess.h"
#include "support/FileTree.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using namespace batchtest;

unsigned long EnvironmentNumber(const char* name, unsigned long fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  return std::stoul(text);
}

using Seconds = std::chrono::duration<double>;

// When an uninterrupted run printed its first line and when it ended, in
// seconds from its start.
struct RunTimes {
  double FirstLine = 0;
  double Total = 0;
};

bool RecognitionDataInstalled() {
  return std::holds_alternative<TessdataDirectory>(
      FindTessdata(DefaultTessdataCandidates(), {"chi_sim", "eng"}));
}

// A leaf directory of single pages (merge and PDF jobs) or a multi-page
// file (split), relative to the source root.
struct SourceItem {
  std::string Path;
  int Pages;
};

// One job as the test runs it: the action and its options, the sources,
// and the outputs a complete run makes (relative path in the destination
// and page count).  A job that renames in place has no destination; its
// outputs are the source files under their new names.
struct JobCase {
  const char* Name;
  std::vector<SettingLine> Settings;
  std::vector<SourceItem> Items;
  bool FilesAreItems = false;  // each item a multi-page file, not a directory
  bool RenamesInPlace = false;
  bool NeedsRecognition = false;
  std::function<std::map<std::string, int>(const SourceItem&)> OutputsOf;
  // Unless the environment says otherwise: fresh trees, and kills on each
  // before the last run.  Renaming in place is done after one pass, so it
  // gets more trees, each with fewer kills.
  unsigned long Kills = 6;
  unsigned long Rounds = 1;
};

// The program's numbered file names: "box-0001" for `base` "box" and 1.
std::string NumberedName(const std::string& base, std::size_t number) {
  const std::string digits = std::to_string(number);
  return base + "-" + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

// Test names and failure messages show a case by its name.
void PrintTo(const JobCase& job, std::ostream* out) { *out << job.Name; }

std::map<std::string, int> MergedTiff(const SourceItem& item) {
  return {{item.Path + ".tif", item.Pages}};
}

std::map<std::string, int> PdfWithTiff(const SourceItem& item) {
  return {{item.Path + ".pdf", item.Pages}, {item.Path + ".tif", item.Pages}};
}

std::map<std::string, int> PdfOnly(const SourceItem& item) {
  return {{item.Path + ".pdf", item.Pages}};
}

// "d/s.tif" of 3 pages splits into d/s/s-0001.tif .. d/s/s-0003.tif.
std::map<std::string, int> SplitPages(const SourceItem& item) {
  const fs::path source(item.Path);
  const std::string stem = source.stem().string();
  const fs::path directory = source.parent_path() / stem;
  std::map<std::string, int> pages;
  for (int page = 1; page <= item.Pages; ++page) {
    pages[(directory / (NumberedName(stem, static_cast<std::size_t>(page)) + ".tif")).string()] = 1;
  }
  return pages;
}

std::vector<SourceItem> PageDirectories(int count, int pages) {
  std::vector<SourceItem> items;
  for (int k = 1; k <= count; ++k) {
    const std::string group = k % 3 == 0 ? "b/c" : (k % 2 == 0 ? "b" : "a");
    items.push_back({group + "/d" + std::to_string(10 + k), pages + k % 3});
  }
  return items;
}

std::vector<SourceItem> MultiPageFiles(int count, int pages) {
  std::vector<SourceItem> items;
  for (int k = 1; k <= count; ++k) {
    items.push_back({"d" + std::to_string(k % 3) + "/s" + std::to_string(10 + k) + ".tif",
                     pages + k % 2});
  }
  return items;
}

std::vector<JobCase> JobCases() {
  return {
      {"Merge",
       {{"Common", "ConvertAction", "1"}, {"Merge", "KeepDir", "0"}},
       PageDirectories(16, 10), false, false, false, MergedTiff},
      {"Split",
       {{"Common", "ConvertAction", "2"}, {"Split", "FileType", "1"}},
       MultiPageFiles(12, 8), true, false, false, SplitPages},
      {"PdfWithTiff",
       {{"Common", "ConvertAction", "3"},
        {"PDF", "ConvertType", "1"},
        {"PDF", "KeepDir", "0"},
        {"PDF", "OutputTif", "1"}},
       PageDirectories(12, 6), false, false, false, PdfWithTiff},
      {"DualLayerPdf",
       {{"Common", "ConvertAction", "4"}, {"2PDF", "ConvertType", "1"}, {"2PDF", "KeepDir", "0"}},
       PageDirectories(3, 1), false, false, true, PdfOnly, 4},
      {"RenameInPlace",
       {{"Common", "ConvertAction", "6"}, {"Rename", "RFileNameAutoAdd", "1"}},
       PageDirectories(8, 60), false, true, false, nullptr, 4, 3},
  };
}

// A file told apart from the others of its tree: its size and its last
// bytes (the sources that are renamed all end in a number of their own).
std::string Fingerprint(const fs::path& file) {
  constexpr std::streamoff kTail = 24;
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  in.seekg(std::max<std::streamoff>(0, size - kTail));
  std::string tail(static_cast<std::size_t>(std::min(size, kTail)), '\0');
  in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  return std::to_string(size) + " bytes ending in " + ::testing::PrintToString(tail);
}

// The files of one source directory as (extension, fingerprint), in any
// order.
using ContentSet = std::multiset<std::pair<std::string, std::string>>;

ContentSet ContentsOf(const fs::path& directory) {
  ContentSet contents;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.is_regular_file()) {
      contents.insert({entry.path().extension().string(), Fingerprint(entry.path())});
    }
  }
  return contents;
}

// The fingerprints of every file in and below `directory`, whatever its
// name: a run may hold files under working names while it renames them.
std::multiset<std::string> FingerprintsBelow(const fs::path& directory) {
  std::multiset<std::string> fingerprints;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    if (entry.is_regular_file()) fingerprints.insert(Fingerprint(entry.path()));
  }
  return fingerprints;
}

// The job's source items below `root`.
void WriteSources(const fs::path& root, const JobCase& job) {
  unsigned seed = 1;
  for (const SourceItem& item : job.Items) {
    const std::string path = (root / item.Path).string();
    if (job.FilesAreItems) {
      WriteBitonalTiff(path, item.Pages, seed);
    } else if (job.RenamesInPlace) {
      WriteDistinctPageCopies(path, item.Pages, seed);
    } else {
      WritePageDirectory(path, item.Pages, seed);
    }
    seed += 100;
  }
  // A directory where renaming must go through temporary names: the first
  // file's new name is the second file's old one.
  if (job.RenamesInPlace) {
    const fs::path crossed = root / "a" / "crossed";
    WriteBitonalTiff((crossed / "a.tif").string(), 1, 7001);
    WriteBitonalTiff((crossed / "crossed-0001.tif").string(), 1, 7002);
    WriteGreyJpeg((crossed / "crossed-0001x.jpg").string(), 7003);
  }
}

// A source tree, a destination and a program directory for one series of
// runs of a job.
class Place {
 public:
  // The sources are a copy of `sources`, written by WriteSources.
  Place(const fs::path& root, const JobCase& job, const fs::path& sources)
      : job_(job),
        in_((root / "in").string()),
        out_(job.RenamesInPlace ? std::string() : (root / "out").string()),
        program_((root / "program").string(), SettingsOf(job, in_, out_)) {
    fs::copy(sources, in_, fs::copy_options::recursive);
    sourcesBefore_ = test::TreeOf(in_);
    for (const std::string& directory : LeafDirectories()) {
      contentsBefore_[directory] = ContentsOf(fs::path(in_) / directory);
    }
  }

  const ProgramDirectory& Program() const { return program_; }

  // Starts zelk-batch on this place's settings.
  std::unique_ptr<test::ChildProcess> Start() const {
    std::error_code missing;
    const std::uintmax_t printed = fs::file_size(program_.OutputFile(), missing);
    printedBefore_ = missing ? 0 : printed;
    return std::make_unique<test::ChildProcess>(
        std::vector<std::string>{ZELK_BATCH_EXECUTABLE, program_.SettingsFile()},
        program_.OutputFile());
  }

  // Waits until the run last started has printed its first line (the scan
  // begins: the settings are stored and leftovers cleared by then), has
  // ended, or `limit` has passed since its start; the seconds since then.
  double WaitForFirstLine(test::ChildProcess& run, std::chrono::duration<double> limit) const {
    const auto deadline = run.Started() + std::chrono::duration_cast<std::chrono::nanoseconds>(limit);
    for (;;) {
      std::error_code missing;
      const std::uintmax_t printed = fs::file_size(program_.OutputFile(), missing);
      if ((!missing && printed > printedBefore_) || !run.Running() ||
          std::chrono::steady_clock::now() >= deadline) {
        break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return Seconds(std::chrono::steady_clock::now() - run.Started()).count();
  }

  // What the runs printed.
  std::string Printed() const { return test::ReadBytes(program_.OutputFile()); }

  // The share of the job a run still has to do: the outputs not made yet,
  // or the files that do not have a numbered name yet.
  double ShareLeft() const {
    std::size_t left = 0, all = 0;
    if (job_.RenamesInPlace) {
      for (const auto& entry : fs::recursive_directory_iterator(in_)) {
        if (!entry.is_regular_file()) continue;
        const fs::path& path = entry.path();
        ++all;
        left += path.stem().string().starts_with(path.parent_path().filename().string() + "-")
                    ? 0 : 1;
      }
    } else {
      for (const auto& [path, pages] : ExpectedOutputs()) {
        ++all;
        left += fs::exists(fs::path(out_) / path) ? 0 : 1;
      }
    }
    return static_cast<double>(left) / static_cast<double>(all);
  }

  std::map<std::string, int> ExpectedOutputs() const {
    std::map<std::string, int> expected;
    for (const SourceItem& item : job_.Items) expected.merge(job_.OutputsOf(item));
    return expected;
  }

  // After any run, finished or killed: every output there is whole with
  // its full page count and is one the job makes; nothing was lost from
  // the sources; the settings file (which every run rewrites) still reads.
  void ExpectOnlyWholeOutputs() const {
    Settings settings;
    EXPECT_TRUE(LoadSettings(program_.Path(), settings));
    EXPECT_EQ(settings.Common.ImageSrcDir, in_);
    if (job_.RenamesInPlace) {
      for (const auto& [directory, before] : contentsBefore_) {
        const std::multiset<std::string> now = FingerprintsBelow(fs::path(in_) / directory);
        const std::multiset<std::string> wanted = Fingerprints(before);
        EXPECT_TRUE(std::includes(now.begin(), now.end(), wanted.begin(), wanted.end()))
            << "files of " << directory << " lost or changed; it holds "
            << ::testing::PrintToString(test::TreeOf(fs::path(in_) / directory));
      }
      return;
    }
    const std::map<std::string, int> expected = ExpectedOutputs();
    for (const auto& [path, pages] : reader_.PagesBelow(out_)) {
      const auto wanted = expected.find(path);
      if (wanted == expected.end()) {
        ADD_FAILURE() << "unexpected output " << path;
      } else {
        EXPECT_EQ(pages, wanted->second) << "output " << path << " (-1: damaged)";
      }
    }
    EXPECT_EQ(TreeWithoutWorkingFiles(in_), sourcesBefore_) << "the sources changed";
  }

  // After the run that went to the end: exactly the expected outputs, and
  // no working file of any run left in either tree.
  void ExpectFinished() const {
    ExpectOnlyWholeOutputs();
    if (job_.RenamesInPlace) {
      for (const auto& [directory, before] : contentsBefore_) ExpectRenamed(directory, before);
    } else {
      EXPECT_EQ(reader_.PagesBelow(out_), ExpectedOutputs());
    }
    EXPECT_EQ(LeftoverWorkingFilesButDeadClaims(in_), std::vector<std::string>{}) << "in the sources";
    if (!out_.empty()) {
      EXPECT_EQ(LeftoverWorkingFilesButDeadClaims(out_), std::vector<std::string>{})
          << "in the destination";
    }
  }

 private:
  static std::vector<SettingLine> SettingsOf(const JobCase& job, const std::string& in,
                                             const std::string& out) {
    std::vector<SettingLine> settings = job.Settings;
    settings.push_back({"Common", "ImageSrcDir", in});
    settings.push_back({"Common", "ConvertDstDir", out});
    return settings;
  }

  static std::multiset<std::string> Fingerprints(const ContentSet& contents) {
    std::multiset<std::string> fingerprints;
    for (const auto& [extension, fingerprint] : contents) fingerprints.insert(fingerprint);
    return fingerprints;
  }

  std::set<std::string> LeafDirectories() const {
    std::set<std::string> leaves;
    for (const auto& entry : fs::recursive_directory_iterator(in_)) {
      if (entry.is_regular_file()) {
        leaves.insert(fs::relative(entry.path().parent_path(), in_).string());
      }
    }
    return leaves;
  }

  // Every file of the directory kept its extension and its bytes, and the
  // names are the directory's numbered names, 0001 up.
  void ExpectRenamed(const std::string& directory, const ContentSet& before) const {
    const fs::path path = fs::path(in_) / directory;
    EXPECT_EQ(ContentsOf(path), before)
        << "files of " << directory << " lost or changed their extension; it holds "
        << ::testing::PrintToString(test::TreeOf(path));
    std::vector<std::string> stems;
    for (const auto& entry : fs::directory_iterator(path)) stems.push_back(entry.path().stem().string());
    std::sort(stems.begin(), stems.end());
    std::vector<std::string> numbered;
    const std::string base = path.filename().string();
    for (std::size_t k = 1; k <= before.size(); ++k) numbered.push_back(NumberedName(base, k));
    EXPECT_EQ(stems, numbered) << "names in " << directory;
  }

  JobCase job_;
  std::string in_;
  std::string out_;
  ProgramDirectory program_;
  std::vector<std::string> sourcesBefore_;
  std::map<std::string, ContentSet> contentsBefore_;
  mutable DocumentReader reader_;
  mutable std::uintmax_t printedBefore_ = 0;
};

class BatchInterruptionTest : public ::testing::TestWithParam<JobCase> {
 protected:
  void SetUp() override {
    if (GetParam().NeedsRecognition && !RecognitionDataInstalled()) {
      GTEST_SKIP() << "Tesseract language data chi_sim and eng are not installed";
    }
    WriteSources(sources_, GetParam());
  }

  // An uninterrupted run on a fresh tree, which must make exactly the
  // expected outputs.
  RunTimes UninterruptedRun() {
    const Place place(dir_.Path() / "measured", GetParam(), sources_);
    RunTimes times;
    const std::unique_ptr<test::ChildProcess> run = place.Start();
    times.FirstLine = place.WaitForFirstLine(*run, std::chrono::seconds(30));
    const test::ChildEnd end = run->Wait();
    times.Total = end.Elapsed.count();
    EXPECT_TRUE(end.ExitedWith(0)) << end.Describe() << "\n" << place.Printed();
    place.ExpectFinished();
    return times;
  }

  test::TempDir dir_;
  fs::path sources_ = dir_.Path() / "sources";
};

TEST_P(BatchInterruptionTest, KilledRunsLeaveWholeOutputsAndTheNextRunFinishes) {
  const unsigned long seed = EnvironmentNumber("ZELK_INTERRUPT_SEED", 1);
  const unsigned long kills = EnvironmentNumber("ZELK_INTERRUPT_KILLS", GetParam().Kills);
  const unsigned long rounds = EnvironmentNumber("ZELK_INTERRUPT_ROUNDS", GetParam().Rounds);
  const RunTimes uninterrupted = UninterruptedRun();
  if (HasFailure()) return;

  std::mt19937_64 random(seed * 1000003u + std::hash<std::string>()(GetParam().Name));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  // Starts a run in `place`, kills it `at` seconds in and checks that what
  // it left is whole; true when the kill came while the run was going.
  // Moments after the start-up count from the run's first line, so that a
  // start-up slowed by a busy machine does not shift every kill towards
  // the start.
  const auto killAt = [&](const Place& place, double at) {
    const std::unique_ptr<test::ChildProcess> run = place.Start();
    if (at < uninterrupted.FirstLine) {
      std::this_thread::sleep_until(run->Started() + Seconds(at));
    } else {
      place.WaitForFirstLine(*run, Seconds(uninterrupted.Total * 10));
      std::this_thread::sleep_for(Seconds(at - uninterrupted.FirstLine));
    }
    run->Kill();
    const test::ChildEnd end = run->Wait();
    EXPECT_TRUE(end.Signalled || end.ExitedWith(0)) << end.Describe() << "\n" << place.Printed();
    place.ExpectOnlyWholeOutputs();
    return end.Signalled;
  };
  const auto runToTheEnd = [&](const Place& place) {
    const test::ChildEnd end = place.Start()->Wait();
    EXPECT_TRUE(end.ExitedWith(0)) << end.Describe() << "\n" << place.Printed();
    place.ExpectFinished();
  };

  int killedWhileRunning = 0;
  for (unsigned long round = 0; round < rounds; ++round) {
    const Place place(dir_.Path() / ("round" + std::to_string(round)), GetParam(), sources_);
    for (unsigned long kill = 0; kill < kills; ++kill) {
      // A moment over the length of an uninterrupted run, shortened to the
      // share of the job still left so that later kills too come while
      // there is work.
      const double at =
          uniform(random) * uninterrupted.Total * std::max(place.ShareLeft(), 0.25);
      SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) +
                   ", kill " + std::to_string(kill) + " at " + std::to_string(at) + " s");
      if (killAt(place, at)) ++killedWhileRunning;
    }
    SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) +
                 ", the run to the end");
    runToTheEnd(place);
    if (HasFailure()) return;
  }
  // Kills that all came after the runs had ended would have tested nothing;
  // a run measured on a busy machine can make them come too late.  Then
  // kill ever sooner until one lands while a run is going.
  if (kills > 0 && killedWhileRunning == 0) {
    int attempt = 0;
    for (double at = uninterrupted.Total / 2; killedWhileRunning == 0 && at > 1e-4; at /= 2) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", a sooner kill at " + std::to_string(at) +
                   " s");
      const Place place(dir_.Path() / ("sooner" + std::to_string(++attempt)), GetParam(),
                        sources_);
      if (killAt(place, at)) ++killedWhileRunning;
      runToTheEnd(place);
    }
    EXPECT_GT(killedWhileRunning, 0);
  }
  std::cout << GetParam().Name << ": an uninterrupted run took " << uninterrupted.Total
            << " s, its first line after " << uninterrupted.FirstLine << " s; "
            << killedWhileRunning << " of " << kills * rounds << " kills came while running\n";
}

INSTANTIATE_TEST_SUITE_P(Jobs, BatchInterruptionTest, ::testing::ValuesIn(JobCases()),
                         [](const ::testing::TestParamInfo<JobCase>& job) {
                           return std::string(job.param.Name);
                         });

}  // namespace
}  // namespace zelk
