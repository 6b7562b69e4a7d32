// The merge and split jobs end to end, through the run frame as a run of
// the program makes them, side by side with libtiff's tools on the same
// pages, in one run:
//   - 1,000 single-page G4 TIFFs merged into one TIFF (MergeFiles, whose
//     G4 pages keep their compressed data) against tiffcp;
//   - 200 colour JPEG pages merged into one TIFF with the default
//     compression (JPEG 4:4:4, best quality) against tiffcp -c jpeg:95
//     (16 rows a strip, as its JPEG encoder needs),
//     which reads TIFF only and so gets the same pages as uncompressed
//     single-page TIFFs;
//   - each merged file split into one file a page (SplitFiles) against
//     tiffsplit, which copies the stored data of every page.
// Prints pages per second (wall and CPU) and the ratio to the tool.
// Usage: image_jobs_bench [G4 pages=1000] [JPEG pages=200] [work directory]
// (0 pages leaves a scenario out)

#include "BenchCorpus.h"
#include "BenchRun.h"

#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "imaging/SavePage.h"
#include "jobs/JobCatalog.h"
#include "run/JobRegistry.h"
#include "run/RunFrame.h"
#include "settings/SettingsFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace zelk;
using namespace zelk::bench;
namespace fs = std::filesystem;

namespace {

constexpr int kDistinctPages = 20;

// One run of a job over `source` into `target`, as zelk-batch makes it.
int RunJobOnce(JobId id, const std::string& programDir, const std::string& source,
               const std::string& target) {
  Settings settings;
  if (!LoadSettings(programDir, settings)) return 1;
  settings.Merge.KeepDir = 0;
  JobRegistry registry;
  RegisterBuiltInJobs(registry);
  const std::unique_ptr<Job> job = registry.Create(id);
  RunRequest request;
  request.RunSettings = settings;
  request.SourceDir = source;
  request.TargetDir = target;
  request.LogsDir = programDir + "/" + kLogsDirName;
  RunObserver observer;
  RunControl control;
  control.BeginRun();
  const RunResult result = RunJob(*job, request, observer, control);
  if (result.End != RunEnd::Finished || result.Failures != 0) {
    std::printf("  the run did not finish cleanly (%zu failed)\n", result.Failures);
    return 1;
  }
  return 0;
}

double Rate(int pages, double seconds) { return seconds > 0 ? pages / seconds : 0; }

void Compare(const char* what, int pages, const RunFigures& ours, const RunFigures& tool) {
  std::printf("  -> %s: %.2fx the tool's pages per second (wall), %.2fx (CPU)\n\n", what,
              Rate(pages, ours.seconds) / Rate(pages, tool.seconds),
              Rate(pages, ours.cpuSeconds) / Rate(pages, tool.cpuSeconds));
}

struct Scenario {
  std::string name;
  std::vector<std::string> corpus;
  std::string extension;
  int pages;
  std::vector<std::string> tiffcpOptions;
  bool toolNeedsTiff;  // tiffcp gets uncompressed TIFF copies of the pages
};

void Measure(const Scenario& s, const std::string& work, const std::string& programDir) {
  if (s.pages <= 0) return;
  const std::string base = work + "/" + s.name;
  const std::vector<std::string> files =
      LinkPages(s.corpus, base + "/in/doc", s.pages, s.extension);
  std::vector<std::string> toolInputs = files;
  if (s.toolNeedsTiff) {
    std::vector<std::string> tiffCorpus;
    for (std::size_t i = 0; i < s.corpus.size(); ++i) {
      tiffCorpus.push_back(base + "/plain" + std::to_string(i) + ".tif");
      SavePage(LoadPage(s.corpus[i], 1), tiffCorpus.back(), {kTiffUncompressed, 24, 0}, false);
    }
    toolInputs = LinkPages(tiffCorpus, base + "/tool-in", s.pages, ".tif");
  }
  std::printf("%s: %d pages\n", s.name.c_str(), s.pages);

  fs::remove_all(base + "/out");
  const RunFigures merge = RunInChild(
      [&] { return RunJobOnce(JobId::MergeFiles, programDir, base + "/in", base + "/out"); });
  PrintFigures("  MergeFiles", s.pages, merge, base + "/out/doc.tif");
  const std::string tiffcpOut = base + "/tiffcp.tif";
  fs::remove(tiffcpOut);
  std::vector<std::string> tiffcp = {"tiffcp"};
  tiffcp.insert(tiffcp.end(), s.tiffcpOptions.begin(), s.tiffcpOptions.end());
  tiffcp.insert(tiffcp.end(), toolInputs.begin(), toolInputs.end());
  tiffcp.push_back(tiffcpOut);
  const RunFigures tool = RunProgram(tiffcp);
  PrintFigures("  tiffcp", s.pages, tool, tiffcpOut);
  Compare("merge", s.pages, merge, tool);

  // The merged file is the source of the split.
  fs::remove_all(base + "/split-in");
  fs::create_directories(base + "/split-in");
  fs::copy_file(base + "/out/doc.tif", base + "/split-in/doc.tif");
  fs::remove_all(base + "/split-out");
  const RunFigures split = RunInChild([&] {
    return RunJobOnce(JobId::SplitFiles, programDir, base + "/split-in", base + "/split-out");
  });
  PrintFigures("  SplitFiles", s.pages, split, "");
  fs::remove_all(base + "/tiffsplit");
  fs::create_directories(base + "/tiffsplit");
  const RunFigures splitTool =
      RunProgram({"tiffsplit", base + "/out/doc.tif", base + "/tiffsplit/page"});
  PrintFigures("  tiffsplit", s.pages, splitTool, "");
  Compare("split", s.pages, split, splitTool);
}

}  // namespace

int main(int argc, char** argv) {
  const int g4Pages = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int jpegPages = argc > 2 ? std::atoi(argv[2]) : 200;
  const std::string work =
      argc > 3 ? argv[3] : (fs::temp_directory_path() / "zelk-bench-image-jobs").string();
  const std::string programDir = work + "/program";
  fs::create_directories(programDir);
  {
    FILE* conf = std::fopen((programDir + "/" + kSettingsFileName).c_str(), "wb");
    const std::string text = DefaultSettingsFileText();
    std::fwrite(text.data(), 1, text.size(), conf);
    std::fclose(conf);
  }
  std::printf("Building the corpus (%d distinct A4 pages of each kind) in %s\n\n",
              kDistinctPages, work.c_str());
  const std::vector<std::string> g4 =
      WriteCorpus(work + "/corpus-g4", kDistinctPages, false, kTiffCcittG4, 1, 128);
  const std::vector<std::string> jpeg =
      WriteCorpus(work + "/corpus-jpeg", kDistinctPages, true, kJpeg422, 24, 70);

  Measure({"g4", g4, ".tif", g4Pages, {}, false}, work, programDir);
  Measure({"jpeg", jpeg, ".jpg", jpegPages, {"-c", "jpeg:95", "-r", "16"}, true}, work, programDir);
  return 0;
}
