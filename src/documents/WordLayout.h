#pragma once
// The mapping of recognised page layouts onto the editable document, one
// or more sections per page, under the layout-retention mode (BuildWordDocument in
// WordExport.h puts these together).

#include <vector>

#include "documents/WordDocument.h"
#include "documents/WordExport.h"
#include "documents/WordLayoutParagraphs.h"
#include "ocr/PageLayout.h"

namespace zelk {

// What of the page's look a mode keeps, with or without its colours.
ParagraphLook LookOf(const WordExportOptions& options);

// The page as flowing paragraphs in reading order (WordLayoutOrder.h).  In
// the editable-copy mode (and any mode code not known) also the columns of
// the page, one section per column band (WordLayoutBands.h), the first
// starting the page and the others continuing it, each column as wide as
// measured on the page and holding the paragraphs that stand in it, type
// that fits each line of the scan in its column (WordLayoutFit.h), and
// space before paragraphs for the blank space above them; the other
// flowing modes give one section of one column of plain paragraphs.
std::vector<WordSection> FlowingSections(const PageLayout& page, const WordExportOptions& options);

// The page's text blocks at their places in a grid (the exact-copy mode,
// WordGrid), their type fitted to the width of their cells.
WordSection GridSection(const PageLayout& page, const WordExportOptions& options);

}  // namespace zelk
