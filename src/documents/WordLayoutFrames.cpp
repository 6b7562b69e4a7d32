#include <algorithm>

#include "documents/WordLayout.h"
#include "documents/WordLayoutOrder.h"

namespace zelk {
namespace {

double LargestFontSize(const std::vector<WordParagraph>& paragraphs) {
  double largest = 0;
  for (const WordParagraph& paragraph : paragraphs) {
    for (const WordRun& run : paragraph.runs) largest = std::max(largest, run.fontSize);
  }
  return largest;
}

}  // namespace

WordSection FramedSection(const PageLayout& page, const WordExportOptions& options) {
  WordSection section;
  SetPageGeometry(page, section);
  const PointScale points(page.dpi);
  const ParagraphLook look = LookOf(options);
  for (std::size_t index : ReadingOrder(page.blocks)) {
    const LayoutBlock& block = page.blocks[index];
    std::vector<PlacedParagraph> placed = BlockParagraphs(block, look, points);
    if (placed.empty()) continue;
    WordFrame frame;
    ParagraphSpacing spacing(block.box.top, 1, points);
    for (PlacedParagraph& each : placed) {
      spacing.Place(each);
      frame.paragraphs.push_back(std::move(each.paragraph));
    }
    frame.left = points(block.box.left);
    frame.top = points(block.box.top);
    frame.height = points(block.box.bottom - block.box.top);
    // One em more than the block, within the page: a substitute font a
    // little wider than the scanned type must not wrap the block's lines.
    const double em = LargestFontSize(frame.paragraphs);
    frame.width = std::min(points(block.box.right - block.box.left) + em,
                           std::max(section.pageWidth - frame.left, points(block.box.right - block.box.left)));
    if (options.keepColours && !(block.background == kWhitePaper)) {
      frame.hasBackground = true;
      frame.background = block.background;
    }
    section.frames.push_back(std::move(frame));
  }
  return section;
}

}  // namespace zelk
