#include "ocr/PageRegions.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <algorithm>

#include "ocr/Median.h"
#include "ocr/PictureRegions.h"
#include "ocr/TesseractLayout.h"

namespace zelk {
namespace {

bool Within(const TextBox& inner, const TextBox& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Inside(const TextBox& inner, const TextBox& outer) {
  const int x = (inner.left + inner.right) / 2, y = (inner.top + inner.bottom) / 2;
  return x >= outer.left && x < outer.right && y >= outer.top && y < outer.bottom;
}

void Grow(TextBox& box, const TextBox& more) {
  box.left = std::min(box.left, more.left);
  box.top = std::min(box.top, more.top);
  box.right = std::max(box.right, more.right);
  box.bottom = std::max(box.bottom, more.bottom);
}

// The text of the cell's inside, read as one block.
std::vector<LayoutParagraph> ReadCell(tesseract::TessBaseAPI& api, const TextBox& box, int width, int height,
                                      int dpi) {
  std::vector<LayoutParagraph> paragraphs;
  if (box.right - box.left < 4 || box.bottom - box.top < 4) return paragraphs;
  for (LayoutBlock& block : ReadRectangle(api, box, width, height, dpi).blocks) {
    for (LayoutParagraph& paragraph : block.paragraphs) paragraphs.push_back(std::move(paragraph));
  }
  return paragraphs;
}

// One row of a table as one line: the words of the cells that start in
// it, left to right, a blank between cells, on the baseline and in the
// height of the row's own cells (cells joined down over the rows below
// count only where the row has no others).  Text extraction orders lines
// by their baselines; a joined cell's text, half way down its rows, would
// otherwise be read apart from its row.
LayoutLine RowLine(const std::vector<LayoutCell>& cells, int row) {
  LayoutLine line;
  std::vector<const LayoutLine*> own, joined;
  for (const LayoutCell& cell : cells) {
    if (cell.row != row || cell.paragraphs.empty()) continue;
    if (!line.words.empty()) line.words.back().spaceAfter = true;
    for (const LayoutParagraph& paragraph : cell.paragraphs) {
      for (const LayoutLine& part : paragraph.lines) {
        (cell.rowSpan == 1 ? own : joined).push_back(&part);
        line.fontSize = std::max(line.fontSize, part.fontSize);
        line.words.insert(line.words.end(), part.words.begin(), part.words.end());
      }
    }
  }
  if (line.words.empty()) return line;
  if (own.empty()) own = joined;
  std::vector<int> baselines;
  line.box = own.front()->box;
  for (const LayoutLine* part : own) {
    Grow(line.box, part->box);
    baselines.push_back(part->baseline);
  }
  for (const LayoutWord& word : line.words) {
    line.box.left = std::min(line.box.left, word.box.left);
    line.box.right = std::max(line.box.right, word.box.right);
  }
  line.baseline = Median(std::move(baselines));
  return line;
}

// The table's block: its cells read one by one, and a paragraph per row
// holding that row as one line.
LayoutBlock TableBlock(tesseract::TessBaseAPI& api, const RuledTable& table, int width, int height, int dpi) {
  LayoutBlock block;
  block.kind = BlockKind::Table;
  block.box = table.Box();
  block.table.columnRules = table.columnRules;
  block.table.rowRules = table.rowRules;
  for (const RuledCell& ruled : table.cells) {
    LayoutCell cell{ruled.row, ruled.column, ruled.rowSpan, ruled.columnSpan, table.Inside(ruled), {}};
    cell.paragraphs = ReadCell(api, cell.box, width, height, dpi);
    block.table.cells.push_back(std::move(cell));
  }
  for (int row = 0; row < block.table.Rows(); ++row) {
    LayoutLine line = RowLine(block.table.cells, row);
    if (line.words.empty()) continue;
    LayoutParagraph paragraph;
    paragraph.box = line.box;
    paragraph.lines.push_back(std::move(line));
    block.paragraphs.push_back(std::move(paragraph));
  }
  return block;
}

void InsertAtPlace(std::vector<LayoutBlock>& blocks, LayoutBlock block) {
  const auto below = std::find_if(blocks.begin(), blocks.end(),
                                  [&](const LayoutBlock& other) { return other.box.top >= block.box.top; });
  blocks.insert(below, std::move(block));
}

// The most common grey level of an 8-bit page: its paper.
int PaperGrey(Pix* grey) {
  NUMA* histogram = pixGetGrayHistogram(grey, 4);
  if (!histogram) return 255;
  l_float32 value = 255;
  l_int32 level = 255;
  numaGetMax(histogram, &value, &level);
  numaDestroy(&histogram);
  return level;
}

}  // namespace

PageRegions FindPageRegions(const Pix* image, int dpi) {
  PageRegions regions;
  regions.tables = FindRuledTables(image, dpi);
  for (const TextBox& picture : FindPictureRegions(image, dpi)) {
    const bool inTable = std::any_of(regions.tables.begin(), regions.tables.end(),
                                     [&](const RuledTable& table) { return Inside(picture, table.Box()); });
    if (!inTable) regions.pictures.push_back(picture);
  }
  return regions;
}

PixPtr WithoutRegions(const Pix* image, const PageRegions& regions) {
  if (regions.Empty()) return nullptr;
  PixPtr copy(pixCopy(nullptr, image));
  if (!copy) return nullptr;
  std::vector<TextBox> boxes = regions.pictures;
  for (const RuledTable& table : regions.tables) {
    TextBox box = table.Box();
    box.left -= table.ruleWidth;
    box.top -= table.ruleWidth;
    box.right += table.ruleWidth;
    box.bottom += table.ruleWidth;
    boxes.push_back(box);
  }
  // Paper is 0 in a bitonal image.  A grey one is painted in its paper's
  // own grey: white boxes on the flattened page's paper would split its
  // grey levels in two, and Tesseract's threshold would then take all the
  // paper for ink.
  const int paper = pixGetDepth(copy.get()) == 1 ? 0 : PaperGrey(copy.get());
  for (const TextBox& box : boxes) {
    BOX* rect = boxCreate(box.left, box.top, box.right - box.left, box.bottom - box.top);
    pixSetInRectArbitrary(copy.get(), rect, static_cast<l_uint32>(paper));
    boxDestroy(&rect);
  }
  return copy;
}

void AddRegionBlocks(tesseract::TessBaseAPI& api, const Pix* image, int dpi, const PageRegions& regions,
                     PageLayout& layout) {
  if (regions.Empty()) return;
  // What Tesseract still found inside a region (a picture's own Image
  // blocks, a table's frame) gives way to the region.
  std::erase_if(layout.blocks, [&](const LayoutBlock& block) {
    return std::any_of(regions.pictures.begin(), regions.pictures.end(),
                       [&](const TextBox& picture) { return Within(block.box, picture); }) ||
           std::any_of(regions.tables.begin(), regions.tables.end(),
                       [&](const RuledTable& table) { return Within(block.box, table.Box()); });
  });
  for (const TextBox& picture : regions.pictures) InsertAtPlace(layout.blocks, LayoutBlock{BlockKind::Image, picture, {}});
  if (regions.tables.empty()) return;
  api.SetImage(const_cast<Pix*>(image));
  api.SetSourceResolution(dpi);
  const tesseract::PageSegMode mode = api.GetPageSegMode();
  api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
  const int width = pixGetWidth(image), height = pixGetHeight(image);
  for (const RuledTable& table : regions.tables) {
    InsertAtPlace(layout.blocks, TableBlock(api, table, width, height, dpi));
  }
  api.SetPageSegMode(mode);
  api.Clear();
}

}  // namespace zelk
