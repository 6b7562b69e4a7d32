// The image jobs of the whole program beside the tools made for each task,
// on the same pages in one run.  "Ours" is the built zelk-batch run as a
// user runs it (BatchProgram.h); the peer is the tool's own command line:
//   1. 200 single-page G4 A4 TIFFs merged into one TIFF   vs tiffcp -c g4
//   2. the 200 pages in one G4 TIFF (made by tiffcp) split into page
//      files                                              vs tiffsplit
//   3. a single-layer PDF of the 200 G4 pages             vs img2pdf
//   4. a single-layer PDF of 100 colour A4 JPEGs (quality 85, 4:2:2) with
//      the shipped compression settings (quality 95, 4:4:4), under which
//      their data can be copied                           vs img2pdf
//   5. the same JPEGs encoded again at quality 50          vs convert -quality 50
//   6. ours alone: peak memory of merge, split and PDF at 200 and at 2000
//      pages, which should stay flat.
// Each figure of rows 1-5 is the median of three runs (wall clock and CPU
// time each on its own, the highest peak memory), every run into a fresh
// output that is then checked with libtiff or qpdf; convert, which takes
// long, runs once.  Row 6 is one run each.  The goals are on ours ÷ peer by
// the clock.
//
// Peak memory is the child's maxrss, which also counts the memory this
// process has written to when the child starts; so the corpus is built in
// a child process and this one stays small (the figure of `true` shows it).
//
// Needs scripts/install-bench-deps.sh (img2pdf, imagemagick); building this
// bench builds zelk-batch too.
// Usage: image_jobs_vs_tools_bench [work directory] [zelk-batch]
// (zelk-batch defaults to $ZELK_BATCH, else <build>/bin/zelk-batch)

#include "BatchProgram.h"
#include "BenchCorpus.h"
#include "BenchRun.h"
#include "ComparisonTable.h"
#include "MagickPdf.h"
#include "OutputCheck.h"

#include "imaging/SaveFormat.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace zelk;
using namespace zelk::bench;
namespace fs = std::filesystem;

namespace {

constexpr int kDistinctPages = 20;
constexpr int kG4Pages = 200;
constexpr int kJpegPages = 100;
constexpr int kManyPages = 2000;
constexpr int kRuns = 3;
constexpr int kConvertRuns = 1;
constexpr int kG4Factor = 128;
constexpr int kJpeg85Factor = 42;  // libjpeg quality 85
constexpr double kFlatGrowth = 1.25;
constexpr double kSmallProcessMegabytes = 8;

// One side of a row: a run of a program into an output made afresh, then
// checked.
struct Trial {
  std::string name;
  int pages = 0;
  std::string output;  // removed before each run, measured for its size
  std::function<RunFigures()> run;
  std::function<bool()> check;
};

RunFigures Measure(const Trial& trial, int runs) {
  RunFigures figures = MedianOfRuns(runs, [&] {
    fs::remove_all(trial.output);
    RunFigures run = trial.run();
    run.ok = run.ok && trial.check();
    return run;
  });
  const std::string name =
      trial.name + (runs > 1 ? " (median of " + std::to_string(runs) + ")" : " (one run)");
  PrintFigures("  " + name, trial.pages, figures, trial.output);
  return figures;
}

// The keys of a run of `action` from `source` into `target`, with the
// shipped compression settings unless `compression` replaces some.
std::vector<SettingValue> RunSettings(int action, const std::string& source,
                                      const std::string& target,
                                      const std::vector<SettingValue>& compression = {}) {
  std::vector<SettingValue> settings = {
      {"Common", "ImageSrcDir", source},
      {"Common", "ConvertDstDir", target},
      {"Common", "ConvertAction", std::to_string(action)},
      // The shipped values, whatever the copied file holds.
      {"ImageCompress", "Tif1Compress", "0"},
      {"ImageCompress", "Tif2Compress", "1"},
      {"ImageCompress", "Tif2Quality", "0"},
      {"ImageCompress", "Tif2QualityValue", "75"},
      {"ImageCompress", "JpgCompress", "0"},
      {"ImageCompress", "JpgQuality", "0"},
      {"ImageCompress", "JpgQualityValue", "75"},
  };
  settings.insert(settings.end(), compression.begin(), compression.end());
  if (action == kMergeAction) {
    settings.insert(settings.end(), {{"Merge", "KeepDir", "0"}, {"Merge", "Grouping", ""}});
  } else if (action == kSplitAction) {
    settings.push_back({"Split", "FileType", "1"});
  } else {
    settings.insert(settings.end(), {{"PDF", "ConvertType", "1"},
                                     {"PDF", "KeepDir", "0"},
                                     {"PDF", "OutputTif", "0"},
                                     {"PDF", "Grouping", ""}});
  }
  return settings;
}

// The source trees, all made from the distinct corpus pages.  Each
// directory of pages is one item of the run: <root>/doc.
struct Sources {
  std::string g4Pages;     // <root>/doc/p0001.tif, ... (kG4Pages)
  std::string g4Merged;    // <root>/doc.tif, the same pages in one G4 TIFF
  std::string jpegPages;   // <root>/doc/p0001.jpg, ... (kJpegPages)
  std::string manyPages;   // as g4Pages with kManyPages
  std::string manyMerged;  // as g4Merged with kManyPages
  std::vector<std::string> g4Files;
  std::vector<std::string> jpegFiles;
};

class Bench {
 public:
  Bench(std::string work, BatchProgram batch)
      : work_(std::move(work)), batch_(std::move(batch)), magick_(MagickSetup(work_ + "/magick")) {}

  // The corpus is written by a child process (decoding and encoding A4
  // pages would make this one large); here only its paths are taken.
  bool MakeSources() {
    const std::string g4Corpus = work_ + "/corpus/g4";
    const std::string jpegCorpus = work_ + "/corpus/jpeg85";
    std::printf("Building the corpus (%d distinct A4 pages at 300 dpi of each kind) in %s\n",
                kDistinctPages, work_.c_str());
    const RunFigures built = RunInChild([&] {
      try {
        WriteCorpus(g4Corpus, kDistinctPages, false, kTiffCcittG4, 1, kG4Factor);
        WriteCorpus(jpegCorpus, kDistinctPages, true, kJpeg422, 24, kJpeg85Factor);
        return 0;
      } catch (const std::exception& e) {
        std::printf("! cannot write the corpus: %s\n", e.what());
        return 1;
      }
    });
    if (!built.ok) return false;
    // The files are there now, so these only name them.
    const std::vector<std::string> g4 =
        WriteCorpus(g4Corpus, kDistinctPages, false, kTiffCcittG4, 1, kG4Factor);
    const std::vector<std::string> jpeg =
        WriteCorpus(jpegCorpus, kDistinctPages, true, kJpeg422, 24, kJpeg85Factor);
    sources_.g4Pages = work_ + "/sources/g4";
    sources_.g4Files = LinkPages(g4, sources_.g4Pages + "/doc", kG4Pages, ".tif");
    sources_.jpegPages = work_ + "/sources/jpeg";
    sources_.jpegFiles = LinkPages(jpeg, sources_.jpegPages + "/doc", kJpegPages, ".jpg");
    sources_.manyPages = work_ + "/sources/g4-many";
    const std::vector<std::string> many =
        LinkPages(g4, sources_.manyPages + "/doc", kManyPages, ".tif");
    sources_.g4Merged = work_ + "/sources/g4-merged";
    sources_.manyMerged = work_ + "/sources/g4-many-merged";
    return MergedWithTiffcp(sources_.g4Files, sources_.g4Merged) &&
           MergedWithTiffcp(many, sources_.manyMerged);
  }

  // Whether a program started from here measures small, as it should.
  void CheckOwnSize() {
    const RunFigures trivial = RunProgram({"true"});
    std::printf("`true` measures %.1f MiB peak (this process: %.1f MiB)%s\n\n",
                trivial.peakMegabytes, OwnPeakMegabytes(),
                trivial.peakMegabytes > kSmallProcessMegabytes
                    ? "  ! the peaks below count this process too"
                    : "");
  }

  void MergeRow() {
    std::printf("1. merge %d single-page G4 TIFFs into one TIFF\n", kG4Pages);
    const std::string row = work_ + "/1-merge";
    const RunFigures ours = Measure(OursMerge(row, sources_.g4Pages, kG4Pages), kRuns);
    std::vector<std::string> tiffcp = {"tiffcp", "-c", "g4"};
    tiffcp.insert(tiffcp.end(), sources_.g4Files.begin(), sources_.g4Files.end());
    tiffcp.push_back(row + "/tiffcp.tif");
    const RunFigures peer =
        Measure(Peer("tiffcp -c g4", kG4Pages, tiffcp, row + "/tiffcp.tif",
                     [=] { return TiffHoldsPages(row + "/tiffcp.tif", kG4Pages); }),
                kRuns);
    Compared({"1 merge " + std::to_string(kG4Pages) + " G4 pages vs tiffcp", ours, peer, {0.1}});
  }

  void SplitRow() {
    std::printf("2. split a %d-page G4 TIFF into page files\n", kG4Pages);
    const std::string row = work_ + "/2-split";
    const RunFigures ours = Measure(OursSplit(row, sources_.g4Merged, kG4Pages), kRuns);
    const std::string out = row + "/tiffsplit";
    const std::vector<std::string> tiffsplit = {"tiffsplit", sources_.g4Merged + "/doc.tif",
                                                out + "/page"};
    const RunFigures peer = Measure({"peer: tiffsplit", kG4Pages, out,
                                     [=] {
                                       fs::create_directories(out);  // tiffsplit makes none
                                       return RunProgram(tiffsplit);
                                     },
                                     [=] { return HoldsSinglePageTiffs(out, kG4Pages); }},
                                    kRuns);
    Compared({"2 split " + std::to_string(kG4Pages) + " G4 pages vs tiffsplit", ours, peer, {2}});
  }

  void G4PdfRow() {
    std::printf("3. single-layer PDF of %d G4 pages (one directory)\n", kG4Pages);
    const std::string row = work_ + "/3-pdf-g4";
    const RunFigures ours = Measure(OursPdf(row, sources_.g4Pages, kG4Pages, {}), kRuns);
    const RunFigures peer = Measure(Img2pdf(row, sources_.g4Files), kRuns);
    Compared({"3 PDF of " + std::to_string(kG4Pages) + " G4 pages vs img2pdf", ours, peer, {1}});
  }

  void JpegPdfRow() {
    std::printf("4. single-layer PDF of %d colour JPEGs (quality 85, 4:2:2), shipped settings\n",
                kJpegPages);
    const std::string row = work_ + "/4-pdf-jpeg";
    const RunFigures ours = Measure(OursPdf(row, sources_.jpegPages, kJpegPages, {}), kRuns);
    const RunFigures peer = Measure(Img2pdf(row, sources_.jpegFiles), kRuns);
    Compared(
        {"4 PDF of " + std::to_string(kJpegPages) + " JPEGs, shipped vs img2pdf", ours, peer, {1}});
  }

  void JpegQuality50Row() {
    std::printf("5. the %d JPEGs in a PDF encoded again at quality 50\n", kJpegPages);
    const std::string row = work_ + "/5-pdf-jpeg-q50";
    const RunFigures ours = Measure(
        OursPdf(row, sources_.jpegPages, kJpegPages,
                {{"ImageCompress", "JpgQuality", "3"}, {"ImageCompress", "JpgQualityValue", "50"}}),
        kRuns);
    const std::string out = row + "/convert.pdf";
    const RunFigures peer =
        Measure(Peer(
                    "convert -quality 50", kJpegPages,
                    ConvertToPdf(sources_.jpegFiles, {"-quality", "50"}, out), out,
                    [=] { return PdfHoldsPages(out, kJpegPages); }, magick_),
                kConvertRuns);
    Compared({"5 PDF of " + std::to_string(kJpegPages) + " JPEGs at q50 vs convert",
              ours,
              peer,
              {0.2, 300}});
  }

  void MemoryRows() {
    std::printf("6. ours alone: peak memory at %d and at %d G4 pages (one run each)\n", kG4Pages,
                kManyPages);
    const std::string row = work_ + "/6-memory";
    Grown(
        "merge",
        [&](const std::string& source, int pages) {
          return OursMerge(row + "/merge-" + std::to_string(pages), source, pages);
        },
        sources_.g4Pages, sources_.manyPages);
    Grown(
        "split",
        [&](const std::string& source, int pages) {
          return OursSplit(row + "/split-" + std::to_string(pages), source, pages);
        },
        sources_.g4Merged, sources_.manyMerged);
    Grown(
        "PDF",
        [&](const std::string& source, int pages) {
          return OursPdf(row + "/pdf-" + std::to_string(pages), source, pages, {});
        },
        sources_.g4Pages, sources_.manyPages);
  }

  void PrintSummary() const {
    std::printf("Summary (medians; goals on ours/peer by the clock)\n");
    PrintTable(compared_, grown_);
  }

 private:
  // zelk-batch with `settings` into <row>/out, its program directory
  // <row>/program.
  Trial Ours(const std::string& name, const std::string& row, int pages,
             const std::vector<SettingValue>& settings, std::function<bool()> check) const {
    const std::string program = row + "/program";
    return {"ours: zelk-batch " + name, pages, row + "/out",
            [this, program, settings] { return batch_.Run(program, settings); }, std::move(check)};
  }

  Trial OursMerge(const std::string& row, const std::string& source, int pages) const {
    const std::string out = row + "/out";
    return Ours("merge", row, pages, RunSettings(kMergeAction, source, out),
                [=] { return TiffHoldsPages(out + "/doc.tif", pages); });
  }

  Trial OursSplit(const std::string& row, const std::string& source, int pages) const {
    const std::string out = row + "/out";
    return Ours("split", row, pages, RunSettings(kSplitAction, source, out),
                [=] { return HoldsSinglePageTiffs(out, pages); });
  }

  Trial OursPdf(const std::string& row, const std::string& source, int pages,
                const std::vector<SettingValue>& compression) const {
    const std::string out = row + "/out";
    return Ours("PDF", row, pages, RunSettings(kPdfAction, source, out, compression),
                [=] { return PdfHoldsPages(out + "/doc.pdf", pages); });
  }

  static Trial Peer(const std::string& name, int pages, std::vector<std::string> argv,
                    const std::string& output, std::function<bool()> check,
                    ProgramSetup setup = {}) {
    return {"peer: " + name, pages, output,
            [argv = std::move(argv), setup = std::move(setup)] { return RunProgram(argv, setup); },
            std::move(check)};
  }

  static Trial Img2pdf(const std::string& row, const std::vector<std::string>& files) {
    const std::string out = row + "/img2pdf.pdf";
    std::vector<std::string> argv = {"img2pdf"};
    argv.insert(argv.end(), files.begin(), files.end());
    argv.insert(argv.end(), {"-o", out});
    const int pages = static_cast<int>(files.size());
    return Peer("img2pdf", pages, argv, out, [=] { return PdfHoldsPages(out, pages); });
  }

  // <dir>/doc.tif: `pages` in one G4 TIFF, the source of a split.  It is
  // written under a temporary name, so one that is there is whole and is
  // kept for the next run of the bench.
  static bool MergedWithTiffcp(const std::vector<std::string>& pages, const std::string& dir) {
    const std::string merged = dir + "/doc.tif";
    const int count = static_cast<int>(pages.size());
    if (fs::exists(merged) && TiffHoldsPages(merged, count)) return true;
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<std::string> argv = {"tiffcp", "-c", "g4"};
    argv.insert(argv.end(), pages.begin(), pages.end());
    const std::string part = dir + "/doc.part";
    argv.push_back(part);
    const bool made = RunProgram(argv).ok;
    std::error_code ec;
    if (made) fs::rename(part, merged, ec);
    if (made && !ec && TiffHoldsPages(merged, count)) return true;
    std::printf("! tiffcp could not make %s\n", merged.c_str());
    return false;
  }

  void Compared(ComparisonRow row) {
    PrintRatioLine(row);
    compared_.push_back(std::move(row));
  }

  // One run of `trial` at kG4Pages from `fewSource`, then one at
  // kManyPages from `manySource`.
  void Grown(const std::string& job, const std::function<Trial(const std::string&, int)>& trial,
             const std::string& fewSource, const std::string& manySource) {
    const RunFigures few = Measure(trial(fewSource, kG4Pages), 1);
    const RunFigures many = Measure(trial(manySource, kManyPages), 1);
    GrowthRow row{"6 " + job + " peak memory", kG4Pages, kManyPages, few, many, kFlatGrowth};
    PrintGrowthLine(row);
    grown_.push_back(std::move(row));
  }

  std::string work_;
  BatchProgram batch_;
  ProgramSetup magick_;
  Sources sources_;
  std::vector<ComparisonRow> compared_;
  std::vector<GrowthRow> grown_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string work =
      argc > 1 ? argv[1] : (fs::temp_directory_path() / "zelk-bench-image-jobs-vs-tools").string();
  BatchProgram batch(FindBatchExecutable(argc > 2 ? argv[2] : ""));
  if (!batch.Ready()) return 2;
  std::printf("Ours: %s\n", batch.Executable().c_str());
  Bench bench(work, std::move(batch));
  if (!bench.MakeSources()) return 1;
  bench.CheckOwnSize();
  bench.MergeRow();
  bench.SplitRow();
  bench.G4PdfRow();
  bench.JpegPdfRow();
  bench.JpegQuality50Row();
  bench.MemoryRows();
  bench.PrintSummary();
  return 0;
}
