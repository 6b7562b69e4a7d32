#include "documents/WordLayoutParagraphs.h"

#include "documents/WordLayoutObjects.h"

#include <algorithm>
#include <cmath>

namespace zelk {
namespace {

// Neighbouring lines whose type sizes differ by more than this factor are
// a heading and the text below it, set as paragraphs of their own.
constexpr double kHeadingSizeFactor = 1.3;

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

// The baseline of a line; where the recogniser found none, or one outside
// the line's box (it gives a short stray word the baseline of a line far
// above, which spaced the next paragraph a third of a page down), a fifth
// of the line's height above its bottom.
int BaselineOf(const LayoutLine& line) {
  const int height = line.box.bottom - line.box.top;
  const bool inBox = line.baseline > line.box.top && line.baseline <= line.box.bottom + height / 2;
  return inBox ? line.baseline : line.box.bottom - height / 5;
}

PlacedParagraph Placed(WordParagraph paragraph, const TextBox& box, const LayoutLine& first,
                       const LayoutLine& last, std::vector<std::vector<WordRun>> lines) {
  return PlacedParagraph{std::move(paragraph), box, BaselineOf(first), BaselineOf(last), std::move(lines)};
}

// The paragraph cut where the type size jumps between neighbouring lines
// (the recogniser joins a title and the line under it into one
// paragraph); the later parts have no first-line indent.
std::vector<LayoutParagraph> SplitAtSizeJumps(const LayoutParagraph& paragraph) {
  std::vector<LayoutParagraph> parts;
  for (std::size_t i = 0; i < paragraph.lines.size(); ++i) {
    const LayoutLine& line = paragraph.lines[i];
    bool jump = false;
    if (i > 0) {
      const double before = LineFontSize(paragraph, i - 1);
      const double size = LineFontSize(paragraph, i);
      jump = before > 0 && size > 0 && std::max(before, size) > kHeadingSizeFactor * std::min(before, size);
    }
    if (parts.empty() || jump) {
      LayoutParagraph part = paragraph;
      part.lines.clear();
      part.box = line.box;
      if (!parts.empty()) part.firstLineIndent = 0;
      parts.push_back(std::move(part));
    }
    LayoutParagraph& part = parts.back();
    part.lines.push_back(line);
    part.box.left = std::min(part.box.left, line.box.left);
    part.box.top = std::min(part.box.top, line.box.top);
    part.box.right = std::max(part.box.right, line.box.right);
    part.box.bottom = std::max(part.box.bottom, line.box.bottom);
  }
  return parts;
}

}  // namespace

double NaturalAdvance(const WordParagraph& paragraph) {
  if (paragraph.picture) return paragraph.picture->height;
  if (paragraph.table) return paragraph.table->Height();
  if (paragraph.lineHeight > 0) return paragraph.lineHeight;
  const double size = paragraph.runs.front().fontSize;
  return kSingleSpacing * (size > 0 ? size : WordDocument{}.defaultFontSize);
}

std::vector<PlacedParagraph> BlockParagraphs(const LayoutBlock& block, const ParagraphLook& look,
                                             const PointScale& points, double areaLeft) {
  std::vector<PlacedParagraph> placed;
  if (HasPicture(block)) {
    if (look.objects) placed.push_back(PictureParagraph(block, points));
    return placed;
  }
  if (IsRuledTable(block)) {
    if (!look.objects) return TableRowsAsText(block, look);
    placed.push_back(TableParagraph(block, look, points, areaLeft));
    return placed;
  }
  if (!HoldsText(block)) return placed;
  const bool table = block.kind == BlockKind::Table;
  for (const LayoutParagraph& recognised : block.paragraphs) {
    if (table) {
      const LayoutParagraph& paragraph = recognised;
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
    for (const LayoutParagraph& paragraph : SplitAtSizeJumps(recognised)) {
      std::vector<WordRun> runs = ParagraphRuns(paragraph, 0, paragraph.lines.size(), look.runs, false);
      if (runs.empty()) continue;
      std::vector<std::vector<WordRun>> lines;
      for (std::size_t line = 0; line < paragraph.lines.size(); ++line) {
        lines.push_back(ParagraphRuns(paragraph, line, line + 1, look.runs, false));
      }
      placed.push_back(Placed(ParagraphOf(block, paragraph, std::move(runs), look, points), paragraph.box,
                              paragraph.lines.front(), paragraph.lines.back(), std::move(lines)));
    }
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
