#pragma once
// Reading order of a page's blocks for the flowing document.
//
// The recogniser's block order can put a heading that spans two columns
// after the first column.  The page is therefore cut recursively along the
// widest blank band that no block crosses, across (rows top to bottom) or
// down (columns left to right, only where they stand side by side); blocks
// that no blank band separates keep the recogniser's order.

#include <cstddef>
#include <vector>

#include "ocr/PageLayout.h"

namespace zelk {

// Indices into `blocks` in reading order, the text blocks first; every
// index appears once.
std::vector<std::size_t> ReadingOrder(const std::vector<LayoutBlock>& blocks);

}  // namespace zelk
