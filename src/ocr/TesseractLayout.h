#pragma once
// Reads Tesseract's recognition results into a PageLayout.

#include "ocr/PageLayout.h"

namespace tesseract {
class ResultIterator;
}

namespace zelk {

// Walks the iterator from the start of the page.  Empty words, lines and
// text blocks are left out, punctuation inside Chinese text made fullwidth
// (ChinesePunctuation), word boxes repaired and fragment lines dropped
// (LayoutCleanup); blanks between words follow WordSpacing.
// dpi is the resolution the page was recognised at (for font sizes).
PageLayout ReadPageLayout(tesseract::ResultIterator& iterator, int width, int height, int dpi);

}  // namespace zelk
