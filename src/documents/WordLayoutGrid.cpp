// The exact-copy mode: the page's text blocks in a borderless table (see
// WordGrid), row by row down the page.

#include <algorithm>
#include <cmath>

#include "documents/WordLayout.h"
#include "documents/WordLayoutFit.h"
#include "documents/WordLayoutObjects.h"
#include "documents/WordLayoutOrder.h"

namespace zelk {
namespace {

// Grid lines closer than this (points) are taken as one: no cell of a
// hair's width.
constexpr double kNarrowestGridColumn = 3;

// Blocks standing side by side over one stretch of the page's height.
struct Band {
  int top = 0;
  int bottom = 0;
  std::vector<std::size_t> blocks;
  bool table = false;  // one ruled table, a row of its own
};

// Blocks of a band standing one above the other in one stretch of its width.
struct BandCell {
  int left = 0;
  int right = 0;
  std::vector<std::size_t> blocks;  // top to bottom
};

// Bands of the text blocks: blocks overlapping in height go into one band.
std::vector<Band> Bands(const std::vector<LayoutBlock>& blocks, std::vector<std::size_t> text) {
  std::stable_sort(text.begin(), text.end(),
                   [&](std::size_t a, std::size_t b) { return blocks[a].box.top < blocks[b].box.top; });
  std::vector<Band> bands;
  for (std::size_t index : text) {
    const TextBox& box = blocks[index].box;
    if (bands.empty() || box.top >= bands.back().bottom) bands.push_back(Band{box.top, box.bottom, {}, false});
    bands.back().bottom = std::max(bands.back().bottom, box.bottom);
    bands.back().blocks.push_back(index);
  }
  return bands;
}

// The cells of a band, left to right: blocks overlapping in width share one.
std::vector<BandCell> CellsOf(const std::vector<LayoutBlock>& blocks, const Band& band) {
  std::vector<std::size_t> order = band.blocks;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return blocks[a].box.left < blocks[b].box.left; });
  std::vector<BandCell> cells;
  for (std::size_t index : order) {
    const TextBox& box = blocks[index].box;
    if (cells.empty() || box.left >= cells.back().right) cells.push_back(BandCell{box.left, box.right, {}});
    cells.back().right = std::max(cells.back().right, box.right);
    cells.back().blocks.push_back(index);
  }
  for (BandCell& cell : cells) {
    std::stable_sort(cell.blocks.begin(), cell.blocks.end(),
                     [&](std::size_t a, std::size_t b) { return blocks[a].box.top < blocks[b].box.top; });
  }
  return cells;
}

// Where each cell of a band ends, in points from the page's left edge: in
// the middle of the blank strip between neighbouring cells, the last at
// the end of the text area.
std::vector<double> CellEnds(const std::vector<BandCell>& cells, const WordSection& section,
                             const PointScale& points) {
  std::vector<double> ends;
  for (std::size_t i = 0; i + 1 < cells.size(); ++i) ends.push_back(points(cells[i].right + cells[i + 1].left) / 2);
  ends.push_back(section.pageWidth - section.marginRight);
  return ends;
}

// The grid line nearest `x`.
std::size_t NearestLine(const std::vector<double>& lines, double x) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (std::abs(lines[i] - x) < std::abs(lines[best] - x)) best = i;
  }
  return best;
}

// Indents that keep the paragraph where it stands on the page within its
// cell (from `left` to `right`, points), and its type fitted to the room
// left between them.
void PlaceInCell(PlacedParagraph& placed, double left, double right, const PointScale& points) {
  WordParagraph& paragraph = placed.paragraph;
  const double start = std::clamp(points(placed.box.left), left, right);
  const double end = std::clamp(points(placed.box.right), start, right);
  switch (paragraph.alignment) {
    case WordAlignment::Right:
      paragraph.rightIndent = right - end;
      break;
    case WordAlignment::Center: {
      const double middle = (start + end) / 2;
      const double half = std::min(middle - left, right - middle);
      paragraph.leftIndent = middle - half - left;
      paragraph.rightIndent = right - (middle + half);
      break;
    }
    default:
      paragraph.leftIndent = start - left;
      break;
  }
  paragraph.leftIndent = std::round(paragraph.leftIndent * 2) / 2;
  paragraph.rightIndent = std::round(paragraph.rightIndent * 2) / 2;
  FitTypeToWidth(placed, right - left - paragraph.leftIndent - paragraph.rightIndent, WordDocument{}.defaultFontSize);
}

}  // namespace

WordSection GridSection(const PageLayout& page, const WordExportOptions& options) {
  WordSection section;
  SetPageGeometry(page, section);
  const PointScale points(page.dpi);
  const ParagraphLook look = LookOf(options);
  std::vector<std::size_t> text;
  std::vector<Band> bands;
  for (std::size_t index : ReadingOrder(page.blocks)) {
    const LayoutBlock& block = page.blocks[index];
    if (IsRuledTable(block)) {
      bands.push_back(Band{block.box.top, block.box.bottom, {index}, true});
    } else if (HoldsText(block)) {
      text.push_back(index);
    }
  }
  // Ruled tables stand between the bands of the text above and below them.
  for (const Band& band : Bands(page.blocks, text)) bands.push_back(band);
  std::stable_sort(bands.begin(), bands.end(), [](const Band& a, const Band& b) { return a.top < b.top; });

  // The grid lines: the left margin and every cell's end, lines closer
  // than the narrowest column taken as one.
  std::vector<std::vector<BandCell>> bandCells;
  std::vector<double> lines{section.marginLeft};
  for (const Band& band : bands) {
    bandCells.push_back(band.table ? std::vector<BandCell>{} : CellsOf(page.blocks, band));
    if (band.table) continue;
    for (double end : CellEnds(bandCells.back(), section, points)) lines.push_back(end);
  }
  std::sort(lines.begin(), lines.end());
  std::vector<double> merged;
  for (double x : lines) {
    if (merged.empty() || x - merged.back() >= kNarrowestGridColumn) merged.push_back(std::round(x * 2) / 2);
  }
  merged.back() = section.pageWidth - section.marginRight;
  for (std::size_t i = 1; i < merged.size(); ++i) section.grid.columns.push_back(merged[i] - merged[i - 1]);

  // Each row starts where the word processor's first line box must start
  // for the band's first baseline to stand where it stands on the page (a
  // line's pitch above it), and reaches to where the next row starts, so
  // that a row's lines fill it as they fill the band and no row grows.
  std::vector<double> rowTops;  // points
  std::vector<std::vector<std::vector<PlacedParagraph>>> rowParagraphs;
  std::vector<std::vector<WordCell>> rowCells;  // spans and colours
  double largestPitch = 0;
  for (std::size_t b = 0; b < bands.size(); ++b) {
    if (bands[b].table) {
      rowTops.push_back(points(bands[b].top));
      rowParagraphs.emplace_back();
      rowCells.emplace_back();
      continue;
    }
    // Each cell's grid lines; a cell whose end falls on a line already
    // taken joins the cell before.
    const std::vector<double> ends = CellEnds(bandCells[b], section, points);
    std::vector<BandCell> cells;
    std::vector<std::size_t> endLines;
    for (std::size_t c = 0; c < bandCells[b].size(); ++c) {
      const std::size_t start = endLines.empty() ? 0 : endLines.back();
      const std::size_t endLine = std::min(std::max(NearestLine(merged, ends[c]), start + 1), merged.size() - 1);
      if (endLine <= start && !cells.empty()) {
        const std::vector<std::size_t>& more = bandCells[b][c].blocks;
        cells.back().blocks.insert(cells.back().blocks.end(), more.begin(), more.end());
        continue;
      }
      cells.push_back(bandCells[b][c]);
      endLines.push_back(endLine);
    }
    double top = points(bands[b].top);
    std::vector<std::vector<PlacedParagraph>> cellParagraphs;
    std::vector<WordCell> shells;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      cellParagraphs.emplace_back();
      WordCell shell;
      shell.span = static_cast<int>(endLines[c] - (c == 0 ? 0 : endLines[c - 1]));
      for (std::size_t index : cells[c].blocks) {
        const LayoutBlock& block = page.blocks[index];
        if (!shell.hasBackground && options.keepColours && !(block.background == kWhitePaper)) {
          shell.hasBackground = true;
          shell.background = block.background;
        }
        for (PlacedParagraph& placed : BlockParagraphs(block, look, points)) {
          PlaceInCell(placed, merged[c == 0 ? 0 : endLines[c - 1]], merged[endLines[c]], points);
          if (!placed.paragraph.picture) largestPitch = std::max(largestPitch, NaturalAdvance(placed.paragraph));
          cellParagraphs.back().push_back(std::move(placed));
        }
      }
      shells.push_back(shell);
      if (!cellParagraphs.back().empty()) {
        const PlacedParagraph& first = cellParagraphs.back().front();
        top = std::min(top, points(first.firstBaseline) - NaturalAdvance(first.paragraph));
      }
    }
    rowTops.push_back(std::max(top, 0.0));
    rowParagraphs.push_back(std::move(cellParagraphs));
    rowCells.push_back(std::move(shells));
  }
  if (!rowTops.empty()) section.marginTop = std::max(rowTops.front(), 0.0);

  for (std::size_t b = 0; b < bands.size(); ++b) {
    const double next = b + 1 < bands.size() ? rowTops[b + 1] : points(bands[b].bottom);
    WordGridRow row;
    row.height = std::max(std::round((next - rowTops[b]) * 2) / 2, 1.0);
    if (bands[b].table) {
      row.table = TableParagraph(page.blocks[bands[b].blocks.front()], look, points, section.marginLeft).paragraph.table;
      section.grid.rows.push_back(std::move(row));
      continue;
    }
    const int topPixels = static_cast<int>(std::floor(rowTops[b] / points(1)));
    std::size_t line = 0;
    for (std::size_t c = 0; c < rowParagraphs[b].size(); ++c) {
      WordCell cell = rowCells[b][c];
      line += static_cast<std::size_t>(cell.span);
      ParagraphSpacing spacing(topPixels, 1, points);
      spacing.Below(topPixels, topPixels);
      for (PlacedParagraph& placed : rowParagraphs[b][c]) {
        spacing.Place(placed);
        cell.paragraphs.push_back(std::move(placed.paragraph));
      }
      row.cells.push_back(std::move(cell));
    }
    // The rest of the row is blank.
    if (line + 1 < merged.size()) row.cells.push_back(WordCell{static_cast<int>(merged.size() - 1 - line), {}, false, kWhitePaper});
    section.grid.rows.push_back(std::move(row));
  }
  if (section.grid.rows.empty()) section.grid.columns.clear();
  // Room for a line's pitch below the text: leading set around the type
  // must not push the last row onto a page of its own.
  LeaveRoomBelowText(section, largestPitch);
  return section;
}

}  // namespace zelk
