#include "documents/WordLayoutParagraphs.h"

#include <algorithm>
#include <cmath>

namespace zelk {
namespace {

// Line pitch of single spacing, in ems of the type: what a word processor
// gives a paragraph that has no exact pitch.
constexpr double kSingleSpacing = 1.2;

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

// The baseline of a line; where the recogniser found none, a fifth of the
// line's height above its bottom.
int BaselineOf(const LayoutLine& line) {
  return line.baseline > 0 ? line.baseline : line.box.bottom - (line.box.bottom - line.box.top) / 5;
}

PlacedParagraph Placed(WordParagraph paragraph, const TextBox& box, const LayoutLine& first,
                       const LayoutLine& last, std::vector<std::vector<WordRun>> lines) {
  return PlacedParagraph{std::move(paragraph), box, BaselineOf(first), BaselineOf(last), std::move(lines)};
}

}  // namespace

double NaturalAdvance(const WordParagraph& paragraph) {
  if (paragraph.lineHeight > 0) return paragraph.lineHeight;
  const double size = paragraph.runs.front().fontSize;
  return kSingleSpacing * (size > 0 ? size : WordDocument{}.defaultFontSize);
}

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
        WordParagraph row = ParagraphOf(block, paragraph, runs, rowLook, points);
        row.lineHeight = 0;
        const LayoutLine& rowLine = paragraph.lines[line];
        placed.push_back(Placed(std::move(row), rowLine.box, rowLine, rowLine, {std::move(runs)}));
      }
      continue;
    }
    std::vector<WordRun> runs = ParagraphRuns(paragraph, 0, paragraph.lines.size(), look.runs, false);
    if (runs.empty()) continue;
    std::vector<std::vector<WordRun>> lines;
    for (std::size_t line = 0; line < paragraph.lines.size(); ++line) {
      lines.push_back(ParagraphRuns(paragraph, line, line + 1, look.runs, false));
    }
    placed.push_back(Placed(ParagraphOf(block, paragraph, std::move(runs), look, points), paragraph.box,
                            paragraph.lines.front(), paragraph.lines.back(), std::move(lines)));
  }
  return placed;
}

void ParagraphSpacing::Place(PlacedParagraph& placed, int column) {
  WordParagraph& paragraph = placed.paragraph;
  // A paragraph right of the column so far starts the next column: the
  // column before ends here, however much room it has left, so that no
  // paragraph flows into a column it did not come from.
  const bool newColumn = column > column_ && columnBreaksLeft_ > 0;
  if (newColumn) {
    --columnBreaksLeft_;
    column_ = column;
    paragraph.columnBreakBefore = true;
  }
  double before = 0;
  if (first_) {
    before = below_ ? points_(placed.firstBaseline - previousBaseline_) - NaturalAdvance(paragraph)
                    : points_(placed.box.top - originTop_);
    firstTop_ = placed.box.top;
    firstBefore_ = before;
  } else if (newColumn) {
    before = firstBefore_ + points_(placed.box.top - firstTop_);
  } else if (placed.box.top >= previousBottom_) {
    before = points_(placed.firstBaseline - previousBaseline_) - NaturalAdvance(paragraph);
  }
  paragraph.spaceBefore = RoundToHalfPoint(std::max(before, 0.0));
  first_ = false;
  previousBottom_ = placed.box.bottom;
  previousBaseline_ = placed.lastBaseline;
}

}  // namespace zelk
