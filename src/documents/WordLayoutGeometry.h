#pragma once
// Page measures for the word-processor export: pixels to points, page size
// and margins, and the newspaper columns of a page.

#include <vector>

#include "documents/WordDocument.h"
#include "ocr/PageLayout.h"

namespace zelk {

// Resolution taken for a page that states none.
inline constexpr int kAssumedDpi = 300;

// Converts page-image pixels into points at the page's resolution.
class PointScale {
 public:
  explicit PointScale(int dpi) : pointsPerPixel_(72.0 / (dpi > 0 ? dpi : kAssumedDpi)) {}
  double operator()(double pixels) const { return pixels * pointsPerPixel_; }

 private:
  double pointsPerPixel_;
};

// Blocks that hold text or a cropped picture for the document (rules and
// pictures without pixels do not).
bool HoldsText(const LayoutBlock& block);

// Page size from the image; margins from the box around the page's text,
// each kept between a quarter inch and a quarter of the page, so that the
// text area never vanishes; one inch where the page has no text.
void SetPageGeometry(const PageLayout& page, WordSection& section);

// Lowers the section's bottom margin by `room` points, down to the
// smallest margin: the word processor sets leading below a page's last
// line, where the margin measured on the scan ends at its ink.
void LeaveRoomBelowText(WordSection& section, double room);

// The blank strip between two neighbouring columns, in pixels.
struct Gutter {
  int left = 0;
  int right = 0;
};

// The horizontal extent of a column, in pixels.
struct ColumnExtent {
  int left = 0;
  int right = 0;
};

struct ColumnLayout {
  int columns = 1;
  int gap = 0;  // pixels between neighbouring columns, the narrowest gutter
  std::vector<Gutter> gutters;  // columns - 1 of them, left to right
  std::vector<ColumnExtent> extents;  // columns of them, left to right
};

// Columns of running text standing side by side: blocks that have a
// neighbour beside them (overlapping it in height, not in width) grouped by
// their horizontal extent, widened by the other blocks that stand in one of
// them only.  One column where no such blocks cover a good
// part of the text's height, and where more bands are found than pages
// have columns (a grid of cells, not columns).
ColumnLayout DetectColumns(const PageLayout& page);

// The column of `columns` a box stands in: the one it overlaps most in
// width, the nearest where it overlaps none.
int ColumnOf(const TextBox& box, const std::vector<ColumnExtent>& columns);

// The columns of a stretch of the page (the blocks `members`) as its text
// fills them: every text block goes to the column of the page it stands in,
// and each column reaches from the left edge of its blocks to the right
// edge of the widest; a column none of them stands in keeps its extent on
// the page.  The page's columns when it has more than one, else empty.
std::vector<ColumnExtent> MeasuredColumns(const std::vector<LayoutBlock>& blocks,
                                          const std::vector<std::size_t>& members,
                                          const ColumnLayout& columns);

}  // namespace zelk
