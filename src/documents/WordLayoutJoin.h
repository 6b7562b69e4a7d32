#pragma once
// Blocks the recogniser cut apart along their lines.  A heading across the
// gutter of a two-column page can come back as two blocks side by side, a
// word's breadth apart, their lines on the same baselines; each half then
// lies within a column and would open it.  Joined again, the heading spans
// the columns.

#include <vector>

#include "ocr/PageLayout.h"

namespace zelk {

// The blocks with every such pair joined into the left one of the two (in
// its place of the order), its lines extended by the right one's words.
std::vector<LayoutBlock> JoinSplitBlocks(std::vector<LayoutBlock> blocks);

}  // namespace zelk
