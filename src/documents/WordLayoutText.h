#pragma once
// The text of a recognised paragraph as document runs: its lines joined
// into one stretch of text, split into runs where the look changes.

#include <vector>

#include "documents/WordDocument.h"
#include "ocr/PageLayout.h"

namespace zelk {

// What of the page's look the runs carry.
struct RunLook {
  bool fontSizes = true;  // false: every run in the document's default size
  bool colours = true;    // false: every run black
};

// Whether a blank joins a line ending in `previous` to the next line
// starting with `next` (UTF-8 texts).  Latin text gets one; Chinese does
// not, nor a Latin word broken at a hyphen, which keeps its hyphen.
bool BlankBetweenLines(const std::string& previous, const std::string& next);

// Size of a line's type in points, rounded to half points: the
// paragraph's usual size when the line is within a sixth of it, so that
// jitter in the estimates does not break a paragraph into runs; 0 when
// unknown.
double LineFontSize(const LayoutParagraph& paragraph, std::size_t line);

// Lines [firstLine, endLine) of the paragraph joined into runs.  In a table
// row, words that stand apart (separate cells) get a blank between them even
// where the script asks for none.
std::vector<WordRun> ParagraphRuns(const LayoutParagraph& paragraph, std::size_t firstLine,
                                   std::size_t endLine, const RunLook& look, bool tableRow);

}  // namespace zelk
