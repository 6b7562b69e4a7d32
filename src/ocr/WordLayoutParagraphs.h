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

// A document paragraph with where it came from on the page, in pixels.
struct PlacedParagraph {
  WordParagraph paragraph;
  TextBox box;
  int firstBaseline = 0;
  int lastBaseline = 0;
};

// One paragraph per recognised paragraph; in a table block one per line
// (a row of cells).  Paragraphs without text are left out.
std::vector<PlacedParagraph> BlockParagraphs(const LayoutBlock& block, const ParagraphLook& look,
                                             const PointScale& points);

// Space before each paragraph, so that its first baseline stands as far
// below the last baseline of the paragraph before as on the page.
class ParagraphSpacing {
 public:
  // `originTop`: where the text area starts, in pixels.  `newColumns`: a
  // paragraph above the one before starts a new column, measured from
  // originTop again; at most `columns` - 1 of them on the page.
  ParagraphSpacing(int originTop, int columns, const PointScale& points)
      : originTop_(originTop), columnBreaksLeft_(columns - 1), points_(points) {}

  // Sets the paragraph's space before (and its column break), and takes it
  // as the one before the next.
  void Place(PlacedParagraph& placed);

 private:
  int originTop_;
  int columnBreaksLeft_;
  PointScale points_;
  bool first_ = true;
  int previousBottom_ = 0;
  int previousBaseline_ = 0;
};

}  // namespace zelk
