// Appends A4 pages at 300 dpi, one load and one save per page, to a PDF and
// prints pages per second and peak memory:
//   - bitonal G4 sources saved with code 149 (the source data copied, and,
//     for comparison, decoded and encoded again);
//   - colour JPEG sources saved with code 151 (copied when the quality
//     matches the source's tables, else re-encoded at quality 53);
//   - for contrast, one SavePdfPage call per page, which reads and rewrites
//     the whole document each time (a shorter run: its cost grows with the
//     square of the page count).
// Pages go through one PdfDocumentWriter per output, the way a job writes
// one document.
// Usage: pdf_append_bench [pages=1000] [work directory]

#include "BenchCorpus.h"
#include "BenchRun.h"

#include "imaging/PageReader.h"
#include "imaging/PdfWriter.h"
#include "imaging/SaveFormat.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace zelk;
using namespace zelk::bench;

namespace {

constexpr int kDistinctPages = 20;
constexpr int kCorpusJpegFactor = 70;  // the colour corpus is written at this factor

struct Append {
  int formatCode;
  int bitsPerPixel;
  int qualityFactor;
  bool decodeAndEncode;  // drop the source's compressed data
  bool oneCallPerPage;   // SavePdfPage for each page instead of one writer
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::string> Sequence(const std::vector<std::string>& corpus, int pages) {
  std::vector<std::string> inputs;
  for (int i = 0; i < pages; ++i) inputs.push_back(corpus[i % corpus.size()]);
  return inputs;
}

int RunAppend(const std::vector<std::string>& inputs, const std::string& output, const Append& a) {
  std::filesystem::remove(output);
  PdfPageOptions options;
  options.exactImageSize = false;  // A4 pages land on A4 paper
  try {
    if (a.oneCallPerPage) {
      for (const std::string& input : inputs) {
        Page page = LoadPage(input, 0);
        if (a.decodeAndEncode) page.raw.reset();
        SavePdfPage(page, output, {a.formatCode, a.bitsPerPixel, a.qualityFactor}, true, options);
      }
    } else {
      // Time spent loading pages is the reader's; the rest is the writer's.
      double loading = 0, adding = 0;
      PdfDocumentWriter writer(output);
      for (size_t i = 0; i < inputs.size(); ++i) {
        auto start = std::chrono::steady_clock::now();
        Page page = LoadPage(inputs[i], 0);
        if (a.decodeAndEncode) page.raw.reset();
        loading += SecondsSince(start);
        start = std::chrono::steady_clock::now();
        writer.AddPage(page, {a.formatCode, a.bitsPerPixel, a.qualityFactor}, options);
        adding += SecondsSince(start);
        if (i + 1 == 100) std::printf("  (peak after 100 pages: %.1f MiB)\n", OwnPeakMegabytes());
      }
      std::printf("  (peak before writing: %.1f MiB, %.1f MiB of page data spooled)\n",
                  OwnPeakMegabytes(), writer.SpooledBytes() / (1024.0 * 1024.0));
      const auto start = std::chrono::steady_clock::now();
      writer.Finish();
      std::printf("  (loading %.2f s, adding pages %.2f s, writing the document %.2f s)\n",
                  loading, adding, SecondsSince(start));
    }
    if (GetPageCount(output) != static_cast<int>(inputs.size())) {
      std::printf("  wrong page count in %s\n", output.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::printf("  %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const BenchArguments arguments = BenchArgumentsOf(argc, argv, 1000, "zelk-bench-pdf");
  const int pages = arguments.pages;
  const std::string& work = arguments.work;
  std::printf("Building the corpus (%d distinct pages of each kind) in %s\n", kDistinctPages,
              work.c_str());
  const std::vector<std::string> g4 =
      WriteCorpus(work + "/g4", kDistinctPages, false, kTiffCcittG4, 1, 128);
  const std::vector<std::string> jpeg =
      WriteCorpus(work + "/jpeg", kDistinctPages, true, kJpeg422, 24, kCorpusJpegFactor);
  const std::vector<std::string> g4Inputs = Sequence(g4, pages);
  const std::vector<std::string> jpegInputs = Sequence(jpeg, pages);
  const int shortRun = std::min(pages, 100);

  struct Scenario {
    const char* name;
    const std::vector<std::string>* inputs;
    int pages;
    Append append;
  };
  const Scenario scenarios[] = {
      {"G4 -> PDF 149, source data copied", &g4Inputs, pages,
       {kPdfCcittG4, 1, 128, false, false}},
      {"G4 -> PDF 149, decoded and encoded", &g4Inputs, pages,
       {kPdfCcittG4, 1, 128, true, false}},
      {"JPEG -> PDF 151, source data copied", &jpegInputs, pages,
       {kPdfJpeg422, 24, kCorpusJpegFactor, false, false}},
      {"JPEG -> PDF 151, re-encoded at factor 130", &jpegInputs, pages,
       {kPdfJpeg422, 24, 130, false, false}},
      {"G4 -> PDF 149, SavePdfPage per page", &g4Inputs, shortRun,
       {kPdfCcittG4, 1, 128, false, true}},
      {"JPEG -> PDF 151, SavePdfPage per page", &jpegInputs, shortRun,
       {kPdfJpeg422, 24, kCorpusJpegFactor, false, true}},
  };
  int index = 0;
  for (const Scenario& s : scenarios) {
    const std::vector<std::string> inputs(s.inputs->begin(), s.inputs->begin() + s.pages);
    const std::string output = work + "/out" + std::to_string(index++) + ".pdf";
    std::printf("%s\n", s.name);
    PrintFigures(s.name, s.pages, RunInChild([&] { return RunAppend(inputs, output, s.append); }),
                 output);
  }
  return 0;
}
