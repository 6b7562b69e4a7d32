#pragma once
// The column bands of a page for the flowing document: stretches of the
// page's blocks, top to bottom, each set in one column count.  A heading or
// note that runs across the gutter between the columns below or above it
// stands in a one-column band of its own, so that it spans the page instead
// of landing in the first column.

#include <cstddef>
#include <vector>

#include "documents/WordLayoutGeometry.h"
#include "ocr/PageLayout.h"

namespace zelk {

struct ColumnBand {
  std::vector<std::size_t> blocks;  // indices into the page's blocks, in reading order
  bool multiColumn = false;         // set in the page's columns; otherwise one column
};

// Splits the blocks in reading order (`order`) into bands: a text block
// that crosses the middle of a gutter between the columns belongs to a
// one-column band, runs of the others to a band of the page's columns.
// Blocks without text stay in the band they follow.  One one-column band
// when the page has a single column.
std::vector<ColumnBand> ColumnBands(const std::vector<LayoutBlock>& blocks,
                                    const std::vector<std::size_t>& order,
                                    const ColumnLayout& columns);

}  // namespace zelk
