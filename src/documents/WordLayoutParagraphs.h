#pragma once
// Document paragraphs of one recognised block, in the look a layout mode
// keeps, and the spacing that stands in for the blank space between them on
// the page.

#include <vector>

#include "documents/WordDocument.h"
#include "documents/WordLayoutGeometry.h"
#include "documents/WordLayoutText.h"
#include "ocr/PageLayout.h"

namespace zelk {

// What of the page's look the paragraphs keep.
struct ParagraphLook {
  RunLook runs;
  bool alignment = true;    // centred and right-aligned paragraphs stay so
  bool indent = true;       // first-line indents
  bool lineHeight = true;   // the line pitch of the page
  bool shading = true;      // the block's paper colour when it is not white
  bool objects = true;      // ruled tables as tables and pictures; false: tables as tab-separated rows, no pictures
};

// A document paragraph with where it came from on the page, in pixels,
// and its lines as the scan breaks them, each as the runs of its own text.
struct PlacedParagraph {
  WordParagraph paragraph;
  TextBox box;
  int firstBaseline = 0;
  int lastBaseline = 0;
  std::vector<std::vector<WordRun>> lines;
};

// One paragraph per recognised paragraph; in a table block one per line
// (a row of cells).  Paragraphs without text are left out.  A ruled table
// or a cropped picture gives one paragraph holding it (WordLayoutObjects.h),
// the table indented from `areaLeft`, points from the page's left edge.
std::vector<PlacedParagraph> BlockParagraphs(const LayoutBlock& block, const ParagraphLook& look,
                                             const PointScale& points, double areaLeft = 0);

// Pitch from the baseline before to the paragraph's first one that the
// word processor gives by itself, in points: its exact line pitch, or
// single spacing of its first run's type.
double NaturalAdvance(const WordParagraph& paragraph);

// Space before each paragraph, so that its first baseline stands as far
// below the last baseline of the paragraph before as on the page.
class ParagraphSpacing {
 public:
  // `originTop`: where the text area starts, in pixels.  `columns`: a
  // paragraph in a column right of the one before starts a new column, as
  // far down as the section's first paragraph and as far again as it stands
  // lower on the page; at most `columns` - 1 of them in the section.
  ParagraphSpacing(int originTop, int columns, const PointScale& points)
      : originTop_(originTop), columnBreaksLeft_(columns - 1), points_(points) {}

  // The section goes on below text that ends at `bottom` with its lowest
  // baseline at `baseline` (the band of the page above): the first
  // paragraph is spaced from that baseline instead of from originTop.
  void Below(int bottom, int baseline) {
    below_ = true;
    previousBottom_ = bottom;
    previousBaseline_ = baseline;
  }

  // Sets the paragraph's space before (and its column break) for a
  // paragraph of the given column (0 for the first), and takes it as the
  // one before the next.
  void Place(PlacedParagraph& placed, int column = 0);

 private:
  int originTop_;
  int columnBreaksLeft_;
  int column_ = 0;  // the column the paragraphs so far are set in
  PointScale points_;
  bool first_ = true;
  bool below_ = false;
  int firstTop_ = 0;        // the section's first paragraph: its top, pixels
  double firstBefore_ = 0;  // and its space before, points
  int previousBottom_ = 0;
  int previousBaseline_ = 0;
};

}  // namespace zelk
