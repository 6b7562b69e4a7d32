// Recognition of real-scan-like pages (bench/RealScanCases.h: tinted boxes
// in coloured ink, pages fed turned or askew, two columns; colour JPEGs at
// 300 dpi) by the per-file dual-layer PDF job through the run frame, beside
// ocrmypdf with --rotate-pages --deskew on the same JPEGs as one PDF made
// by img2pdf.  Each side's PDFs are scored page by page: the character
// error rate of pdftotext's text (its default mode, as copy and paste
// reads it) against the known lines.  Printed as Markdown tables: one row
// per page, the whole set and its worst page, then pages per minute by the
// clock and by CPU time and the peak memory of both sides.
//
//   real_scans_bench [workers] [keep]
//
// With `keep`, the pages and both sides' PDFs stay in the work directory
// for a look, and its path is printed.
//
// Runs with OMP_THREAD_LIMIT=1, as the program does (it restarts itself
// with the variable set when it is missing).  Ordinary bitonal pages are
// dual_layer_pdf_bench's.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchRun.h"
#include "DualLayerPdfRun.h"
#include "EngineStartWatch.h"
#include "jobs/RecognitionRun.h"
#include "OcrmypdfComparison.h"
#include "platform/ThreadLimit.h"
#include "RealScanCases.h"

namespace {

namespace fs = std::filesystem;
using zelk::bench::ErrorCount;
using zelk::bench::RunFigures;
using zelk::bench::ScanCase;

// One side's figures: the run and the errors of each page, in the order of
// the cases (empty when the side produced nothing to score).
struct Side {
  RunFigures run;
  std::vector<ErrorCount> pages;

  ErrorCount Total() const {
    ErrorCount total;
    for (const ErrorCount& page : pages) total += page;
    return total;
  }
};

std::string Percent(const ErrorCount& errors) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 100 * errors.Rate());
  return text;
}

// "1.23 (45 of 3660)": the rate with the errors and characters behind it.
std::string WithCounts(const ErrorCount& errors) {
  return Percent(errors) + " (" + std::to_string(errors.errors) + " of " +
         std::to_string(errors.characters) + ")";
}

std::string WorstPage(const Side& side, const std::vector<ScanCase>& cases) {
  if (side.pages.empty()) return "-";
  std::size_t worst = 0;
  for (std::size_t i = 1; i < side.pages.size(); ++i) {
    if (side.pages[i].Rate() > side.pages[worst].Rate()) worst = i;
  }
  return cases[worst].name + " (" + Percent(side.pages[worst]) + ")";
}

// The dual-layer PDF job in a child process of its own, so that its peak
// memory is the job's; then each page's PDF scored.
Side RunOurJob(const std::vector<ScanCase>& cases, const fs::path& root, int workers) {
  const fs::path in = root / "in", out = root / "out";
  Side side;
  side.run = zelk::bench::RunInChild([&] {
    zelk::bench::EngineStartWatch watch(zelk::kPdfEngineStarting);
    const zelk::RunResult result =
        zelk::bench::RunDualLayerPdfJob(in.string(), out.string(), root.string(), workers, watch);
    std::printf("zelk per-file job: converted %zu, failed %zu, engine start %.1f s\n", result.Successes,
                result.Failures, watch.EngineSeconds());
    return result.Successes == cases.size() && result.Failures == 0 ? 0 : 1;
  });
  // A missing PDF scores as all its characters lost.
  for (const ScanCase& scanCase : cases) {
    const fs::path pdf = out / fs::path(scanCase.file).replace_extension(".pdf");
    side.pages.push_back(zelk::bench::PdfPageErrors(pdf.string(), 1, scanCase.lines));
  }
  return side;
}

// ocrmypdf on the same JPEGs, turning and straightening pages as it sees
// fit; `verdict` says why it produced nothing to score.
Side RunPeer(const std::vector<ScanCase>& cases, const fs::path& root, std::string& verdict) {
  std::vector<std::string> pageFiles;
  std::vector<std::vector<std::string>> known;
  for (const ScanCase& scanCase : cases) {
    pageFiles.push_back((root / "in" / scanCase.file).string());
    known.push_back(scanCase.lines);
  }
  const zelk::bench::OcrmypdfFigures figures =
      zelk::bench::RunOcrmypdf(pageFiles, known, root.string(), {"--rotate-pages", "--deskew"});
  Side side;
  side.run = figures.figures;
  if (!figures.available) {
    verdict = "not run: ocrmypdf or img2pdf is not installed";
  } else if (!figures.figures.ok) {
    verdict = "FAILED";
  } else {
    side.pages = figures.pages;
  }
  return side;
}

// A peer that produced nothing shows "-".
void PrintErrorTable(const std::vector<ScanCase>& cases, const Side& ours, const Side& peer) {
  std::printf("\n| case | ours CER %% | ocrmypdf CER %% |\n|---|---:|---:|\n");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string theirs = peer.pages.empty() ? "-" : Percent(peer.pages[i]);
    std::printf("| %s | %s | %s |\n", cases[i].name.c_str(), Percent(ours.pages[i]).c_str(),
                theirs.c_str());
  }
  const std::string theirs = peer.pages.empty() ? "-" : WithCounts(peer.Total());
  std::printf("| all %zu pages | %s | %s |\n", cases.size(), WithCounts(ours.Total()).c_str(),
              theirs.c_str());
  std::printf("| worst page | %s | %s |\n", WorstPage(ours, cases).c_str(),
              WorstPage(peer, cases).c_str());
}

void PrintTimingTable(std::size_t pageCount, const Side& ours, const Side& peer) {
  const auto row = [&peer](const char* figure, double our, double their) {
    if (peer.run.ok) {
      std::printf("| %s | %.1f | %.1f | %.2f |\n", figure, our, their, our / their);
    } else {
      std::printf("| %s | %.1f | - | - |\n", figure, our);
    }
  };
  const double pages = static_cast<double>(pageCount);
  std::printf("\n| figure | ours | ocrmypdf | ours ÷ ocrmypdf |\n|---|---:|---:|---:|\n");
  row("pages/min by the clock", pages * 60 / ours.run.seconds, pages * 60 / peer.run.seconds);
  row("pages/min by CPU time", pages * 60 / ours.run.cpuSeconds, pages * 60 / peer.run.cpuSeconds);
  row("peak memory MiB", ours.run.peakMegabytes, peer.run.peakMegabytes);
}

}  // namespace

int main(int argc, char** argv) {
  zelk::EnsureOpenMpThreadLimit(argc, argv);
  const int workers = argc > 1 ? std::atoi(argv[1]) : 0;
  const bool keep = argc > 2 && std::string(argv[2]) == "keep";
  const fs::path root = fs::temp_directory_path() / ("zelk-real-scans-bench-" + std::to_string(getpid()));
  fs::create_directories(root / "in");
  const std::vector<ScanCase> cases = zelk::bench::MixedScanCases();
  // Rendered in a child, so that none of it stays in the memory the
  // job's child starts from.
  const RunFigures written = zelk::bench::RunInChild([&] {
    try {
      zelk::bench::WriteScanCases(cases, (root / "in").string());
      return 0;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s\n", error.what());
      return 1;
    }
  });
  if (!written.ok) {
    fs::remove_all(root);
    return 1;
  }

  std::printf("Real-scan-like pages: %zu A4 colour JPEGs at 300 dpi, %s workers\n", cases.size(),
              workers > 0 ? std::to_string(workers).c_str() : "default");
  std::printf("ocrmypdf: one %zu-page PDF made by img2pdf from the same JPEGs,\n"
              "  ocrmypdf -l chi_sim+eng --jobs 2 --rotate-pages --deskew\n",
              cases.size());
  const Side ours = RunOurJob(cases, root, workers);
  std::string peerVerdict;
  const Side peer = RunPeer(cases, root, peerVerdict);

  std::printf("\nCharacter error rate of pdftotext's text (default mode) against the known lines:\n");
  if (!peerVerdict.empty()) std::printf("ocrmypdf %s\n", peerVerdict.c_str());
  PrintErrorTable(cases, ours, peer);
  std::printf("\nWhole runs, the engine start included (CPU: all threads and child processes;\n"
              "peak memory: the largest single process, and ocrmypdf runs tesseract as\n"
              "processes of their own):\n");
  PrintTimingTable(cases.size(), ours, peer);
  if (keep) {
    std::printf("\nPages and PDFs kept in %s\n", root.c_str());
  } else {
    fs::remove_all(root);
  }
  return ours.run.ok ? 0 : 1;
}
