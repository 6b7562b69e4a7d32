#include "documents/WordLayoutBands.h"

#include <algorithm>

namespace zelk {
namespace {

// A block that crosses the middle of a gutter cannot stand in one column.
// The middle, not the edges: a column block a little wider than its
// neighbours reaches into the gutter without running across it.
bool CrossesGutter(const TextBox& box, const ColumnLayout& columns) {
  return std::any_of(columns.gutters.begin(), columns.gutters.end(), [&](const Gutter& gutter) {
    const int middle = (gutter.left + gutter.right) / 2;
    return box.left < middle && box.right > middle;
  });
}

}  // namespace

std::vector<ColumnBand> ColumnBands(const std::vector<LayoutBlock>& blocks,
                                    const std::vector<std::size_t>& order,
                                    const ColumnLayout& columns) {
  if (columns.columns <= 1 || columns.gutters.empty()) return {ColumnBand{order, false}};
  std::vector<ColumnBand> bands;
  for (std::size_t index : order) {
    const LayoutBlock& block = blocks[index];
    if (!HoldsText(block) && !bands.empty()) {
      bands.back().blocks.push_back(index);
      continue;
    }
    const bool multiColumn = !CrossesGutter(block.box, columns);
    if (bands.empty() || bands.back().multiColumn != multiColumn) bands.push_back({{}, multiColumn});
    bands.back().blocks.push_back(index);
  }
  return bands;
}

}  // namespace zelk
