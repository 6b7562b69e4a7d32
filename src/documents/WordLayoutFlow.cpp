#include <algorithm>
#include <cmath>

#include "documents/WordLayout.h"
#include "documents/WordLayoutBands.h"
#include "documents/WordLayoutFit.h"
#include "documents/WordLayoutJoin.h"
#include "documents/WordLayoutOrder.h"

namespace zelk {
namespace {

// Narrowest gap between columns a word processor is given, in points.
constexpr double kSmallestColumnGap = 6;

bool KeepsPageLayout(LayoutRetention retention) {
  return retention != LayoutRetention::PlainText && retention != LayoutRetention::FormattedText;
}

// The band's columns in its section: the gutters as measured on the page,
// the first column from the left margin and the last to the right one.
// Where the measures do not leave every column and gutter its room (a
// margin cut back over the text), columns of equal width with the
// narrowest gutter between them.
void SetColumns(WordSection& section, const std::vector<ColumnExtent>& extents, const PointScale& points) {
  const std::size_t count = extents.size();
  section.columns = static_cast<int>(count);
  std::vector<WordColumn> widths;
  double narrowestGap = section.pageWidth;
  double start = section.marginLeft;
  bool fits = true;
  for (std::size_t i = 0; i < count; ++i) {
    const bool last = i + 1 == count;
    const double end = last ? section.pageWidth - section.marginRight : points(extents[i].right);
    const double next = last ? end : points(extents[i + 1].left);
    widths.push_back(WordColumn{end - start, next - end});
    if (!last) narrowestGap = std::min(narrowestGap, next - end);
    fits = fits && end > start && (last || next - end >= kSmallestColumnGap);
    start = next;
  }
  section.columnGap = std::max(kSmallestColumnGap, std::round(narrowestGap * 2) / 2);
  if (fits) section.columnWidths = std::move(widths);
}

// Moves the space above a band of columns to the foot of the band before
// it on the page: LibreOffice sets every column of a section below the
// space before the section's first paragraph, where the columns start
// side by side at the top of the section for other word processors.  Kept
// out of the section, the space lands alike in all of them.
void MoveLeadToBandBefore(WordSection& before, WordSection& columns) {
  auto startsColumn = [&](const WordParagraph& paragraph) {
    return &paragraph == &columns.paragraphs.front() || paragraph.columnBreakBefore;
  };
  double lead = columns.paragraphs.front().spaceBefore;
  for (const WordParagraph& paragraph : columns.paragraphs) {
    if (startsColumn(paragraph)) lead = std::min(lead, paragraph.spaceBefore);
  }
  for (WordParagraph& paragraph : columns.paragraphs) {
    if (startsColumn(paragraph)) paragraph.spaceBefore -= lead;
  }
  before.paragraphs.back().spaceAfter += lead;
}

// The width the section gives the text of one of its columns, in points.
double ColumnWidth(const WordSection& section, int column) {
  if (static_cast<std::size_t>(column) < section.columnWidths.size()) return section.columnWidths[column].width;
  const double text = section.pageWidth - section.marginLeft - section.marginRight;
  return (text - section.columnGap * (section.columns - 1)) / section.columns;
}

// Shrinks the space between the page's paragraphs, all by one share, so
// that the text the page's sections hold (`lines` lines of each paragraph
// in order, set at its pitch) fits the text area with a line's pitch to
// spare: a word processor that sets the lines a little apart from the scan
// must not push the page's last lines onto a page of their own.  Columns
// share their section's height.
void FitSpacingToPage(std::vector<WordSection>& sections, const std::vector<std::size_t>& lines, double pitch) {
  double text = 0;
  double spacing = 0;
  std::size_t index = 0;
  for (const WordSection& section : sections) {
    double sectionText = 0, sectionSpacing = 0;
    for (const WordParagraph& paragraph : section.paragraphs) {
      sectionText += static_cast<double>(lines[index++]) * NaturalAdvance(paragraph);
      sectionSpacing += paragraph.spaceBefore + paragraph.spaceAfter;
    }
    text += sectionText / section.columns;
    spacing += sectionSpacing / section.columns;
  }
  const WordSection& page = sections.front();
  const double room = page.pageHeight - page.marginTop - page.marginBottom - pitch - text;
  if (spacing <= 0 || spacing <= room) return;
  const double share = std::max(room, 0.0) / spacing;
  for (WordSection& section : sections) {
    for (WordParagraph& paragraph : section.paragraphs) {
      paragraph.spaceBefore = std::floor(paragraph.spaceBefore * share * 2) / 2;
      paragraph.spaceAfter = std::floor(paragraph.spaceAfter * share * 2) / 2;
    }
  }
}

}  // namespace

std::vector<WordSection> FlowingSections(const PageLayout& scanned, const WordExportOptions& options) {
  const bool pageLayout = KeepsPageLayout(options.retention);
  // A heading the recogniser cut in two at the gutter spans the columns.
  PageLayout joined;
  if (pageLayout) {
    joined = scanned;
    joined.blocks = JoinSplitBlocks(std::move(joined.blocks));
  }
  const PageLayout& page = pageLayout ? joined : scanned;
  WordSection pageSection;
  SetPageGeometry(page, pageSection);
  const PointScale points(page.dpi);
  const ParagraphLook look = LookOf(options);
  const ColumnLayout columns = pageLayout ? DetectColumns(page) : ColumnLayout{};
  const std::vector<ColumnBand> bands = ColumnBands(page.blocks, ReadingOrder(page.blocks), columns);
  const double defaultFontSize = WordDocument{}.defaultFontSize;

  std::vector<WordSection> sections;
  const int marginTop = static_cast<int>(std::lround(pageSection.marginTop / points(1)));
  // Where the bands so far end: the lowest paragraph bottom and baseline.
  int bottom = marginTop;
  int baseline = marginTop;
  double largestPitch = 0;  // points
  std::vector<std::size_t> lineCounts;  // of every paragraph, in order
  for (const ColumnBand& band : bands) {
    WordSection section = pageSection;
    std::vector<ColumnExtent> extents;
    std::vector<std::size_t> members = band.blocks;
    if (band.multiColumn) {
      extents = MeasuredColumns(page.blocks, band.blocks, columns);
      SetColumns(section, extents, points);
      // Column by column, each from top to bottom as read: the reading
      // order may go across the gutter where paragraph gaps of the columns
      // line up.
      std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
        return ColumnOf(page.blocks[a].box, extents) < ColumnOf(page.blocks[b].box, extents);
      });
    }
    ParagraphSpacing spacing(marginTop, section.columns, points);
    if (!sections.empty()) spacing.Below(bottom, baseline);
    for (std::size_t index : members) {
      const int column = extents.empty() ? 0 : ColumnOf(page.blocks[index].box, extents);
      for (PlacedParagraph& placed : BlockParagraphs(page.blocks[index], look, points, section.marginLeft)) {
        if (pageLayout) {
          FitTypeToWidth(placed, ColumnWidth(section, column), defaultFontSize);
          spacing.Place(placed, column);
          const bool text = !placed.paragraph.picture && !placed.paragraph.table;
          if (text) largestPitch = std::max(largestPitch, NaturalAdvance(placed.paragraph));
        }
        lineCounts.push_back(std::max<std::size_t>(placed.lines.size(), 1));
        bottom = std::max(bottom, placed.box.bottom);
        baseline = std::max(baseline, placed.lastBaseline);
        section.paragraphs.push_back(std::move(placed.paragraph));
      }
    }
    if (section.paragraphs.empty()) continue;
    section.continuesPage = !sections.empty();
    if (section.continuesPage && section.columns > 1) MoveLeadToBandBefore(sections.back(), section);
    sections.push_back(std::move(section));
  }
  // A page without text still gives its page.
  if (sections.empty()) sections.push_back(std::move(pageSection));
  // Room for a line's pitch below the text, so that leading set around the
  // type does not push a column's last line over into the next column.
  if (pageLayout) {
    for (WordSection& section : sections) LeaveRoomBelowText(section, largestPitch);
    if (!lineCounts.empty()) FitSpacingToPage(sections, lineCounts, largestPitch);
  }
  return sections;
}

}  // namespace zelk
