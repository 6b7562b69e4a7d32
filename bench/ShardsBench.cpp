// Sharded runs, in two parts.
//
// What every shard pays before it converts anything: each shard scans the
// whole source tree (only the items of its shard are kept) and sweeps the
// destination for what killed runs left.  Measured on a generated tree of
// leaf directories, each with one empty page file and its output already
// there, so the run finds nothing to do; beside `find` walking the same two
// trees.  From the figures, the scan of a million directories is set
// against the conversion of one shard's share of them.
//
// Then what shards gain on one machine: pages per minute of the
// dual-layer PDF job with 1, 2 and 4 zelk-batch processes (--shard i/N)
// started together on one tree of recognised pages.
//
//   shards_bench [leaf directories (100000)] [recognition directories (12)] [zelk-batch]

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BatchProgram.h"
#include "BenchRun.h"
#include "RecognitionCorpus.h"

namespace zelk::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kDirectoriesPerGroup = 1000;
constexpr int kPagesPerRecognitionDirectory = 2;


// The figures behind the comparison of a scan with a shard's conversion.
constexpr double kMillion = 1e6;
constexpr double kPagesPerDirectory = 10;
constexpr double kShards = 16;
constexpr double kCoresPerShard = 16;
constexpr double kPagesPerMinutePerCore = 16;

void Touch(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd >= 0) ::close(fd);
}

std::string Numbered(char letter, int number, int width) {
  char name[32];
  std::snprintf(name, sizeof name, "%c%0*d", letter, width, number);
  return name;
}

// `leaves` leaf directories source/gNNN/dNNNN holding an empty 0001.tif,
// and the merge job's output of each, target/gNNN/dNNNN/dNNNN.tif.
void WriteScanTree(const fs::path& source, const fs::path& target, int leaves) {
  for (int leaf = 0; leaf < leaves; ++leaf) {
    const std::string group = Numbered('g', leaf / kDirectoriesPerGroup, 3);
    const std::string name = Numbered('d', leaf % kDirectoriesPerGroup, 4);
    fs::create_directories(source / group / name);
    fs::create_directories(target / group / name);
    Touch(source / group / name / "0001.tif");
    Touch(target / group / name / (name + ".tif"));
  }
}

std::vector<SettingValue> RunSettings(int action, const fs::path& source, const fs::path& target) {
  return {{"Common", "ImageSrcDir", source.string()},
          {"Common", "ConvertDstDir", target.string()},
          {"Common", "ConvertAction", std::to_string(action)}};
}

void PrintRow(const std::string& name, const RunFigures& figures) {
  std::printf("  %-34s %8.2f s wall %8.2f s CPU %8.1f MiB peak%s\n", name.c_str(), figures.seconds,
              figures.cpuSeconds, figures.peakMegabytes, figures.ok ? "" : "  (FAILED)");
}

void ScanAtScale(const BatchProgram& batch, const fs::path& work, int leaves) {
  const fs::path source = work / "scan-source";
  const fs::path target = work / "scan-target";
  std::printf("Scan of %d leaf directories, every output there (nothing to convert):\n", leaves);
  WriteScanTree(source, target, leaves);
  const std::string conf = batch.Prepare((work / "scan-program").string(),
                                         RunSettings(kMergeAction, source, target));
  if (conf.empty()) return;
  const std::string console = (work / "scan-program" / "console.txt").string();

  const RunFigures find = RunProgram({"find", source.string(), target.string(), "-name", "*.tif"},
                                     ProgramSetup{{}, "/dev/null"});
  PrintRow("find over source and target", find);
  const RunFigures whole = batch.RunOn(conf, {"--no-shard"}, console);
  PrintRow("zelk-batch --no-shard", whole);
  const RunFigures shard = batch.RunOn(conf, {"--shard", "0/16"}, console);
  PrintRow("zelk-batch --shard 0/16", shard);
  if (find.seconds > 0) {
    std::printf("  -> ours ÷ find, wall: %.2f, CPU: %.2f\n", shard.seconds / find.seconds,
                find.cpuSeconds > 0 ? shard.cpuSeconds / find.cpuSeconds : 0.0);
  }

  const double scanOfAMillion = shard.seconds * kMillion / leaves;
  const double shareMinutes = kMillion * kPagesPerDirectory / kShards /
                              (kCoresPerShard * kPagesPerMinutePerCore);
  std::printf(
      "  -> a million directories, scaled linearly: %.0f s of scan per shard\n"
      "  -> one shard's conversion of a million directories of %.0f pages, %.0f shards of %.0f "
      "cores at %.0f pages a minute a core: %.0f min, %.0f times the scan\n",
      scanOfAMillion, kPagesPerDirectory, kShards, kCoresPerShard, kPagesPerMinutePerCore,
      shareMinutes, shareMinutes * 60 / scanOfAMillion);
  fs::remove_all(source);
  fs::remove_all(target);
}

// Starts `shards` zelk-batch processes on one settings file and waits for
// them all; the figures are those of the whole group.
RunFigures RunShards(const BatchProgram& batch, const std::string& conf, int shards,
                     const fs::path& consoles) {
  return RunInChild([&] {
    std::vector<pid_t> children;
    for (int i = 0; i < shards; ++i) {
      const pid_t child = ::fork();
      if (child == 0) {
        const std::string shard = std::to_string(i) + "/" + std::to_string(shards);
        const std::string console = (consoles / ("console-" + std::to_string(i) + ".txt")).string();
        ::_exit(batch.RunOn(conf, {"--shard", shard}, console).ok ? 0 : 1);
      }
      children.push_back(child);
    }
    int failed = 0;
    for (const pid_t child : children) {
      int status = 0;
      if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
          WEXITSTATUS(status) != 0) {
        ++failed;
      }
    }
    return failed == 0 ? 0 : 1;
  });
}

int PdfsBelow(const fs::path& root) {
  int count = 0;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == ".pdf") ++count;
  }
  return count;
}

void PagesPerMinute(const BatchProgram& batch, const fs::path& work, int directories) {
  const fs::path source = work / "ocr-source";
  const int pages = directories * kPagesPerRecognitionDirectory;
  const std::vector<std::vector<std::string>> text = CorpusText(pages);
  for (int d = 0; d < directories; ++d) {
    const auto first = text.begin() + d * kPagesPerRecognitionDirectory;
    const fs::path directory = source / Numbered('d', d, 3);
    fs::create_directories(directory);
    WriteCorpus({first, first + kPagesPerRecognitionDirectory}, directory.string());
  }
  std::printf("\nDual-layer PDF of %d directories of %d A4 pages, shards started together:\n",
              directories, kPagesPerRecognitionDirectory);
  double single = 0;
  for (const int shards : {1, 2, 4}) {
    const fs::path target = work / "ocr-target";
    fs::remove_all(target);
    const fs::path program = work / ("ocr-program-" + std::to_string(shards));
    const std::string conf =
        batch.Prepare(program.string(), RunSettings(kDualLayerPdfAction, source, target));
    if (conf.empty()) return;
    RunFigures figures = RunShards(batch, conf, shards, program);
    const int made = PdfsBelow(target);
    figures.ok = figures.ok && made == directories;
    const double perMinute = figures.seconds > 0 ? pages * 60 / figures.seconds : 0;
    if (shards == 1) single = perMinute;
    std::printf("  %d shard%s %8.1f pages/min %8.2f s wall %8.2f s CPU %7.1f MiB peak (one "
                "process) %d/%d PDFs%s  x%.2f\n",
                shards, shards == 1 ? " " : "s", perMinute, figures.seconds, figures.cpuSeconds,
                figures.peakMegabytes, made, directories, figures.ok ? "" : " (FAILED)",
                single > 0 ? perMinute / single : 0.0);
  }
  fs::remove_all(source);
}

}  // namespace
}  // namespace zelk::bench

int main(int argc, char** argv) {
  using namespace zelk::bench;
  const int leaves = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int directories = argc > 2 ? std::atoi(argv[2]) : 12;
  const BatchProgram batch(FindBatchExecutable(argc > 3 ? argv[3] : ""));
  if (!batch.Ready()) return 1;
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "zelk-shards-bench";
  std::filesystem::remove_all(work);
  if (leaves > 0) ScanAtScale(batch, work, leaves);
  if (directories > 0) PagesPerMinute(batch, work, directories);
  std::filesystem::remove_all(work);
  return 0;
}
