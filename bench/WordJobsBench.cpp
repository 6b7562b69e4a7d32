// The per-file Word job on 10 A4 pages at 300 dpi (bitonal G4 scans of
// known Chinese and English text), once writing .docx and once .rtf: pages
// per minute of wall time (engine start included and without it) and of
// CPU time (every thread of the process), the size of the documents, and
// the character error rate of the text LibreOffice reads from them against
// the known text.
//
//   word_jobs_bench [pages] [workers]
//
// Runs with OMP_THREAD_LIMIT=1, as the program does (it restarts itself
// with the variable set when it is missing).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchRun.h"
#include "EngineStartWatch.h"
#include "jobs/ConvertFiles2WordJob.h"
#include "platform/ProgramPlaces.h"
#include "platform/ThreadLimit.h"
#include "RecognitionCorpus.h"
#include "run/RunFrame.h"
#include "support/OfficeText.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// One run of the job over `in` into a fresh `out`; false when a page failed.
bool BenchOutputType(int outputType, const std::string& extension, int pageCount, int workers,
                     const fs::path& root, const std::vector<std::vector<std::string>>& known) {
  const fs::path in = root / "in", out = root / ("out-" + extension);
  zelk::RunRequest request;
  request.SourceDir = in.string();
  request.TargetDir = out.string();
  request.LogsDir = (root / zelk::kLogsDirName).string();
  request.RunSettings.OCR.OutputType = static_cast<int16_t>(outputType);
  request.RunSettings.OCR.RecognizeMode = 1;
  request.RunSettings.OCR.KeepTextAndBackgroundColor = 0;
  zelk::OcrEngineOptions engine;
  engine.workers = workers;
  zelk::ConvertFiles2WordJob job(engine);
  zelk::bench::EngineStartWatch watch(zelk::kOcrEngineStarting);
  zelk::RunControl control;
  control.BeginRun();
  const double cpuStart = zelk::bench::CpuSecondsSoFar();
  const auto start = Clock::now();
  const zelk::RunResult result = zelk::RunJob(job, request, watch, control);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = zelk::bench::CpuSecondsSoFar() - cpuStart;
  const double engineSeconds = watch.EngineSeconds();

  zelk::bench::ErrorCount errors;
  unsigned long long bytes = 0;
  int unreadable = 0;
  for (int i = 0; i < pageCount; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "page%02d.%s", i + 1, extension.c_str());
    const fs::path document = out / name;
    if (!fs::exists(document)) continue;
    bytes += fs::file_size(document);
    std::string knownText;
    for (const std::string& line : known[static_cast<std::size_t>(i)]) knownText += line + "\n";
    try {
      const auto page =
          zelk::bench::CharacterErrors(zelk::test::OfficeDocumentText(document.string()), knownText);
      errors.errors += page.errors;
      errors.characters += page.characters;
    } catch (const std::exception&) {
      ++unreadable;
    }
  }
  std::printf("Word per file (.%s), %d A4 pages at 300 dpi (G4), %s workers\n", extension.c_str(),
              pageCount, workers > 0 ? std::to_string(workers).c_str() : "default");
  std::printf("  recognised %zu, failed %zu\n", result.Successes, result.Failures);
  std::printf("  wall %.1f s (engine start %.1f s): %.1f pages/min, %.1f pages/min without the start\n",
              seconds, engineSeconds, pageCount * 60.0 / seconds,
              pageCount * 60.0 / (seconds - engineSeconds));
  std::printf("  CPU %.1f s: %.1f pages per CPU minute\n", cpu, pageCount * 60.0 / cpu);
  std::printf("  output %.1f KiB (%.1f KiB a page)\n", bytes / 1024.0, bytes / 1024.0 / pageCount);
  std::printf("  LibreOffice text character error rate %.2f %% (%ld of %ld), %d unreadable\n",
              100 * errors.Rate(), errors.errors, errors.characters, unreadable);
  return result.Failures == 0 && unreadable == 0;
}

}  // namespace

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  const int pageCount = argc > 1 ? std::atoi(argv[1]) : 10;
  const int workers = argc > 2 ? std::atoi(argv[2]) : 0;
  const fs::path root = fs::temp_directory_path() / ("zelk-word-bench-" + std::to_string(getpid()));
  fs::create_directories(root / "in");
  const auto known = zelk::bench::CorpusText(pageCount);
  zelk::bench::WriteCorpus(known, (root / "in").string());

  bool ok = BenchOutputType(1, "docx", pageCount, workers, root, known);
  ok = BenchOutputType(2, "rtf", pageCount, workers, root, known) && ok;
  fs::remove_all(root);
  return ok ? 0 : 1;
}
