// The single-layer PDF jobs side by side with img2pdf and ImageMagick's
// convert on the same input: single-page G4 TIFFs and colour JPEGs (A4,
// 300 dpi) in one source directory, turned into one PDF
//   - by the per-directory job (the whole directory, one PDF),
//   - by the per-file job (one PDF per file; total size),
//   - by img2pdf (one PDF, the source data embedded as it is),
//   - by convert (one PDF).
// The jobs run through the run frame as a run of the program does, with
// the shipped compression settings (G4 pages keep their data; JPEG pages
// are encoded again at quality 95, 4:4:4) and, for the JPEGs, once more
// with settings that match the sources (their data is then copied).
// Each run is a child process, so its CPU time and peak memory are its own.
//
// Needs scripts/install-bench-deps.sh (img2pdf, imagemagick); convert runs
// as MagickPdf.h sets it up.
//
// Usage: pdf_jobs_bench [G4 pages=200] [JPEG pages=100] [work directory]

#include "BenchCorpus.h"
#include "BenchRun.h"
#include "MagickPdf.h"

#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "jobs/ConvertFiles2PdfJob.h"
#include "jobs/MergeFiles2PdfJob.h"
#include "run/RunFrame.h"
#include "settings/SettingsFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace zelk;
using namespace zelk::bench;
namespace fs = std::filesystem;

namespace {

constexpr int kDistinctPages = 20;
constexpr int kCorpusJpegFactor = 130;  // quality 53, 4:2:2

struct Result {
  std::string name;
  int pages = 0;
  RunFigures figures;
  double megabytes = 0;
};

// Pages per second by the clock and by CPU time (user and system, all
// threads): the second does not depend on what else the machine is doing.
void Print(const Result& r) {
  const RunFigures& f = r.figures;
  std::printf(
      "  %-32s %4d pages %8.2f s %7.1f pages/s | cpu %7.2f s %7.1f pages/s | peak %7.1f MiB"
      " | output %7.1f MiB%s\n",
      r.name.c_str(), r.pages, f.seconds, r.pages / f.seconds, f.cpuSeconds, r.pages / f.cpuSeconds,
      f.peakMegabytes, r.megabytes, f.ok ? "" : "  FAILED");
  std::fflush(stdout);
}

// `pages` files in <root>/box, made from the distinct corpus pages.
std::vector<std::string> SourceTree(const std::vector<std::string>& corpus, const std::string& root,
                                    int pages, const char* extension) {
  std::vector<std::string> files;
  fs::remove_all(root);
  fs::create_directories(root + "/box");
  for (int i = 0; i < pages; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/box/page%04d.%s", i + 1, extension);
    const std::string file = root + name;
    fs::copy_file(corpus[i % corpus.size()], file, fs::copy_options::overwrite_existing);
    files.push_back(file);
  }
  return files;
}

class Bench {
 public:
  explicit Bench(std::string work) : work_(std::move(work)) {
    fs::create_directories(work_ + "/program");
    std::ofstream(work_ + "/program/ZELK.conf") << DefaultSettingsFileText();
    if (!LoadSettings(work_ + "/program", settings_)) std::printf("cannot read the settings\n");
    settings_.PDF.KeepDir = 0;
    settings_.PDF.OutputTif = 0;
    settings_.PDF.ImageResolution = 0;
    settings_.PDF.PaperSize = 0;  // A4 pages on A4 paper
    magick_ = MagickSetup(work_ + "/magick");
  }

  Settings& JobSettings() { return settings_; }

  // Runs the job from `source` into `output`; `checked` is one of its
  // PDFs, which must hold `checkedPages`.
  template <typename TheJob>
  Result RunJobOn(const std::string& name, const std::string& source, int pages,
                  const std::string& output, const std::string& checked, int checkedPages) {
    fs::remove_all(output);
    Result result{name, pages, {}, 0};
    const Settings settings = settings_;
    const std::string program = work_ + "/program";
    result.figures = RunInChild([&] {
      TheJob job;
      RunRequest request{settings, source, output, program + "/" + kLogsDirName, {}, nullptr, {}};
      RunObserver quiet;
      RunControl control;
      control.BeginRun();
      const RunResult run = RunJob(job, request, quiet, control);
      return run.End == RunEnd::Finished && run.Failures == 0 ? 0 : 1;
    });
    result.figures.ok = result.figures.ok && Sound(checked, checkedPages);
    result.megabytes = MegabytesBelow(output);
    return result;
  }

  Result RunTool(const std::string& name, std::vector<std::string> argv, int pages,
                 const std::string& output, const ProgramSetup& setup = {}) {
    fs::remove(output);
    Result result{name, pages, RunProgram(argv, setup), 0};
    result.figures.ok = result.figures.ok && Sound(output, pages);
    result.megabytes = MegabytesBelow(output);
    return result;
  }

  Result RunConvert(const std::vector<std::string>& inputs, const std::string& output) {
    return RunTool("convert", ConvertToPdf(inputs, {}, output), static_cast<int>(inputs.size()),
                   output, magick_);
  }

 private:
  // The output passes qpdf --check and holds the expected pages.
  static bool Sound(const std::string& pdf, int pages) {
    const std::string command = "qpdf --check '" + pdf + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
      std::printf("  qpdf --check fails on %s\n", pdf.c_str());
      return false;
    }
    try {
      if (GetPageCount(pdf) == pages) return true;
    } catch (const std::exception&) {
    }
    std::printf("  %s does not hold %d pages\n", pdf.c_str(), pages);
    return false;
  }

  std::string work_;
  Settings settings_;
  ProgramSetup magick_;
};

void PrintRatios(const Result& ours, const Result& other) {
  const double clock = (ours.pages / ours.figures.seconds) / (other.pages / other.figures.seconds);
  const double cpu =
      (ours.pages / ours.figures.cpuSeconds) / (other.pages / other.figures.cpuSeconds);
  std::printf("  %-48s pages/s x%.2f (cpu x%.2f), size x%.2f\n",
              (ours.name + " vs " + other.name).c_str(), clock, cpu,
              ours.megabytes / other.megabytes);
}

void Compare(Bench& bench, const std::string& title, const std::vector<std::string>& files,
             const std::string& root, const std::string& out, bool jpegCopyToo) {
  const int pages = static_cast<int>(files.size());
  std::printf("%s\n", title.c_str());
  std::vector<Result> ours;
  ours.push_back(bench.RunJobOn<MergeFiles2PdfJob>("per directory (one PDF)", root, pages,
                                                   out + "/dir", out + "/dir/box.pdf", pages));
  Print(ours.back());
  ours.push_back(bench.RunJobOn<ConvertFiles2PdfJob>(
      "per file (a PDF each)", root, pages, out + "/file", out + "/file/box/page0001.pdf", 1));
  Print(ours.back());
  if (jpegCopyToo) {
    Settings& settings = bench.JobSettings();
    const Settings shipped = settings;
    settings.ImageCompress.JpgCompress = 1;  // 4:2:2 at factor 130, as the sources
    settings.ImageCompress.JpgQuality = 1;
    ours.push_back(bench.RunJobOn<MergeFiles2PdfJob>("per directory, JPEG data copied", root, pages,
                                                     out + "/copy", out + "/copy/box.pdf", pages));
    Print(ours.back());
    settings = shipped;
  }
  std::vector<std::string> img2pdf = {"img2pdf", "-o", out + "/img2pdf.pdf"};
  img2pdf.insert(img2pdf.end(), files.begin(), files.end());
  const Result tool = bench.RunTool("img2pdf", img2pdf, pages, out + "/img2pdf.pdf");
  Print(tool);
  const Result magick = bench.RunConvert(files, out + "/convert.pdf");
  Print(magick);
  std::printf("  ratios (ours / theirs):\n");
  for (const Result& r : ours) {
    if (r.name.starts_with("per file")) continue;
    PrintRatios(r, tool);
    PrintRatios(r, magick);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int g4Pages = argc > 1 ? std::atoi(argv[1]) : 200;
  const int jpegPages = argc > 2 ? std::atoi(argv[2]) : 100;
  const std::string work =
      argc > 3 ? argv[3] : (fs::temp_directory_path() / "zelk-bench-pdf-jobs").string();
  std::printf("Building the corpus (%d distinct A4 pages at 300 dpi of each kind) in %s\n",
              kDistinctPages, work.c_str());
  const std::vector<std::string> g4 =
      WriteCorpus(work + "/corpus/g4", kDistinctPages, false, kTiffCcittG4, 1, 128);
  const std::vector<std::string> jpeg =
      WriteCorpus(work + "/corpus/jpeg", kDistinctPages, true, kJpeg422, 24, kCorpusJpegFactor);
  Bench bench(work);
  Compare(bench, std::to_string(g4Pages) + " single-page G4 TIFFs",
          SourceTree(g4, work + "/in-g4", g4Pages, "tif"), work + "/in-g4", work + "/out-g4",
          false);
  Compare(bench, std::to_string(jpegPages) + " colour JPEGs",
          SourceTree(jpeg, work + "/in-jpeg", jpegPages, "jpg"), work + "/in-jpeg",
          work + "/out-jpeg", true);
  return 0;
}
