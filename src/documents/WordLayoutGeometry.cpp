#include "documents/WordLayoutGeometry.h"

#include <algorithm>
#include <optional>

namespace zelk {
namespace {

constexpr double kSmallestMargin = 18;   // points
constexpr double kDefaultMargin = 72;    // points, a page without text
constexpr double kLargestMarginShare = 0.25;
// Side-by-side blocks must overlap by this share of the shorter one's height.
constexpr double kBesideOverlapShare = 0.5;
// Columns must run over at least this share of the text's height.
constexpr double kColumnHeightShare = 0.4;
constexpr int kMostColumns = 6;
constexpr std::size_t kTableColumnLines = 4;

int Height(const TextBox& box) { return box.bottom - box.top; }

std::optional<TextBox> TextBounds(const PageLayout& page) {
  std::optional<TextBox> bounds;
  for (const LayoutBlock& block : page.blocks) {
    if (!HoldsText(block)) continue;
    if (!bounds) {
      bounds = block.box;
      continue;
    }
    bounds->left = std::min(bounds->left, block.box.left);
    bounds->top = std::min(bounds->top, block.box.top);
    bounds->right = std::max(bounds->right, block.box.right);
    bounds->bottom = std::max(bounds->bottom, block.box.bottom);
  }
  return bounds;
}

double ClampMargin(double margin, double pageLength) {
  return std::clamp(margin, kSmallestMargin, std::max(kSmallestMargin, pageLength * kLargestMarginShare));
}

bool Beside(const TextBox& a, const TextBox& b) {
  const bool apartInWidth = a.right <= b.left || b.right <= a.left;
  const int overlap = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return apartInWidth && overlap > 0 && overlap >= kBesideOverlapShare * std::min(Height(a), Height(b));
}

std::size_t LineCount(const LayoutBlock& block) {
  std::size_t lines = 0;
  for (const LayoutParagraph& paragraph : block.paragraphs) lines += paragraph.lines.size();
  return lines;
}

// Headings lie across columns or inside one.  The recogniser takes a column
// of short lines (Chinese text often) for a table, so a table block of many
// lines counts as a column; a few-line table block is a cell of a grid.
bool TakesPartInColumns(const LayoutBlock& block) {
  if (!HoldsText(block) || block.kind == BlockKind::Heading) return false;
  return block.kind != BlockKind::Table || LineCount(block) >= kTableColumnLines;
}

// A column's blocks without a neighbour beside them (a wide paragraph below
// the end of the next column) widen the column's band, as far as it stays
// clear of its neighbours; blocks that stand in more than one band, or in
// none, leave the bands alone.
void WidenByTheirOtherBlocks(std::vector<TextBox>& bands, const std::vector<TextBox>& blocks) {
  for (const TextBox& box : blocks) {
    std::size_t overlapped = 0;
    std::size_t column = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
      if (box.left < bands[i].right && box.right > bands[i].left) {
        ++overlapped;
        column = i;
      }
    }
    if (overlapped != 1) continue;
    const int left = std::min(bands[column].left, box.left);
    const int right = std::max(bands[column].right, box.right);
    const bool clear = (column == 0 || left > bands[column - 1].right) &&
                       (column + 1 == bands.size() || right < bands[column + 1].left);
    if (clear) {
      bands[column].left = left;
      bands[column].right = right;
    }
  }
}

// A page of text set in columns is laid out in a frame turned a quarter
// counter-clockwise, where its columns are lines: the paper is that frame
// turned back, its top margin the frame's left one, and so on round.
void TurnToPaper(WordSection& section) {
  std::swap(section.pageWidth, section.pageHeight);
  const double left = section.marginLeft, top = section.marginTop;
  section.marginLeft = section.marginBottom;
  section.marginBottom = section.marginRight;
  section.marginRight = top;
  section.marginTop = left;
}

}  // namespace

bool HoldsText(const LayoutBlock& block) {
  if (block.kind == BlockKind::Image) return !block.picture.data.empty();
  return block.kind != BlockKind::Separator && !block.paragraphs.empty();
}

void SetPageGeometry(const PageLayout& page, WordSection& section) {
  const PointScale points(page.dpi);
  if (page.width > 0 && page.height > 0) {
    section.pageWidth = points(page.width);
    section.pageHeight = points(page.height);
  }
  const std::optional<TextBox> text = TextBounds(page);
  if (!text || page.width <= 0 || page.height <= 0) {
    section.marginLeft = section.marginRight = ClampMargin(kDefaultMargin, section.pageWidth);
    section.marginTop = section.marginBottom = ClampMargin(kDefaultMargin, section.pageHeight);
    return;
  }
  section.marginLeft = ClampMargin(points(text->left), section.pageWidth);
  section.marginRight = ClampMargin(points(page.width - text->right), section.pageWidth);
  section.marginTop = ClampMargin(points(text->top), section.pageHeight);
  section.marginBottom = ClampMargin(points(page.height - text->bottom), section.pageHeight);
  if (page.frame.columns) TurnToPaper(section);
}

void LeaveRoomBelowText(WordSection& section, double room) {
  section.marginBottom = std::min(section.marginBottom, std::max(kSmallestMargin, section.marginBottom - room));
}

ColumnLayout DetectColumns(const PageLayout& page) {
  std::vector<TextBox> candidates;
  for (const LayoutBlock& block : page.blocks) {
    if (TakesPartInColumns(block)) candidates.push_back(block.box);
  }
  std::vector<TextBox> beside;
  for (const TextBox& box : candidates) {
    const bool hasNeighbour = std::any_of(candidates.begin(), candidates.end(),
                                          [&](const TextBox& other) { return Beside(box, other); });
    if (hasNeighbour) beside.push_back(box);
  }
  const std::optional<TextBox> text = TextBounds(page);
  if (beside.empty() || !text) return {};

  // Bands: the horizontal extents of the side-by-side blocks, merged where
  // they overlap.
  std::sort(beside.begin(), beside.end(),
            [](const TextBox& a, const TextBox& b) { return a.left < b.left; });
  std::vector<TextBox> bands;
  for (const TextBox& box : beside) {
    if (!bands.empty() && box.left < bands.back().right) {
      TextBox& band = bands.back();
      band.right = std::max(band.right, box.right);
      band.top = std::min(band.top, box.top);
      band.bottom = std::max(band.bottom, box.bottom);
    } else {
      bands.push_back(box);
    }
  }
  if (bands.size() < 2 || bands.size() > static_cast<std::size_t>(kMostColumns)) return {};
  WidenByTheirOtherBlocks(bands, candidates);
  int top = bands.front().top;
  int bottom = bands.front().bottom;
  ColumnLayout layout{static_cast<int>(bands.size()), bands[1].left - bands[0].right, {}, {}};
  for (std::size_t i = 0; i < bands.size(); ++i) {
    top = std::min(top, bands[i].top);
    bottom = std::max(bottom, bands[i].bottom);
    layout.extents.push_back(ColumnExtent{bands[i].left, bands[i].right});
    if (i == 0) continue;
    layout.gap = std::min(layout.gap, bands[i].left - bands[i - 1].right);
    layout.gutters.push_back(Gutter{bands[i - 1].right, bands[i].left});
  }
  if (bottom - top < kColumnHeightShare * Height(*text)) return {};
  return layout;
}

int ColumnOf(const TextBox& box, const std::vector<ColumnExtent>& columns) {
  // The overlap in width; where there is none, the distance, negative.
  auto overlap = [&](const ColumnExtent& column) {
    return std::min(box.right, column.right) - std::max(box.left, column.left);
  };
  std::size_t best = 0;
  for (std::size_t i = 1; i < columns.size(); ++i) {
    if (overlap(columns[i]) > overlap(columns[best])) best = i;
  }
  return static_cast<int>(best);
}

std::vector<ColumnExtent> MeasuredColumns(const std::vector<LayoutBlock>& blocks,
                                          const std::vector<std::size_t>& members,
                                          const ColumnLayout& columns) {
  if (columns.extents.size() < 2) return {};
  std::vector<std::optional<ColumnExtent>> measured(columns.extents.size());
  for (std::size_t index : members) {
    const LayoutBlock& block = blocks[index];
    if (!HoldsText(block)) continue;
    std::optional<ColumnExtent>& column = measured[ColumnOf(block.box, columns.extents)];
    if (!column) {
      column = ColumnExtent{block.box.left, block.box.right};
    } else {
      column->left = std::min(column->left, block.box.left);
      column->right = std::max(column->right, block.box.right);
    }
  }
  std::vector<ColumnExtent> extents;
  for (std::size_t i = 0; i < measured.size(); ++i) extents.push_back(measured[i].value_or(columns.extents[i]));
  return extents;
}

}  // namespace zelk
