#pragma once
// The editable document the word-processor export writes: a neutral model
// between the recognised page layouts and the file formats.  The layout
// mapping (WordLayout.h) fills it under the layout-retention mode; the RTF
// and DOCX writers (WordWriters.h) only serialise it.
//
// Lengths are in points (1/72 inch); page coordinates have their origin at
// the page's top left corner.

#include <memory>
#include <string>
#include <vector>

#include "ocr/PageLayout.h"

namespace zelk {

// One stretch of text in one look.  The writers pick the fonts by script:
// Chinese (and other East Asian) characters in SimSun (宋体), Latin text in a Latin
// serif font.
struct WordRun {
  std::string text;      // UTF-8, no line breaks
  double fontSize = 0;   // points; 0 leaves the document's default size
  Rgb color = kBlackInk;
};

enum class WordAlignment { Left, Center, Right, Justify };

// A picture cropped from the page, set inline at its size on the page.
struct WordPicture {
  std::string data;  // a PNG or JPEG file
  bool jpeg = false;
  int pixelWidth = 0;
  int pixelHeight = 0;
  double width = 0;   // points
  double height = 0;
};

struct WordTable;

// One paragraph: the lines of a recognised paragraph joined into one run
// of text (no hard line break inside).
struct WordParagraph {
  std::vector<WordRun> runs;  // at least one
  WordAlignment alignment = WordAlignment::Left;
  double firstLineIndent = 0;  // points; negative for a hanging indent
  double leftIndent = 0;       // points from the left of the column or cell
  double rightIndent = 0;      // points from its right
  double spaceBefore = 0;      // points above the paragraph
  double spaceAfter = 0;       // points below the paragraph
  double lineHeight = 0;       // exact line pitch in points; 0 leaves single spacing
  // Starts the next newspaper column of its section: the column before ends
  // here, as it does on the page, however much room is left in it.
  bool columnBreakBefore = false;
  bool hasShading = false;     // background colour behind the paragraph
  Rgb shading = kWhitePaper;
  // A paragraph holding only a picture (its runs are empty), or the place
  // of a ruled table, which the writers set instead of a paragraph.
  std::shared_ptr<const WordPicture> picture;
  std::shared_ptr<const WordTable> table;
};

// Where a table cell's text stands between its top and bottom rules.
enum class WordCellPlace { Top, Middle, Bottom };

// One cell of a ruled table: the grid rows and columns it covers.
struct WordTableCell {
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
  std::vector<WordParagraph> paragraphs;  // empty for a blank cell
  WordCellPlace place = WordCellPlace::Top;
};

// Room a table cell keeps free left and right of its text, in points: the
// margins both writers set, which the layout leaves when it fits the text.
inline constexpr double kTableCellMargin = 3;

// A ruled table as the scan has it: every cell framed by single rules,
// cells the scan joins joined (DOCX gridSpan and vMerge, RTF wider cells
// and \clvmgf).
struct WordTable {
  double indent = 0;             // points from the left of the text area
  std::vector<double> columns;   // widths in points, left to right
  std::vector<double> rows;      // least heights in points, top to bottom
  std::vector<WordTableCell> cells;  // row by row, each left to right

  double Height() const {
    double height = 0;
    for (double row : rows) height += row;
    return height;
  }
  // The cell that covers the grid position, or null.
  const WordTableCell* Covering(int row, int column) const {
    for (const WordTableCell& cell : cells) {
      if (row >= cell.row && row < cell.row + cell.rowSpan && column >= cell.column &&
          column < cell.column + cell.columnSpan) {
        return &cell;
      }
    }
    return nullptr;
  }
};

// One cell of a grid row, `span` columns of the grid wide: the paragraphs
// of the text blocks that stand in it, or blank space.
struct WordCell {
  int span = 1;
  std::vector<WordParagraph> paragraphs;  // empty for blank space
  bool hasBackground = false;
  Rgb background = kWhitePaper;
};

struct WordGridRow {
  // Least height in points: as far as the next row starts on the page.
  // Text that needs more grows the row and moves the rows below down.
  double height = 0;
  std::vector<WordCell> cells;  // spans adding up to the grid's columns
  // Instead of cells: a ruled table of the page, set between the grid's
  // rows above and below it, `height` taking it and the space below it.
  std::shared_ptr<const WordTable> table;
};

// Positioned text as a borderless table from the left margin (the
// exact-copy mode): each row one band of the page, each cell a stretch of
// the band with the blocks that stand in it, in place by the widths of the
// cells and the indents and spacing of the paragraphs.  Word and
// LibreOffice lay tables out alike, grow a row with its text instead of
// printing over the next, and export and copy a table's text with the
// rest.
struct WordGrid {
  std::vector<double> columns;  // widths in points, left to right
  std::vector<WordGridRow> rows;  // top to bottom; none: no grid
};

// One newspaper column of a section as measured on the page: its width and
// the blank gutter to its right, in points (none after the last column).
struct WordColumn {
  double width = 0;
  double gapAfter = 0;
};

// One band of a source page, with the columns of that band: a page whose
// full-width heading stands above two columns is a one-column section
// followed by a two-column one.  The first section of a page starts a new
// page of its own size; the page's later bands continue it (a continuous
// section break) and have the same page size and margins.
struct WordSection {
  double pageWidth = 595.3;  // points (A4 when the image gives no size)
  double pageHeight = 841.9;
  double marginLeft = 72;
  double marginRight = 72;
  double marginTop = 72;
  double marginBottom = 72;
  int columns = 1;         // newspaper columns of the flowing text
  double columnGap = 21;   // points between columns
  // The columns one by one, left to right, filling the width between the
  // margins; empty for columns of equal width with `columnGap` between them.
  std::vector<WordColumn> columnWidths;
  std::vector<WordParagraph> paragraphs;  // flowing text, in reading order
  WordGrid grid;                          // positioned text, before the flowing text
  // Starts on the same page, below the section before, instead of on a new
  // page.  Meaningless for the document's first section.
  bool continuesPage = false;
  // Text set in columns as on the scan: lines run top to bottom and follow
  // one another right to left.  The page and margins are still the paper's.
  bool verticalText = false;
};

struct WordDocument {
  double defaultFontSize = 10.5;  // points (五号)
  std::vector<WordSection> sections;  // one or more per source page, in page order
};

}  // namespace zelk
