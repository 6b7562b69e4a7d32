#include "RealScanCases.h"

#include "HardCasePages.h"

#include <leptonica/allheaders.h>

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace zelk::bench {
namespace {

// Full-width lines for an A4 page: 30 of them leave room for the gaps
// around the tinted boxes.
constexpr int kPageLines = 30;
// Short lines for the two columns, 30 in each.
constexpr int kColumnLines = 60;

}  // namespace

std::vector<ScanCase> MixedScanCases() {
  using namespace ocrtest;
  std::vector<ScanCase> cases;
  unsigned seed = 1;  // one text per page
  const auto add = [&cases](std::string name, std::vector<std::string> lines, auto render) {
    char file[64];
    std::snprintf(file, sizeof file, "%02zu-%s.jpg", cases.size() + 1, name.c_str());
    cases.push_back({std::move(name), file, std::move(lines), std::move(render)});
  };
  add("plain", FullWidthLines(kPageLines, seed++), PlainScanPage);
  for (int variant = 0; variant < 5; ++variant) {
    add("tinted-" + std::to_string(variant), FullWidthLines(kPageLines, seed++),
        [variant](const std::vector<std::string>& lines) { return TintedBoxesPage(lines, variant); });
  }
  for (int quarterTurns = 1; quarterTurns <= 3; ++quarterTurns) {
    add("turned-" + std::to_string(90 * quarterTurns), FullWidthLines(kPageLines, seed++),
        [quarterTurns](const std::vector<std::string>& lines) {
          return TurnedPage(PlainScanPage(lines), quarterTurns);
        });
  }
  for (const double degrees : {3.0, -3.0, 2.5}) {
    char name[32];
    std::snprintf(name, sizeof name, "skewed%+g", degrees);
    add(name, FullWidthLines(kPageLines, seed++), [degrees](const std::vector<std::string>& lines) {
      return SkewedPage(PlainScanPage(lines), degrees);
    });
  }
  add("two-column", ShortLines(kColumnLines, seed++), TwoColumnPage);
  return cases;
}

std::vector<ScanCase> HardScanCases() {
  using namespace ocrtest;
  std::vector<ScanCase> cases;
  const auto add = [&cases](std::string name, std::vector<std::string> lines, auto render) {
    std::string file = std::to_string(cases.size() + 1) + "-" + name + ".tif";
    cases.push_back({std::move(name), std::move(file), std::move(lines), std::move(render)});
  };
  add("fax", FullWidthLines(kPageLines, 101), FaxPage);
  add("columns", ColumnLines(16, 40, 102), VerticalPage);
  add("seal", FullWidthLines(20, 103), SealPage);
  add("600-dpi", FullWidthLines(kPageLines, 104), FinePage);
  add("tagged-72-dpi", FullWidthLines(kPageLines, 105), MistaggedPage);
  return cases;
}

void WriteScanCases(const std::vector<ScanCase>& cases, const std::string& directory) {
  for (const ScanCase& scanCase : cases) {
    const std::string path = directory + "/" + scanCase.file;
    const ocrtest::ScanCasePage page = scanCase.render(scanCase.lines);
    if (!path.ends_with(".tif")) {
      ocrtest::WriteJpegScan(page, path);
    } else if (pixGetDepth(page.image.get()) == 1) {
      // img2pdf takes CCITT data only as G4.
      if (pixWriteTiff(path.c_str(), page.image.get(), IFF_TIFF_G4, "w") != 0) throw std::runtime_error(path);
    } else {
      ocrtest::WriteTiffScan(page, path);
    }
  }
}

}  // namespace zelk::bench
