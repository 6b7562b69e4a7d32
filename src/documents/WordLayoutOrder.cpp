#include "documents/WordLayoutOrder.h"

#include <algorithm>

#include "documents/WordLayoutGeometry.h"

namespace zelk {
namespace {

// Boxes may overlap their neighbours by this many pixels and still count
// as apart: recognised boxes are not drawn to the pixel.
constexpr int kOverlapSlack = 2;

struct Extent {
  int start;
  int end;
};

Extent Across(const TextBox& box) { return {box.top, box.bottom}; }
Extent Down(const TextBox& box) { return {box.left, box.right}; }

struct Cut {
  std::vector<std::vector<std::size_t>> groups;  // in order along the axis
  int widestGap = -1;                            // -1: no cut
};

// Groups of the blocks that no blank band along the axis separates, in
// order along the axis, with the widest band between two groups.
Cut CutAlong(const std::vector<LayoutBlock>& blocks, std::vector<std::size_t> members,
             Extent (*extentOf)(const TextBox&)) {
  std::stable_sort(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
    return extentOf(blocks[a].box).start < extentOf(blocks[b].box).start;
  });
  Cut cut;
  int reach = 0;
  for (std::size_t index : members) {
    const Extent extent = extentOf(blocks[index].box);
    if (cut.groups.empty() || extent.start + kOverlapSlack >= reach) {
      if (!cut.groups.empty()) cut.widestGap = std::max({cut.widestGap, extent.start - reach, 0});
      cut.groups.push_back({});
      reach = extent.end;
    } else {
      reach = std::max(reach, extent.end);
    }
    cut.groups.back().push_back(index);
  }
  if (cut.groups.size() < 2) cut.widestGap = -1;
  return cut;
}

// Columns stand side by side: each overlaps the next in height.  A short
// block alone in the gutter above two columns (a centred heading) is no
// column of its own.
bool SideBySide(const std::vector<LayoutBlock>& blocks, const Cut& columns) {
  auto heights = [&](const std::vector<std::size_t>& group) {
    Extent extent = Across(blocks[group.front()].box);
    for (std::size_t index : group) {
      extent.start = std::min(extent.start, blocks[index].box.top);
      extent.end = std::max(extent.end, blocks[index].box.bottom);
    }
    return extent;
  };
  for (std::size_t i = 1; i < columns.groups.size(); ++i) {
    const Extent before = heights(columns.groups[i - 1]);
    const Extent after = heights(columns.groups[i]);
    if (std::min(before.end, after.end) <= std::max(before.start, after.start)) return false;
  }
  return true;
}

void Order(const std::vector<LayoutBlock>& blocks, std::vector<std::size_t> members,
           std::vector<std::size_t>& order) {
  if (members.size() > 1) {
    const Cut rows = CutAlong(blocks, members, Across);
    Cut columns = CutAlong(blocks, members, Down);
    if (columns.widestGap >= 0 && !SideBySide(blocks, columns)) columns.widestGap = -1;
    const Cut* chosen = nullptr;
    if (rows.widestGap >= 0 && rows.widestGap >= columns.widestGap) chosen = &rows;
    else if (columns.widestGap >= 0) chosen = &columns;
    if (chosen != nullptr) {
      for (const std::vector<std::size_t>& group : chosen->groups) Order(blocks, group, order);
      return;
    }
    // Nothing separates these blocks: the recogniser's order stands.
    std::sort(members.begin(), members.end());
  }
  order.insert(order.end(), members.begin(), members.end());
}

}  // namespace

std::vector<std::size_t> ReadingOrder(const std::vector<LayoutBlock>& blocks) {
  // Pictures and rules give no text; they must not hold text blocks
  // together by overlapping them, so they follow the text in their order.
  std::vector<std::size_t> text;
  std::vector<std::size_t> others;
  for (std::size_t i = 0; i < blocks.size(); ++i) (HoldsText(blocks[i]) ? text : others).push_back(i);
  std::vector<std::size_t> order;
  order.reserve(blocks.size());
  Order(blocks, text, order);
  order.insert(order.end(), others.begin(), others.end());
  return order;
}

}  // namespace zelk
