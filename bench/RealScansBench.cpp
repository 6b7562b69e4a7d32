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
//   real_scans_bench [workers] [keep] [hard]
//
// With `keep`, the pages and both sides' PDFs stay in the work directory
// for a look, and its path is printed.  With `hard`, the pages are the hard
// kinds instead (RealScanCases.h: a fax, columns, a seal, 600 dpi, a tag
// of 72 dpi), and each is also scored as the engine's own plain text.
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

// The engine's own plain text of each page (empty without the command).
Side ScoreEngineText(const std::vector<ScanCase>& cases, const fs::path& root) {
  Side side;
  for (const ScanCase& scanCase : cases) {
    const auto errors = zelk::bench::EngineTextErrors((root / "in" / scanCase.file).string(), scanCase.lines);
    if (!errors) return {};
    side.pages.push_back(*errors);
  }
  return side;
}

// A side that produced nothing shows "-"; the engine's column only where
// it was scored.
void PrintErrorTable(const std::vector<ScanCase>& cases, const Side& ours, const Side& peer, const Side* engine) {
  const auto cell = [](const Side& side, std::size_t i) { return side.pages.empty() ? "-" : Percent(side.pages[i]); };
  const auto total = [](const Side& side) { return side.pages.empty() ? "-" : WithCounts(side.Total()); };
  std::printf(engine ? "\n| case | ours CER %% | ocrmypdf CER %% | engine's text CER %% |\n|---|---:|---:|---:|\n"
                     : "\n| case | ours CER %% | ocrmypdf CER %% |\n|---|---:|---:|\n");
  const auto row = [&](const std::string& name, const std::string& a, const std::string& b, const std::string& c) {
    std::printf("| %s | %s | %s |", name.c_str(), a.c_str(), b.c_str());
    if (engine) std::printf(" %s |", c.c_str());
    std::printf("\n");
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    row(cases[i].name, Percent(ours.pages[i]), cell(peer, i), engine ? cell(*engine, i) : "");
  }
  row("all " + std::to_string(cases.size()) + " pages", WithCounts(ours.Total()), total(peer),
      engine ? total(*engine) : "");
  row("worst page", WorstPage(ours, cases), WorstPage(peer, cases), engine ? WorstPage(*engine, cases) : "");
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
  bool keep = false, hard = false;
  for (int i = 2; i < argc; ++i) {
    keep = keep || std::string(argv[i]) == "keep";
    hard = hard || std::string(argv[i]) == "hard";
  }
  const fs::path root = fs::temp_directory_path() / ("zelk-real-scans-bench-" + std::to_string(getpid()));
  fs::create_directories(root / "in");
  const std::vector<ScanCase> cases = hard ? zelk::bench::HardScanCases() : zelk::bench::MixedScanCases();
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

  std::printf("%s: %zu A4 pages, %s workers\n", hard ? "Hard pages (TIFF)" : "Real-scan-like pages (colour JPEGs, 300 dpi)",
              cases.size(), workers > 0 ? std::to_string(workers).c_str() : "default");
  std::printf("ocrmypdf: one %zu-page PDF made by img2pdf from the same pages,\n"
              "  ocrmypdf -l chi_sim+eng --jobs 2 --rotate-pages --deskew\n",
              cases.size());
  const Side ours = RunOurJob(cases, root, workers);
  std::string peerVerdict;
  const Side peer = RunPeer(cases, root, peerVerdict);

  std::printf("\nCharacter error rate of pdftotext's text (default mode) against the known lines:\n");
  if (!peerVerdict.empty()) std::printf("ocrmypdf %s\n", peerVerdict.c_str());
  const Side engine = hard ? ScoreEngineText(cases, root) : Side{};
  PrintErrorTable(cases, ours, peer, hard ? &engine : nullptr);
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
