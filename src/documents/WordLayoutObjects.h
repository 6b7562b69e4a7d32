#pragma once
// Ruled tables and pictures of a recognised page as document objects: a
// table with the scan's grid, row heights, joined cells and each cell's
// text, and a picture at its size on the page, each in the place of a
// paragraph; or, in plain text, a table's rows as lines of cells separated
// by tabs.

#include <vector>

#include "documents/WordLayoutParagraphs.h"

namespace zelk {

// A table block whose cells were read one by one.
bool IsRuledTable(const LayoutBlock& block);
// A picture block whose pixels were cropped for the document.
bool HasPicture(const LayoutBlock& block);

// The picture in a paragraph of its own, its box and baselines the
// picture's, its advance the picture's height.
PlacedParagraph PictureParagraph(const LayoutBlock& block, const PointScale& points);

// The table in a paragraph's place, indented from `areaLeft` (points from
// the page's left edge: the text area or cell it stands in) to where it
// stands on the page; each cell's text in the look, fitted to its cell.
PlacedParagraph TableParagraph(const LayoutBlock& block, const ParagraphLook& look, const PointScale& points,
                               double areaLeft);

// Plain text: a paragraph a row, the texts of the cells that start in it
// separated by tabs.
std::vector<PlacedParagraph> TableRowsAsText(const LayoutBlock& block, const ParagraphLook& look);

}  // namespace zelk
