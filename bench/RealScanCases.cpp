#include "RealScanCases.h"

#include <cstdio>
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

void WriteScanCases(const std::vector<ScanCase>& cases, const std::string& directory) {
  for (const ScanCase& scanCase : cases) {
    ocrtest::WriteJpegScan(scanCase.render(scanCase.lines), directory + "/" + scanCase.file);
  }
}

}  // namespace zelk::bench
