#pragma once
// Document paragraphs of one recognised block, in the look a layout mode
// keeps, and the spacing that stands in for the blank space between them on
// the page.

#include <vector>

#include "ocr/PageLayout.h"
#include "ocr/WordDocument.h"
#include "ocr/WordLayoutGeometry.h"
#include "ocr/WordLayoutText.h"

namespace zelk {

// What of the page's look the paragraphs keep.
struct ParagraphLook {
  RunLook runs;
  bool alignment = true;    // centred and right-aligned paragraphs stay so
  bool indent = true;       // first-line indents
  bool lineHeight = true;   // the line pitch of the page
  bool shading = true;      // the block's paper colour when it is not white
};

// A document paragraph with the page box it came from.
struct PlacedParagraph {
  WordParagraph paragraph;
  TextBox box;
};

// One paragraph per recognised paragraph; in a table block one per line
// (a row of cells).  Paragraphs without text are left out.
std::vector<PlacedParagraph> BlockParagraphs(const LayoutBlock& block, const ParagraphLook& look,
                                             const PointScale& points);

// Space before each paragraph from the blank space above it on the page,
// less the usual leading between lines (which the line pitch already gives).
class ParagraphSpacing {
 public:
  // `originTop`: where the text area starts, in pixels; `newColumns`: a
  // paragraph above the one before starts a new column, measured from
  // originTop again.
  ParagraphSpacing(int originTop, int leading, bool newColumns, const PointScale& points)
      : originTop_(originTop), leading_(leading), newColumns_(newColumns), points_(points) {}

  // Space before the paragraph in points, and the paragraph taken as the
  // one before the next.
  double Before(const TextBox& box);

 private:
  int originTop_;
  int leading_;
  bool newColumns_;
  PointScale points_;
  bool first_ = true;
  int previousBottom_ = 0;
};

}  // namespace zelk
