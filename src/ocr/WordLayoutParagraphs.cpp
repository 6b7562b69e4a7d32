#include "ocr/WordLayoutParagraphs.h"

#include <algorithm>
#include <cmath>

namespace zelk {
namespace {

double RoundToHalfPoint(double points) { return std::round(points * 2) / 2; }

WordAlignment AlignmentOf(ParagraphAlignment alignment) {
  switch (alignment) {
    case ParagraphAlignment::Center: return WordAlignment::Center;
    case ParagraphAlignment::Right: return WordAlignment::Right;
    default: return WordAlignment::Left;
  }
}

// Distance between the baselines of the lines (their tops where no
// baseline was found), the median over the paragraph, in pixels.
int LinePitch(const std::vector<LayoutLine>& lines) {
  std::vector<int> pitches;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const bool baselines = lines[i].baseline > 0 && lines[i - 1].baseline > 0;
    pitches.push_back(baselines ? lines[i].baseline - lines[i - 1].baseline
                                : lines[i].box.top - lines[i - 1].box.top);
  }
  if (pitches.empty()) return 0;
  auto middle = pitches.begin() + static_cast<std::ptrdiff_t>(pitches.size() / 2);
  std::nth_element(pitches.begin(), middle, pitches.end());
  return *middle;
}

// The exact line pitch in points, when the page shows one that fits the
// type: a pitch below the type size would make the lines overlap.
double LineHeight(const LayoutParagraph& paragraph, const std::vector<WordRun>& runs,
                  const PointScale& points) {
  const int pitch = LinePitch(paragraph.lines);
  if (pitch <= 0) return 0;
  double largest = 0;
  for (const WordRun& run : runs) largest = std::max(largest, run.fontSize);
  const double height = RoundToHalfPoint(points(pitch));
  return largest > 0 && height >= largest ? height : 0;
}

WordParagraph ParagraphOf(const LayoutBlock& block, const LayoutParagraph& paragraph,
                          std::vector<WordRun> runs, const ParagraphLook& look,
                          const PointScale& points) {
  WordParagraph result;
  if (look.alignment) result.alignment = AlignmentOf(paragraph.alignment);
  if (look.indent) result.firstLineIndent = RoundToHalfPoint(points(paragraph.firstLineIndent));
  if (look.lineHeight) result.lineHeight = LineHeight(paragraph, runs, points);
  if (look.shading && !(block.background == kWhitePaper)) {
    result.hasShading = true;
    result.shading = block.background;
  }
  result.runs = std::move(runs);
  return result;
}

}  // namespace

std::vector<PlacedParagraph> BlockParagraphs(const LayoutBlock& block, const ParagraphLook& look,
                                             const PointScale& points) {
  std::vector<PlacedParagraph> placed;
  if (!HoldsText(block)) return placed;
  const bool table = block.kind == BlockKind::Table;
  for (const LayoutParagraph& paragraph : block.paragraphs) {
    if (table) {
      // A row of a table is one line; it keeps its place but no indent.
      ParagraphLook rowLook = look;
      rowLook.indent = false;
      for (std::size_t line = 0; line < paragraph.lines.size(); ++line) {
        std::vector<WordRun> runs = ParagraphRuns(paragraph, line, line + 1, look.runs, true);
        if (runs.empty()) continue;
        WordParagraph row = ParagraphOf(block, paragraph, std::move(runs), rowLook, points);
        row.lineHeight = 0;
        placed.push_back({std::move(row), paragraph.lines[line].box});
      }
      continue;
    }
    std::vector<WordRun> runs = ParagraphRuns(paragraph, 0, paragraph.lines.size(), look.runs, false);
    if (runs.empty()) continue;
    placed.push_back({ParagraphOf(block, paragraph, std::move(runs), look, points), paragraph.box});
  }
  return placed;
}

double ParagraphSpacing::Before(const TextBox& box) {
  int gap = 0;
  if (first_) {
    gap = box.top - originTop_;
  } else if (box.top >= previousBottom_) {
    gap = box.top - previousBottom_ - leading_;
  } else if (newColumns_) {
    gap = box.top - originTop_;
  }
  first_ = false;
  previousBottom_ = box.bottom;
  return RoundToHalfPoint(points_(std::max(gap, 0)));
}

}  // namespace zelk
