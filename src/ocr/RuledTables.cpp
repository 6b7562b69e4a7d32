#include "ocr/RuledTables.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <numeric>

#include "ocr/ConnectedBoxes.h"

namespace zelk {
namespace {

// Shortest stroke taken for a rule, in inches: longer than any stroke of
// a character, shorter than the narrowest column.
constexpr double kShortestRule = 0.3;
// Thickest stroke taken for a rule, in inches; a solid dark area (a
// photograph, a black bar) is thicker.
constexpr double kThickestRule = 0.03;
// Least size of a table, in inches.
constexpr double kNarrowestTable = 1.0;
constexpr double kLowestTable = 0.25;
// Share of a cell's side a rule must cover to divide two cells.
constexpr double kDividingCover = 0.6;
// Share of the table's side its frame must cover.
constexpr double kFrameCover = 0.9;

// A stroke: where it lies across (its middle) and the stretch it covers along.
struct Stroke {
  int across = 0;
  int from = 0;
  int to = 0;  // exclusive
  int thickness = 0;
};

PixPtr Binary(const Pix* image) {
  Pix* source = const_cast<Pix*>(image);
  if (pixGetDepth(source) == 1) return PixPtr(pixClone(source));
  PixPtr grey(pixConvertTo8(source, 0));
  if (!grey) return nullptr;
  return PixPtr(pixThresholdToBinary(grey.get(), 160));
}

// The thin strokes of the opened image; `horizontal` strokes run across.
std::vector<Stroke> Strokes(Pix* opened, bool horizontal, int longest, int thickest) {
  std::vector<Stroke> strokes;
  for (const TextBox& box : ConnectedBoxes(opened)) {
    const int x = box.left, y = box.top, w = box.right - box.left, h = box.bottom - box.top;
    const int length = horizontal ? w : h;
    const int thickness = horizontal ? h : w;
    if (length < longest || thickness > thickest) continue;
    strokes.push_back(horizontal ? Stroke{y + h / 2, x, x + w, h} : Stroke{x + w / 2, y, y + h, w});
  }
  return strokes;
}

bool Overlaps(const Stroke& stroke, bool horizontal, const TextBox& box) {
  const int across0 = horizontal ? box.top : box.left;
  const int across1 = horizontal ? box.bottom : box.right;
  const int along0 = horizontal ? box.left : box.top;
  const int along1 = horizontal ? box.right : box.bottom;
  return stroke.across >= across0 && stroke.across <= across1 && stroke.from < along1 && stroke.to > along0;
}

// The lengths of [from, to) the strokes near `across` cover.
int Cover(const std::vector<Stroke>& strokes, int across, int from, int to, int tolerance) {
  std::vector<std::pair<int, int>> pieces;
  for (const Stroke& stroke : strokes) {
    if (std::abs(stroke.across - across) > tolerance) continue;
    const int a = std::max(stroke.from, from), b = std::min(stroke.to, to);
    if (a < b) pieces.emplace_back(a, b);
  }
  std::sort(pieces.begin(), pieces.end());
  int covered = 0, reached = from;
  for (const auto& [a, b] : pieces) {
    if (b <= reached) continue;
    covered += b - std::max(a, reached);
    reached = b;
  }
  return covered;
}

// The positions of the rules: strokes whose middles lie within `tolerance`
// of each other are one rule.
std::vector<int> RulePositions(std::vector<Stroke> strokes, int tolerance) {
  std::sort(strokes.begin(), strokes.end(), [](const Stroke& a, const Stroke& b) { return a.across < b.across; });
  std::vector<int> positions;
  int last = 0;
  for (const Stroke& stroke : strokes) {
    if (positions.empty() || stroke.across - last > tolerance) positions.push_back(stroke.across);
    last = stroke.across;
  }
  return positions;
}

// Cells joined wherever no rule divides them, each join grown to a
// rectangle of grid cells.
std::vector<RuledCell> Cells(const std::vector<int>& columns, const std::vector<int>& rows,
                             const std::vector<Stroke>& horizontal, const std::vector<Stroke>& vertical,
                             int tolerance) {
  const int columnCount = static_cast<int>(columns.size()) - 1;
  const int rowCount = static_cast<int>(rows.size()) - 1;
  std::vector<int> group(static_cast<std::size_t>(columnCount * rowCount));
  std::iota(group.begin(), group.end(), 0);
  const auto find = [&](int i) {
    while (group[i] != i) i = group[i] = group[group[i]];
    return i;
  };
  const auto join = [&](int a, int b) { group[find(a)] = find(b); };
  for (int r = 0; r < rowCount; ++r) {
    for (int c = 0; c < columnCount; ++c) {
      const int cell = r * columnCount + c;
      if (c + 1 < columnCount) {
        const int span = rows[r + 1] - rows[r];
        if (Cover(vertical, columns[c + 1], rows[r], rows[r + 1], tolerance) < kDividingCover * span) {
          join(cell, cell + 1);
        }
      }
      if (r + 1 < rowCount) {
        const int span = columns[c + 1] - columns[c];
        if (Cover(horizontal, rows[r + 1], columns[c], columns[c + 1], tolerance) < kDividingCover * span) {
          join(cell, cell + columnCount);
        }
      }
    }
  }
  // Grow every group to its bounding rectangle until none overlaps another.
  for (bool changed = true; changed;) {
    changed = false;
    std::vector<RuledCell> extent(group.size(), RuledCell{rowCount, columnCount, 0, 0});
    for (int i = 0; i < rowCount * columnCount; ++i) {
      RuledCell& e = extent[find(i)];
      e.row = std::min(e.row, i / columnCount);
      e.column = std::min(e.column, i % columnCount);
      e.rowSpan = std::max(e.rowSpan, i / columnCount + 1);        // last row + 1 for now
      e.columnSpan = std::max(e.columnSpan, i % columnCount + 1);  // last column + 1
    }
    for (int i = 0; i < rowCount * columnCount; ++i) {
      const RuledCell& e = extent[find(i)];
      for (int r = e.row; r < e.rowSpan; ++r) {
        for (int c = e.column; c < e.columnSpan; ++c) {
          if (find(r * columnCount + c) != find(i)) {
            join(r * columnCount + c, i);
            changed = true;
          }
        }
      }
    }
  }
  std::vector<RuledCell> cells;
  for (int i = 0; i < rowCount * columnCount; ++i) {
    if (std::any_of(cells.begin(), cells.end(),
                    [&](const RuledCell& c) { return find(c.row * columnCount + c.column) == find(i); })) {
      continue;
    }
    RuledCell cell{i / columnCount, i % columnCount, 1, 1};
    while (cell.row + cell.rowSpan < rowCount && find((cell.row + cell.rowSpan) * columnCount + cell.column) == find(i)) {
      ++cell.rowSpan;
    }
    while (cell.column + cell.columnSpan < columnCount && find(cell.row * columnCount + cell.column + cell.columnSpan) == find(i)) {
      ++cell.columnSpan;
    }
    cells.push_back(cell);
  }
  return cells;
}

}  // namespace

TextBox RuledTable::Inside(const RuledCell& cell) const {
  const int margin = ruleWidth + 2;
  return TextBox{columnRules[cell.column] + margin, rowRules[cell.row] + margin,
                 columnRules[cell.column + cell.columnSpan] - margin, rowRules[cell.row + cell.rowSpan] - margin};
}

std::vector<RuledTable> FindRuledTables(const Pix* image, int dpi) {
  std::vector<RuledTable> tables;
  PixPtr binary = Binary(image);
  if (!binary || dpi <= 0) return tables;
  // Rules survive a halving that keeps any dark pixel; the openings then
  // cost a quarter.
  const int scale = dpi >= 200 ? 2 : 1;
  PixPtr reduced(scale == 2 ? pixReduceRankBinary2(binary.get(), 1, nullptr) : pixClone(binary.get()));
  if (!reduced) return tables;
  const double perInch = static_cast<double>(dpi) / scale;
  const int shortest = std::max(8, static_cast<int>(kShortestRule * perInch));
  const int thickest = std::max(2, static_cast<int>(kThickestRule * perInch));
  PixPtr across(pixOpenCompBrick(nullptr, reduced.get(), shortest, 1));
  PixPtr down(pixOpenCompBrick(nullptr, reduced.get(), 1, shortest));
  if (!across || !down) return tables;
  const std::vector<Stroke> horizontal = Strokes(across.get(), true, shortest, thickest);
  const std::vector<Stroke> vertical = Strokes(down.get(), false, shortest, thickest);
  if (horizontal.size() < 2 || vertical.size() < 2) return tables;

  // Frames: the strokes drawn together, taken apart by what touches.
  PixPtr strokes(pixCreate(pixGetWidth(reduced.get()), pixGetHeight(reduced.get()), 1));
  for (const Stroke& s : horizontal) pixRasterop(strokes.get(), s.from, s.across - s.thickness / 2, s.to - s.from, std::max(1, s.thickness), PIX_SET, nullptr, 0, 0);
  for (const Stroke& s : vertical) pixRasterop(strokes.get(), s.across - s.thickness / 2, s.from, std::max(1, s.thickness), s.to - s.from, PIX_SET, nullptr, 0, 0);
  const int tolerance = std::max(2, thickest);
  for (const TextBox& found : ConnectedBoxes(strokes.get())) {
    const int x = found.left, y = found.top, w = found.right - found.left, h = found.bottom - found.top;
    if (w < kNarrowestTable * perInch || h < kLowestTable * perInch) continue;
    const TextBox frame{x - tolerance, y - tolerance, x + w + tolerance, y + h + tolerance};
    std::vector<Stroke> rowStrokes, columnStrokes;
    for (const Stroke& s : horizontal) if (Overlaps(s, true, frame)) rowStrokes.push_back(s);
    for (const Stroke& s : vertical) if (Overlaps(s, false, frame)) columnStrokes.push_back(s);
    const std::vector<int> rows = RulePositions(rowStrokes, tolerance);
    const std::vector<int> columns = RulePositions(columnStrokes, tolerance);
    if (rows.size() < 2 || columns.size() < 2 || (rows.size() < 3 && columns.size() < 3)) continue;
    const int width = columns.back() - columns.front(), height = rows.back() - rows.front();
    const bool framed =
        Cover(rowStrokes, rows.front(), columns.front(), columns.back(), tolerance) >= kFrameCover * width &&
        Cover(rowStrokes, rows.back(), columns.front(), columns.back(), tolerance) >= kFrameCover * width &&
        Cover(columnStrokes, columns.front(), rows.front(), rows.back(), tolerance) >= kFrameCover * height &&
        Cover(columnStrokes, columns.back(), rows.front(), rows.back(), tolerance) >= kFrameCover * height;
    if (!framed) continue;
    RuledTable table;
    table.cells = Cells(columns, rows, rowStrokes, columnStrokes, tolerance);
    int thickness = 1;
    for (const Stroke& s : rowStrokes) thickness = std::max(thickness, s.thickness);
    for (const Stroke& s : columnStrokes) thickness = std::max(thickness, s.thickness);
    table.ruleWidth = thickness * scale;
    for (int column : columns) table.columnRules.push_back(column * scale + scale / 2);
    for (int row : rows) table.rowRules.push_back(row * scale + scale / 2);
    tables.push_back(std::move(table));
  }
  std::sort(tables.begin(), tables.end(),
            [](const RuledTable& a, const RuledTable& b) { return a.rowRules.front() < b.rowRules.front(); });
  return tables;
}

}  // namespace zelk
