#pragma once
// Reads Tesseract's recognition results into a PageLayout.

#include "ocr/PageLayout.h"

namespace tesseract {
class ResultIterator;
class TessBaseAPI;
}

namespace zelk {

// Walks the iterator from the start of the page.  Empty words, lines and
// text blocks are left out, punctuation inside Chinese text made fullwidth
// (ChinesePunctuation), word boxes repaired and fragment lines dropped
// (LayoutCleanup); blanks between words follow WordSpacing.
// dpi is the resolution the page was recognised at (for font sizes).
// With `columns` (text set in columns, read top to bottom), every box is
// given in the frame turned a quarter counter-clockwise, where the columns
// are lines read left to right and stacked top to bottom; the layout's
// width and height are that frame's.
PageLayout ReadPageLayout(tesseract::ResultIterator& iterator, int width, int height, int dpi,
                          bool columns = false);

// Recognises `box` of the image `api` holds (`width` x `height` pixels),
// with the page segmentation mode `api` is set to, and reads the result;
// an empty layout when recognition fails.
PageLayout ReadRectangle(tesseract::TessBaseAPI& api, const TextBox& box, int width, int height, int dpi);

}  // namespace zelk
