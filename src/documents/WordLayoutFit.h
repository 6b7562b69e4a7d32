#pragma once
// The type of a flowing paragraph fitted to its column: the lines of the
// scan, set in the faces the document names (Times New Roman for Latin
// text, 宋体 for Chinese), must each fit the width they get in the
// document, so that the word processor wraps them where the scan does or
// later, never earlier.  Where the recogniser's size estimate makes a line
// too wide, the paragraph's type shrinks by half points until it fits.

#include <string_view>

#include "documents/WordDocument.h"
#include "documents/WordLayoutParagraphs.h"

namespace zelk {

// Width in points of UTF-8 text set at `size` points: Chinese and other
// East Asian characters one em, Latin text by the widths of Times New Roman
// (and of its metric twins, which word processors put in its place), the
// space word processors add between Chinese and Latin text at each change
// of script.  Characters of unknown width count as one em.
double SetTextWidth(std::u32string_view text, double size);

// Shrinks the type of the paragraph, every run by the same share and down
// to whole half points, so that each of its lines on the scan fits `width`
// points with a little to spare (the first line besides its indent, the
// others besides a hanging indent).  Runs without a size of their own are
// taken at `defaultSize`.  A paragraph that fits is left alone.
void FitTypeToWidth(PlacedParagraph& placed, double width, double defaultSize);

}  // namespace zelk
