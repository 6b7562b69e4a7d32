#include <algorithm>
#include <cmath>

#include "ocr/WordLayout.h"
#include "ocr/WordLayoutOrder.h"

namespace zelk {
namespace {

// Narrowest gap between columns a word processor is given, in points.
constexpr double kSmallestColumnGap = 6;

bool KeepsPageLayout(LayoutRetention retention) {
  return retention != LayoutRetention::PlainText && retention != LayoutRetention::FormattedText;
}

}  // namespace

WordSection FlowingSection(const PageLayout& page, const WordExportOptions& options) {
  WordSection section;
  SetPageGeometry(page, section);
  const PointScale points(page.dpi);
  const ParagraphLook look = LookOf(options);
  const bool pageLayout = KeepsPageLayout(options.retention);
  if (pageLayout) {
    const ColumnLayout columns = DetectColumns(page);
    if (columns.columns > 1) {
      section.columns = columns.columns;
      section.columnGap = std::max(kSmallestColumnGap, std::round(points(columns.gap) * 2) / 2);
    }
  }
  const int marginTop = static_cast<int>(std::lround(section.marginTop / points(1)));
  ParagraphSpacing spacing(marginTop, section.columns, points);
  for (std::size_t index : ReadingOrder(page.blocks)) {
    for (PlacedParagraph& placed : BlockParagraphs(page.blocks[index], look, points)) {
      if (pageLayout) spacing.Place(placed);
      section.paragraphs.push_back(std::move(placed.paragraph));
    }
  }
  return section;
}

}  // namespace zelk
