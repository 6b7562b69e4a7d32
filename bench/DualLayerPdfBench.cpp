// The per-file dual-layer PDF job on 10 A4 pages at 300 dpi (bitonal G4
// scans of known Chinese and English text): pages per minute of the whole
// run (engine start included and, separately, without it), the size of the
// PDFs, and the character error rate of pdftotext's output against the
// known text.  For scale, the same pages are then recognised by the engine
// alone (no PDF written) on the same workers: the difference is what the
// job adds.  Last, ocrmypdf recognises the same pages as one PDF made by
// img2pdf, and both runs are printed side by side: pages per minute by the
// clock and by CPU time (all threads and child processes), output size
// and character error rate.  Without ocrmypdf (scripts/install-bench-deps.sh)
// that row says so.
//
//   dual_layer_pdf_bench [pages] [workers]
//
// Runs with OMP_THREAD_LIMIT=1, as the program does (it restarts itself
// with the variable set when it is missing).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "DualLayerPdfRun.h"
#include "EngineStartWatch.h"
#include "jobs/RecognitionRun.h"
#include "ocr/OcrEngine.h"
#include "OcrmypdfComparison.h"
#include "platform/ThreadLimit.h"
#include "RecognitionCorpus.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  const int pageCount = argc > 1 ? std::atoi(argv[1]) : 10;
  const int workers = argc > 2 ? std::atoi(argv[2]) : 0;
  const fs::path root = fs::temp_directory_path() / ("zelk-dual-layer-bench-" + std::to_string(getpid()));
  const fs::path in = root / "in", out = root / "out";
  fs::create_directories(in);
  const auto known = zelk::bench::CorpusText(pageCount);
  const std::vector<std::string> pageFiles = zelk::bench::WriteCorpus(known, in.string());

  zelk::bench::EngineStartWatch watch(zelk::kPdfEngineStarting);
  const double cpuStart = zelk::bench::CpuSecondsSoFar();
  const auto start = Clock::now();
  const zelk::RunResult result =
      zelk::bench::RunDualLayerPdfJob(in.string(), out.string(), root.string(), workers, watch);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpuSeconds = zelk::bench::CpuSecondsSoFar() - cpuStart;
  const double engineSeconds = watch.EngineSeconds();

  zelk::bench::ErrorCount errors;
  unsigned long long bytes = 0;
  for (int i = 0; i < pageCount; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "page%02d.pdf", i + 1);
    const fs::path pdf = out / name;
    if (!fs::exists(pdf)) continue;
    bytes += fs::file_size(pdf);
    errors += zelk::bench::PdfPageErrors(pdf.string(), 1, known[static_cast<std::size_t>(i)]);
  }
  std::printf("dual-layer PDF per file, %d A4 pages at 300 dpi (G4), %s workers\n", pageCount,
              workers > 0 ? std::to_string(workers).c_str() : "default");
  std::printf("  converted %zu, failed %zu\n", result.Successes, result.Failures);
  std::printf("  wall %.1f s (engine start %.1f s): %.1f pages/min, %.1f pages/min without the start\n",
              seconds, engineSeconds, pageCount * 60.0 / seconds,
              pageCount * 60.0 / (seconds - engineSeconds));
  std::printf("  output %.1f KiB (%.1f KiB a page)\n", bytes / 1024.0, bytes / 1024.0 / pageCount);
  std::printf("  pdftotext character error rate %.2f %% (%ld of %ld)\n", 100 * errors.Rate(),
              errors.errors, errors.characters);

  // Recognition alone, one document of all pages, on as many workers.
  zelk::OcrEngineOptions engine;
  engine.workers = workers;
  zelk::OcrEngine alone = zelk::OcrEngine::Load(engine);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(in)) files.push_back(entry.path().string());
  const auto aloneStart = Clock::now();
  {
    zelk::OcrDocument document = alone.CreateDocument();
    for (const std::string& file : files) document.AddImageFile(file);
    document.Process();
  }
  const double aloneSeconds = std::chrono::duration<double>(Clock::now() - aloneStart).count();
  std::printf("  recognition alone on %d workers: %.1f s, %.1f pages/min\n", alone.WorkerCount(),
              aloneSeconds, files.size() * 60.0 / aloneSeconds);

  const zelk::bench::OcrmypdfFigures other = zelk::bench::RunOcrmypdf(pageFiles, known, root.string());
  std::printf("\n%-28s %16s %16s %12s %8s\n", "", "pages/min wall", "pages/min CPU", "output KiB",
              "CER %");
  std::printf("%-28s %16.1f %16.1f %12.1f %8.2f\n", "zelk per-file job", pageCount * 60.0 / seconds,
              pageCount * 60.0 / cpuSeconds, bytes / 1024.0, 100 * errors.Rate());
  if (!other.available) {
    std::printf("%-28s not run: ocrmypdf or img2pdf is not installed\n", "ocrmypdf --jobs 2");
  } else if (!other.figures.ok) {
    std::printf("%-28s FAILED\n", "ocrmypdf --jobs 2");
  } else {
    std::printf("%-28s %16.1f %16.1f %12.1f %8.2f\n", "ocrmypdf --jobs 2",
                pageCount * 60.0 / other.figures.seconds, pageCount * 60.0 / other.figures.cpuSeconds,
                other.bytes / 1024.0, 100 * other.errors.Rate());
    std::printf("(ocrmypdf's input: one %d-page PDF of the same G4 pages, made by img2pdf)\n",
                pageCount);
  }
  fs::remove_all(root);
  return result.Failures == 0 ? 0 : 1;
}
