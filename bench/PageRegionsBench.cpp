// What finding ruled tables and pictures costs a page, beside what the
// page's whole recognition costs: ordinary A4 pages at 300 dpi without
// either (grey and bitonal text, tinted boxes, two columns), where the
// finding is all the extra work, and a page with a ruled table and one
// with a photograph, where the cells are read one by one as well.
//
//   page_regions_bench [repeats]
//
// Start it with OMP_THREAD_LIMIT=1, as the program runs.

#include <leptonica/allheaders.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "ocr/OcrEngine.h"
#include "ocr/PageRegions.h"
#include "ocr/RecognitionImage.h"
#include "ScanCasePages.h"
#include "TextPageRenderer.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Kind {
  std::string name;
  zelk::PixPtr image;
};

// A 6 x 4 ruled table of short figures with a line of text above it.
zelk::PixPtr TablePage() {
  zelk::ocrtest::LayoutPageSpec spec;
  spec.blocks.push_back({236, 300, 44, 1.8, zelk::kBlackInk, {"下表列出本季度各项支出的金额和日期。"}});
  const int columns[] = {236, 600, 1100, 1600, 2244};
  for (int row = 0; row <= 6; ++row) spec.rules.push_back({columns[0], 450 + row * 110, columns[4], 450 + row * 110});
  for (int x : columns) spec.rules.push_back({x, 450, x, 450 + 6 * 110});
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 4; ++column) {
      const std::string text = row == 0 ? "项目" + std::to_string(column + 1) : std::to_string(1000 + 37 * row * (column + 3));
      spec.blocks.push_back({columns[column] + 20, 450 + row * 110 + 33, 44, 1.8, zelk::kBlackInk, {text}});
    }
  }
  return zelk::ocrtest::RenderLayoutPage(spec);
}

// A photograph in continuous tone with text above and a caption below.
zelk::PixPtr PhotoPage() {
  zelk::ocrtest::LayoutPageSpec spec;
  spec.blocks.push_back({236, 300, 44, 1.8, zelk::kBlackInk, {"新建的档案库房已于今年六月投入使用。"}});
  spec.blocks.push_back({236, 1250, 44, 1.8, zelk::kBlackInk, {"图2 档案库房内景"}});
  zelk::PixPtr page = zelk::ocrtest::RenderLayoutPage(spec);
  for (int y = 450; y < 1200; ++y) {
    for (int x = 236; x < 1400; ++x) {
      const int tone = 40 + ((x / 3) * 11 + (y / 5) * 7) % 160;
      pixSetRGBPixel(page.get(), x, y, tone, 255 - tone, (tone * 3) % 256);
    }
  }
  return page;
}

std::vector<Kind> Kinds() {
  using namespace zelk::ocrtest;
  std::vector<Kind> kinds;
  ScanCasePage plain = PlainScanPage(FullWidthLines(34, 3));
  kinds.push_back({"text, grey", zelk::PixPtr(pixClone(plain.image.get()))});
  kinds.push_back({"text, bitonal", Binarize(plain.image)});
  kinds.push_back({"tinted boxes", std::move(TintedBoxesPage(FullWidthLines(30, 5), 0).image)});
  kinds.push_back({"two columns", std::move(TwoColumnPage(ShortLines(60, 7)).image)});
  kinds.push_back({"ruled table", TablePage()});
  kinds.push_back({"photograph", PhotoPage()});
  return kinds;
}

}  // namespace

int main(int argc, char** argv) {
  const char* limit = std::getenv("OMP_THREAD_LIMIT");
  if (limit == nullptr || *limit == '\0') {
    std::fprintf(stderr, "warning: OMP_THREAD_LIMIT is not set; the figures will not be the program's\n");
  }
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const auto directory = std::filesystem::temp_directory_path() / "zelk-page-regions-bench";
  std::filesystem::create_directories(directory);
  zelk::OcrEngineOptions options;
  options.workers = 1;
  zelk::OcrEngine engine = zelk::OcrEngine::Load(options);

  std::printf("%-14s %7s %9s %13s %13s %7s\n", "page", "tables", "pictures", "finding ms", "recognition s", "share");
  for (const Kind& kind : Kinds()) {
    const zelk::RecognitionImage prepared = zelk::PrepareForRecognition(kind.image.get(), 0);
    // The least of the repeats, by the CPU clock (the process runs one thread here).
    double fastest = 1e9;
    zelk::PageRegions regions;
    for (int i = 0; i < repeats; ++i) {
      const std::clock_t start = std::clock();
      regions = zelk::FindPageRegions(prepared.pix.get(), 300);
      fastest = std::min(fastest, 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    const std::string file = (directory / "page.png").string();
    pixWrite(file.c_str(), kind.image.get(), IFF_PNG);
    const auto start = Clock::now();
    zelk::OcrDocument document = engine.CreateDocument();
    document.AddImageFile(file);
    document.NextPage();
    const double recognition = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%-14s %7zu %9zu %13.1f %13.2f %6.1f%%\n", kind.name.c_str(), regions.tables.size(),
                regions.pictures.size(), fastest, recognition, 100 * fastest / 1000 / recognition);
    std::fflush(stdout);
  }
  std::filesystem::remove_all(directory);
  return 0;
}
