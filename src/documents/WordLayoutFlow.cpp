#include <algorithm>
#include <cmath>

#include "documents/WordLayout.h"
#include "documents/WordLayoutBands.h"
#include "documents/WordLayoutOrder.h"

namespace zelk {
namespace {

// Narrowest gap between columns a word processor is given, in points.
constexpr double kSmallestColumnGap = 6;

bool KeepsPageLayout(LayoutRetention retention) {
  return retention != LayoutRetention::PlainText && retention != LayoutRetention::FormattedText;
}

}  // namespace

std::vector<WordSection> FlowingSections(const PageLayout& page, const WordExportOptions& options) {
  WordSection pageSection;
  SetPageGeometry(page, pageSection);
  const PointScale points(page.dpi);
  const ParagraphLook look = LookOf(options);
  const bool pageLayout = KeepsPageLayout(options.retention);
  const ColumnLayout columns = pageLayout ? DetectColumns(page) : ColumnLayout{};
  const std::vector<ColumnBand> bands = ColumnBands(page.blocks, ReadingOrder(page.blocks), columns);

  std::vector<WordSection> sections;
  const int marginTop = static_cast<int>(std::lround(pageSection.marginTop / points(1)));
  // Where the bands so far end: the lowest paragraph bottom and baseline.
  int bottom = marginTop;
  int baseline = marginTop;
  for (const ColumnBand& band : bands) {
    WordSection section = pageSection;
    if (band.multiColumn) {
      section.columns = columns.columns;
      section.columnGap = std::max(kSmallestColumnGap, std::round(points(columns.gap) * 2) / 2);
    }
    ParagraphSpacing spacing(marginTop, section.columns, points);
    if (!sections.empty()) spacing.Below(bottom, baseline);
    for (std::size_t index : band.blocks) {
      for (PlacedParagraph& placed : BlockParagraphs(page.blocks[index], look, points)) {
        if (pageLayout) spacing.Place(placed);
        bottom = std::max(bottom, placed.box.bottom);
        baseline = std::max(baseline, placed.lastBaseline);
        section.paragraphs.push_back(std::move(placed.paragraph));
      }
    }
    if (section.paragraphs.empty()) continue;
    section.continuesPage = !sections.empty();
    sections.push_back(std::move(section));
  }
  // A page without text still gives its page.
  if (sections.empty()) sections.push_back(std::move(pageSection));
  return sections;
}

}  // namespace zelk
