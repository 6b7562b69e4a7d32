// Appends A4 pages at 300 dpi, one load and one save call per page, to a
// multi-page TIFF, and prints pages per second and peak memory:
//   - bitonal G4 sources saved as G4 (the source data copied, and, for
//     comparison, decoded and encoded again), against tiffcp merging the
//     same files;
//   - colour JPEG sources saved as TIFF with JPEG 4:2:2.
// Usage: tiff_append_bench [pages=1000] [work directory]

#include "BenchCorpus.h"
#include "BenchRun.h"

#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "imaging/SavePage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

using namespace zelk;
using namespace zelk::bench;

namespace {

constexpr int kDistinctPages = 20;

struct Merge {
  int formatCode;
  int bitsPerPixel;
  int qualityFactor;
  bool decodeAndEncode;  // drop the source's compressed data
};

// The page sequence: the corpus files over and over.
std::vector<std::string> Sequence(const std::vector<std::string>& corpus, int pages) {
  std::vector<std::string> inputs;
  for (int i = 0; i < pages; ++i) inputs.push_back(corpus[i % corpus.size()]);
  return inputs;
}

int RunMerge(const std::vector<std::string>& inputs, const std::string& output, const Merge& m) {
  std::filesystem::remove(output);
  try {
    for (size_t i = 0; i < inputs.size(); ++i) {
      Page page = LoadPage(inputs[i], 0);
      if (m.decodeAndEncode) page.raw.reset();
      SavePage(page, output, {m.formatCode, m.bitsPerPixel, m.qualityFactor}, true);
      if (i + 1 == 100) std::printf("  (peak after 100 pages: %.1f MiB)\n", OwnPeakMegabytes());
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

double TotalMegabytes(const std::vector<std::string>& files) {
  double total = 0;
  for (const std::string& f : files) total += std::filesystem::file_size(f);
  return total / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  const BenchArguments arguments = BenchArgumentsOf(argc, argv, 1000, "zelk-bench-tiff");
  const int pages = arguments.pages;
  const std::string& work = arguments.work;
  std::printf("Building the corpus (%d distinct pages of each kind) in %s\n", kDistinctPages,
              work.c_str());
  auto corpus = [&] {
    return std::make_pair(WriteCorpus(work + "/g4", kDistinctPages, false, kTiffCcittG4, 1, 128),
                          WriteCorpus(work + "/jpeg", kDistinctPages, true, kJpeg422, 24, 70));
  };
  // Made in a child, so that the pages it generates do not count in the
  // peak memory of the children forked for the measurements.
  RunInChild([&] {
    corpus();
    return 0;
  });
  const auto [g4, jpeg] = corpus();
  const std::vector<std::string> g4Inputs = Sequence(g4, pages);
  const std::vector<std::string> jpegInputs = Sequence(jpeg, pages);
  std::printf("Inputs: %d G4 pages, %.1f MiB; %d colour JPEG pages, %.1f MiB\n\n", pages,
              TotalMegabytes(g4Inputs), pages, TotalMegabytes(jpegInputs));

  const std::string g4Out = work + "/merged-g4.tif";
  PrintFigures("G4 -> TIFF G4, source data copied", pages,
               RunInChild([&] { return RunMerge(g4Inputs, g4Out, {kTiffCcittG4, 1, 128, false}); }),
               g4Out);
  const std::string g4Encoded = work + "/merged-g4-encoded.tif";
  PrintFigures("G4 -> TIFF G4, decoded and encoded", pages,
               RunInChild([&] {
                 return RunMerge(g4Inputs, g4Encoded, {kTiffCcittG4, 1, 128, true});
               }),
               g4Encoded);
  const std::string tiffcpOut = work + "/merged-tiffcp.tif";
  std::filesystem::remove(tiffcpOut);
  std::vector<std::string> tiffcp = {"tiffcp"};
  tiffcp.insert(tiffcp.end(), g4Inputs.begin(), g4Inputs.end());
  tiffcp.push_back(tiffcpOut);
  PrintFigures("tiffcp, the same G4 files", pages, RunProgram(tiffcp), tiffcpOut);
  const std::string jpegOut = work + "/merged-jpeg.tif";
  PrintFigures("colour JPEG -> TIFF JPEG 4:2:2 (code 24)", pages,
               RunInChild([&] { return RunMerge(jpegInputs, jpegOut, {kTiffJpeg422, 24, 130, false}); }),
               jpegOut);
  return 0;
}
