#pragma once
// Everything recognition finds on one page, in the structure the document
// exporters need: blocks, paragraphs, lines and words in reading order, each
// with its box in page-image pixels (origin top left, right and bottom
// exclusive, as in TextBox).

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/PageText.h"

namespace zelk {

// A colour taken from the page image, 8 bits a channel.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline constexpr Rgb kBlackInk{0, 0, 0};
inline constexpr Rgb kWhitePaper{255, 255, 255};

struct LayoutWord {
  std::string text;  // UTF-8, never empty, no blanks
  TextBox box;
  float confidence = 0;  // 0 to 100
  // True when a blank belongs between this word and the next one of the
  // line (Latin words); false inside runs of Chinese characters and after
  // the line's last word.
  bool spaceAfter = false;
  Rgb color = kBlackInk;  // ink colour, when sampled from the image
};

struct LayoutLine {
  std::vector<LayoutWord> words;  // at least one
  TextBox box;
  int baseline = 0;       // y of the baseline at the line's horizontal centre
  double fontSize = 0;    // estimated size of the line's type, in points
};

enum class ParagraphAlignment { Unknown, Left, Center, Right };

struct LayoutParagraph {
  std::vector<LayoutLine> lines;  // at least one
  TextBox box;
  ParagraphAlignment alignment = ParagraphAlignment::Unknown;
  int firstLineIndent = 0;  // pixels; negative for a hanging indent
  bool isListItem = false;
};

enum class BlockKind {
  Text,       // running text
  Heading,    // a heading set apart from the running text
  Caption,    // caption or pull-out text
  Table,      // text found in a table region
  Image,      // picture region: a box without paragraphs
  Separator,  // ruling line: a box without paragraphs
  Other,
};

// One cell of a ruled table: the rows and columns of the table's grid it
// covers (more than one where the scan has no rule between them), the box
// inside its rules and the text recognised there on its own.
struct LayoutCell {
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
  TextBox box;
  std::vector<LayoutParagraph> paragraphs;  // empty for a blank cell
};

// A ruled table: where its rules stand and its cells.
struct LayoutTable {
  std::vector<int> columnRules;  // x of each vertical rule, left to right
  std::vector<int> rowRules;     // y of each horizontal rule, top to bottom
  std::vector<LayoutCell> cells;  // row by row, each left to right

  bool Empty() const { return cells.empty(); }
  int Columns() const { return static_cast<int>(columnRules.size()) - 1; }
  int Rows() const { return static_cast<int>(rowRules.size()) - 1; }
};

// The pixels of a picture region, cropped from the page image and encoded
// for a document (filled by the export, not by recognition).
struct LayoutPicture {
  std::string data;   // a PNG or JPEG file
  bool jpeg = false;  // false: PNG
};

struct LayoutBlock {
  BlockKind kind = BlockKind::Text;
  TextBox box;
  // Empty for Image and Separator.  A ruled table's block holds one
  // paragraph per row of its table, its cells' lines left to right, for
  // the readers that do not take tables apart.
  std::vector<LayoutParagraph> paragraphs;
  Rgb background = kWhitePaper;  // paper colour, when sampled from the image
  LayoutTable table{};           // the rules and cells of a ruled table
  LayoutPicture picture{};       // an Image block's pixels, when cropped
};

struct PageLayout {
  int width = 0;   // size in pixels of the image recognised: the page upright
  int height = 0;
  int dpi = 0;     // resolution the font sizes were estimated at
  std::vector<LayoutBlock> blocks;  // in reading order
  // How the recognised image lies on the page image as stored: boxes are in
  // the coordinates of the page turned upright and straightened.
  TextFrame frame;
};

}  // namespace zelk
