#pragma once
// Ruled tables found on a page image by their rules alone: long horizontal
// and vertical strokes (Leptonica's morphological openings), gathered into
// frames, their positions into a grid of rows and columns, and the cells of
// that grid, joined where a rule between two of them is missing.
//
// Only framed tables count: the outer rules must close the table on all
// four sides and at least one inner rule must divide it, so a box around a
// paragraph or an underline never becomes a table.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"

namespace zelk {

// One cell: the grid rows and columns it covers.
struct RuledCell {
  int row = 0;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
};

struct RuledTable {
  // The middles of the rules in image pixels: columnRules.size() - 1
  // columns, rowRules.size() - 1 rows.
  std::vector<int> columnRules;  // left to right
  std::vector<int> rowRules;     // top to bottom
  std::vector<RuledCell> cells;  // row by row, each left to right
  int ruleWidth = 1;             // the thickest rule's width, pixels

  TextBox Box() const { return {columnRules.front(), rowRules.front(), columnRules.back(), rowRules.back()}; }
  // The inside of a cell, without the rules around it.
  TextBox Inside(const RuledCell& cell) const;
};

// The ruled tables of a page image (1-bit, or grey with dark rules on light
// paper) recognised at `dpi`, top to bottom.
std::vector<RuledTable> FindRuledTables(const Pix* image, int dpi);

}  // namespace zelk
