#include "documents/WordLayoutObjects.h"

#include <algorithm>
#include <cmath>

#include "documents/WordLayoutFit.h"

namespace zelk {
namespace {

// A cell's text whose blank space on its two sides differs by less than
// this share of the cell's width is centred.
constexpr double kCentredShare = 0.12;
// The same between a cell's top and bottom.
constexpr double kMiddleShare = 0.25;

double Half(double points) { return std::round(points * 2) / 2; }

// Where the text stands in its cell: centred, set right, or left.
WordAlignment AlignmentIn(const LayoutCell& cell, const LayoutParagraph& paragraph) {
  const int width = cell.box.right - cell.box.left;
  const int before = paragraph.box.left - cell.box.left;
  const int after = cell.box.right - paragraph.box.right;
  if (width <= 0) return WordAlignment::Left;
  if (std::abs(before - after) < kCentredShare * width && before > kCentredShare * width) return WordAlignment::Center;
  if (after < before / 3) return WordAlignment::Right;
  return WordAlignment::Left;
}

// Where the text stands between the cell's top and bottom: in the middle
// where the blank space above and below it differs by less than a quarter
// of the cell's height (type's ink does not fill its body evenly: figures
// stand high, a comma hangs low), at the foot where the space below is
// under a third of that above.
WordCellPlace PlaceIn(const LayoutCell& cell) {
  if (cell.paragraphs.empty()) return WordCellPlace::Top;
  const int height = cell.box.bottom - cell.box.top;
  const int above = cell.paragraphs.front().box.top - cell.box.top;
  const int below = cell.box.bottom - cell.paragraphs.back().box.bottom;
  if (height <= 0) return WordCellPlace::Top;
  if (std::abs(above - below) < kMiddleShare * height) return WordCellPlace::Middle;
  if (below < above / 3) return WordCellPlace::Bottom;
  return WordCellPlace::Top;
}

std::string TextOf(const std::vector<WordRun>& runs) {
  std::string text;
  for (const WordRun& run : runs) text += run.text;
  return text;
}

std::vector<WordParagraph> CellParagraphs(const LayoutCell& cell, const ParagraphLook& look, double width) {
  std::vector<WordParagraph> paragraphs;
  for (const LayoutParagraph& recognised : cell.paragraphs) {
    std::vector<WordRun> runs = ParagraphRuns(recognised, 0, recognised.lines.size(), look.runs, false);
    if (runs.empty()) continue;
    PlacedParagraph placed;
    placed.paragraph.alignment = look.alignment ? AlignmentIn(cell, recognised) : WordAlignment::Left;
    for (std::size_t line = 0; line < recognised.lines.size(); ++line) {
      placed.lines.push_back(ParagraphRuns(recognised, line, line + 1, look.runs, false));
    }
    placed.paragraph.runs = std::move(runs);
    FitTypeToWidth(placed, width - 2 * kTableCellMargin, WordDocument{}.defaultFontSize);
    paragraphs.push_back(std::move(placed.paragraph));
  }
  return paragraphs;
}

// The paragraph in whose place a table or picture stands: the block's box,
// its baselines at the block's foot.
PlacedParagraph ObjectParagraph(const LayoutBlock& block) {
  PlacedParagraph placed;
  placed.paragraph.runs.push_back(WordRun{});
  placed.box = block.box;
  placed.firstBaseline = placed.lastBaseline = block.box.bottom;
  return placed;
}

}  // namespace

bool IsRuledTable(const LayoutBlock& block) {
  return block.kind == BlockKind::Table && block.table.Rows() > 0 && block.table.Columns() > 0 &&
         !block.table.Empty();
}

bool HasPicture(const LayoutBlock& block) { return block.kind == BlockKind::Image && !block.picture.data.empty(); }

PlacedParagraph PictureParagraph(const LayoutBlock& block, const PointScale& points) {
  auto picture = std::make_shared<WordPicture>();
  picture->data = block.picture.data;
  picture->jpeg = block.picture.jpeg;
  picture->pixelWidth = block.box.right - block.box.left;
  picture->pixelHeight = block.box.bottom - block.box.top;
  picture->width = Half(points(picture->pixelWidth));
  picture->height = Half(points(picture->pixelHeight));
  PlacedParagraph placed = ObjectParagraph(block);
  placed.paragraph.picture = std::move(picture);
  return placed;
}

PlacedParagraph TableParagraph(const LayoutBlock& block, const ParagraphLook& look, const PointScale& points,
                               double areaLeft) {
  const LayoutTable& scanned = block.table;
  auto table = std::make_shared<WordTable>();
  table->indent = std::max(0.0, Half(points(scanned.columnRules.front()) - areaLeft));
  for (std::size_t i = 1; i < scanned.columnRules.size(); ++i) {
    table->columns.push_back(Half(points(scanned.columnRules[i] - scanned.columnRules[i - 1])));
  }
  for (std::size_t i = 1; i < scanned.rowRules.size(); ++i) {
    table->rows.push_back(Half(points(scanned.rowRules[i] - scanned.rowRules[i - 1])));
  }
  for (const LayoutCell& cell : scanned.cells) {
    double width = 0;
    for (int c = cell.column; c < cell.column + cell.columnSpan && c < scanned.Columns(); ++c) width += table->columns[c];
    table->cells.push_back(WordTableCell{cell.row, cell.column, cell.rowSpan, cell.columnSpan,
                                         CellParagraphs(cell, look, width), PlaceIn(cell)});
  }
  PlacedParagraph placed = ObjectParagraph(block);
  placed.paragraph.table = std::move(table);
  return placed;
}

std::vector<PlacedParagraph> TableRowsAsText(const LayoutBlock& block, const ParagraphLook& look) {
  const LayoutTable& table = block.table;
  std::vector<PlacedParagraph> rows;
  for (int row = 0; row < table.Rows(); ++row) {
    std::string text;
    bool first = true;
    for (const LayoutCell& cell : table.cells) {
      if (cell.row != row) continue;
      if (!first) text += '\t';
      first = false;
      for (const LayoutParagraph& paragraph : cell.paragraphs) {
        text += TextOf(ParagraphRuns(paragraph, 0, paragraph.lines.size(), look.runs, false));
      }
    }
    if (text.find_first_not_of('\t') == std::string::npos) continue;
    PlacedParagraph placed;
    placed.paragraph.runs.push_back(WordRun{text, 0, kBlackInk});
    placed.box = TextBox{table.columnRules.front(), table.rowRules[row], table.columnRules.back(), table.rowRules[row + 1]};
    placed.firstBaseline = placed.lastBaseline = placed.box.bottom;
    rows.push_back(std::move(placed));
  }
  return rows;
}

}  // namespace zelk
