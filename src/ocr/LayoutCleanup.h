#pragma once
// Repairs applied to a recognised layout before anyone uses it.

#include "ocr/PageLayout.h"

namespace zelk {

// Makes the word boxes of a line usable for placing text: every box inside
// the line box, and the boxes in reading order without overlapping.  The
// recogniser sometimes places Chinese words a glyph off or gives one a box
// several glyphs wide; a run of such words is spread over the room its
// sound neighbours leave, in proportion to the width its characters need.
void RepairWordBoxes(LayoutLine& line);

// Drops lines that are fragments of their neighbours rather than text: far
// lower than the page's other lines, recognised with low confidence and
// overlapping a taller line (the top strokes of a row of Chinese characters
// read as a line of their own).  Paragraphs and text blocks left empty go too.
void RemoveFragmentLines(PageLayout& layout);

}  // namespace zelk
