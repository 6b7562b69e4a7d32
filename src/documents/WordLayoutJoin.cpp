#include "documents/WordLayoutJoin.h"

#include <algorithm>
#include <cstdlib>

#include "documents/WordLayoutGeometry.h"
#include "ocr/WordSpacing.h"

namespace zelk {
namespace {

// Two pieces of one line stand at most this share of the line's height
// apart (a blank between words is about a quarter of it; a gutter between
// columns is more than the height of their type).
constexpr double kSplitGapShare = 0.6;
// Their baselines differ by at most this share of the line's height.
constexpr double kBaselineShare = 0.25;

int Height(const TextBox& box) { return std::max(box.bottom - box.top, 1); }

int BaselineOf(const LayoutLine& line) { return line.baseline > 0 ? line.baseline : line.box.bottom; }

// The block's lines in order, through all its paragraphs.
template <typename Block>
auto LinesOf(Block& block) {
  std::vector<decltype(&block.paragraphs.front().lines.front())> lines;
  for (auto& paragraph : block.paragraphs) {
    for (auto& line : paragraph.lines) lines.push_back(&line);
  }
  return lines;
}

void Extend(TextBox& box, const TextBox& other) {
  box.left = std::min(box.left, other.left);
  box.top = std::min(box.top, other.top);
  box.right = std::max(box.right, other.right);
  box.bottom = std::max(box.bottom, other.bottom);
}

// Whether `right` holds the ends of the lines of `left`: as many lines,
// pairwise on one baseline, with no more than a blank's breadth between
// the two blocks.
bool SplitApart(const LayoutBlock& left, const LayoutBlock& right) {
  if (!HoldsText(left) || !HoldsText(right) || left.paragraphs.empty() || right.paragraphs.empty()) return false;
  if (!left.table.Empty() || !right.table.Empty()) return false;
  const auto starts = LinesOf(left);
  const auto ends = LinesOf(right);
  if (starts.size() != ends.size()) return false;
  const int gap = right.box.left - left.box.right;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const int height = std::min(Height(starts[i]->box), Height(ends[i]->box));
    if (gap < 0 || gap > kSplitGapShare * height) return false;
    if (std::abs(BaselineOf(*starts[i]) - BaselineOf(*ends[i])) > kBaselineShare * height) return false;
  }
  return true;
}

void Join(LayoutBlock& left, const LayoutBlock& right) {
  const auto starts = LinesOf(left);
  const auto ends = LinesOf(right);
  for (std::size_t i = 0; i < starts.size(); ++i) {
    LayoutLine& line = *starts[i];
    const LayoutLine& end = *ends[i];
    LayoutWord& last = line.words.back();
    last.spaceAfter = BlankBetweenWords(last.text, end.words.front().text, end.words.front().box.left - last.box.right,
                                        std::min(Height(line.box), Height(end.box)));
    line.words.insert(line.words.end(), end.words.begin(), end.words.end());
    Extend(line.box, end.box);
  }
  const ParagraphAlignment alignment = right.paragraphs.front().alignment;
  for (LayoutParagraph& paragraph : left.paragraphs) {
    for (const LayoutLine& line : paragraph.lines) Extend(paragraph.box, line.box);
    if (paragraph.alignment != alignment) paragraph.alignment = ParagraphAlignment::Unknown;
  }
  Extend(left.box, right.box);
  if (right.kind == BlockKind::Heading) left.kind = BlockKind::Heading;
}

}  // namespace

std::vector<LayoutBlock> JoinSplitBlocks(std::vector<LayoutBlock> blocks) {
  for (bool joined = true; joined;) {
    joined = false;
    for (std::size_t a = 0; a < blocks.size() && !joined; ++a) {
      for (std::size_t b = 0; b < blocks.size() && !joined; ++b) {
        if (a == b || !SplitApart(blocks[a], blocks[b])) continue;
        // The joined block takes the earlier place of the two.
        Join(blocks[a], blocks[b]);
        if (b < a) std::swap(blocks[a], blocks[b]);
        blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(std::max(a, b)));
        joined = true;
      }
    }
  }
  return blocks;
}

}  // namespace zelk
